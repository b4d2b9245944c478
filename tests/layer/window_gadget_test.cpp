// Gadgets: the demo's layout, containers and nesting, buttons, the table.
#include <string>

#include "window_support.h"

namespace {

using GadgetTest = WindowLayerTest;

std::string TextOf(HWND window) {
    char text[128] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

TEST_F(GadgetTest, DemoLayout) {
    HWND window = OpenDemoLayout();
    EXPECT_EQ(GadgetParent, window);
    EXPECT_EQ(ParentStackDepth, 0);
    ASSERT_NE(container, nullptr);
    EXPECT_EQ(GetParent(container), window);
    EXPECT_EQ(GetWindowLongA(container, GWL_ID), 4);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(container, GWL_STYLE)) & (WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER),
              static_cast<DWORD>(WS_CHILD | WS_VISIBLE));
    RECT r;
    GetClientRect(container, &r);
    EXPECT_EQ(r.right, 600);
    EXPECT_EQ(r.bottom, 580);
    int inside = 0;
    EnumChildWindows(container, CountChild, reinterpret_cast<LPARAM>(&inside));
    EXPECT_EQ(inside, 0);
    const char* texts[3] = {"Boom", "Booo...m", "Delete all Particle"};
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(buttons[i], nullptr);
        EXPECT_EQ(GetParent(buttons[i]), window);
        EXPECT_EQ(GetWindowLongA(buttons[i], GWL_ID), i);
        EXPECT_EQ(TextOf(buttons[i]), texts[i]);
        EXPECT_EQ(GadgetTable.entries[i].handle, buttons[i]);
        EXPECT_EQ(GadgetTable.entries[i].kind, GadgetKindButton);
        EXPECT_NE(GadgetTable.entries[i].previousProc, nullptr);
        EXPECT_EQ(GetWindowLongPtrA(buttons[i], GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(GadgetSubclassProc));
        EXPECT_EQ(SendMessageA(buttons[i], WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)));
        POINT corner{0, 0};
        ClientToScreen(buttons[i], &corner);
        ScreenToClient(window, &corner);
        EXPECT_EQ(corner.x, 200 * i);
        EXPECT_EQ(corner.y, 580);
        GetClientRect(buttons[i], &r);
        EXPECT_EQ(r.right, 200);
        EXPECT_EQ(r.bottom, 20);
    }
    const DWORD toggle = static_cast<DWORD>(GetWindowLongA(buttons[1], GWL_STYLE));
    EXPECT_EQ(toggle & 0xF, static_cast<DWORD>(BS_AUTOCHECKBOX));
    EXPECT_EQ(toggle & BS_PUSHLIKE, static_cast<DWORD>(BS_PUSHLIKE));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(buttons[0], GWL_STYLE)) & 0x50030000u, 0x50030000u);
    EXPECT_EQ(GadgetTable.entries[4].kind, GadgetKindContainer);
    char name[64] = {};
    GetClassNameA(container, name, sizeof name);
    EXPECT_STREQ(name, ContainerClassName);
}

TEST_F(GadgetTest, ListCloseWithEmptyStackKeepsTheParent) {
    HWND window = WindowOpen(0, 0, 0, 100, 100, 0, "");
    GadgetListOpen(window);
    GadgetListClose();
    EXPECT_EQ(GadgetParent, window);
    EXPECT_EQ(ParentStackDepth, 0);
}

TEST_F(GadgetTest, ContainerCreatedAgainReplacesTheFirstWithItsContents) {
    HWND window = WindowOpen(0, 0, 0, 300, 300, 0, "");
    GadgetListOpen(window);
    HWND first = ContainerCreate(4, 0, 0, 200, 200);
    HWND inner = ButtonCreate(9, 0, 0, 50, 20, "inner");
    ASSERT_EQ(GetParent(inner), first);
    GadgetListClose();
    HWND second = ContainerCreate(4, 10, 10, 100, 100);
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_FALSE(IsWindow(inner));
    EXPECT_EQ(GadgetTable.entries[9].handle, nullptr);
    EXPECT_EQ(GadgetTable.entries[4].handle, second);
    EXPECT_EQ(GetParent(second), window);
    GadgetListClose();
    EXPECT_EQ(GadgetParent, window);
}

struct BorderCase {
    int32_t flags;
    DWORD style;
    DWORD exStyle;
};

class ContainerBorderTest : public WindowLayerTest, public ::testing::WithParamInterface<BorderCase> {};

TEST_P(ContainerBorderTest, FirstMatchingFlagDecides) {
    const BorderCase c = GetParam();
    HWND window = WindowOpen(0, 0, 0, 300, 300, 0, "");
    GadgetListOpen(window);
    HWND box = ContainerCreate(5, 0, 0, 100, 100, c.flags);
    ASSERT_NE(box, nullptr);
    const DWORD style = static_cast<DWORD>(GetWindowLongA(box, GWL_STYLE));
    const DWORD ex = static_cast<DWORD>(GetWindowLongA(box, GWL_EXSTYLE));
    EXPECT_EQ(style & (WS_BORDER | WS_DLGFRAME), c.style);
    EXPECT_EQ(ex & (WS_EX_STATICEDGE | WS_EX_CLIENTEDGE), c.exStyle);
}

INSTANTIATE_TEST_SUITE_P(Borders, ContainerBorderTest,
                         ::testing::Values(BorderCase{0, 0, 0}, BorderCase{1, WS_BORDER, 0}, BorderCase{3, WS_BORDER, 0},
                                           BorderCase{2, WS_DLGFRAME, 0}, BorderCase{4, 0, WS_EX_STATICEDGE},
                                           BorderCase{12, 0, WS_EX_STATICEDGE}, BorderCase{8, 0, WS_EX_CLIENTEDGE},
                                           BorderCase{16, 0, 0}));

TEST_F(GadgetTest, TableGrowsAndKeepsEarlierGadgets) {
    HWND window = WindowOpen(0, 0, 0, 300, 300, 0, "");
    GadgetListOpen(window);
    std::vector<HWND> made;
    for (int n = 0; n < 30; ++n) made.push_back(ButtonCreate(n, 0, 0, 10, 10, "b"));
    EXPECT_EQ(GadgetTable.capacity, 30);
    HWND thirty = ButtonCreate(30, 0, 0, 10, 10, "30");
    EXPECT_EQ(GadgetTable.capacity, 60);
    EXPECT_GE(HeapSize(MainHeap, 0, GadgetTable.entries), sizeof(GadgetEntry) * 62);
    for (int n = 0; n < 30; ++n) EXPECT_EQ(GadgetTable.entries[n].handle, made[static_cast<size_t>(n)]);
    EXPECT_EQ(GadgetTable.entries[30].handle, thirty);
    for (int n = 31; n < 62; ++n) EXPECT_EQ(GadgetTable.entries[n].handle, nullptr);
}

TEST_F(GadgetTest, ButtonNumberReusedInAnotherWindowReplacesIt) {
    HWND a = WindowOpen(0, 0, 0, 100, 100, 0, "");
    HWND b = WindowOpen(1, 0, 0, 100, 100, 0, "");
    GadgetListOpen(a);
    HWND first = ButtonCreate(3, 0, 0, 50, 20, "first");
    GadgetListOpen(b);
    HWND second = ButtonCreate(3, 0, 0, 50, 20, "second");
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(GetParent(second), b);
    EXPECT_EQ(GadgetTable.entries[3].handle, second);
}

TEST_F(GadgetTest, DestroyingAGadgetWindowFreesItsNumber) {
    OpenDemoLayout();
    ASSERT_TRUE(DestroyWindow(buttons[2]));
    EXPECT_EQ(GadgetTable.entries[2].handle, nullptr);
    EXPECT_NE(GadgetTable.entries[1].handle, nullptr);
    WindowClose(0);  // the rest go with their window
    for (int n : {0, 1, 4}) EXPECT_EQ(GadgetTable.entries[n].handle, nullptr) << n;
}

TEST_F(GadgetTest, NestingStopsAtTheStackWithoutCreatingAnything) {
    HWND window = WindowOpen(0, 0, 0, 300, 300, 0, "");
    GadgetListOpen(window);
    HWND parent = window;
    for (int level = 0; level < ParentStackSize; ++level) {
        HWND box = ContainerCreate(100 + level, 0, 0, 200, 200);
        ASSERT_NE(box, nullptr) << level;
        EXPECT_EQ(GetParent(box), parent);
        parent = box;
    }
    EXPECT_EQ(ParentStackDepth, ParentStackSize);
    const int32_t capacity = GadgetTable.capacity;
    EXPECT_EQ(ContainerCreate(200, 0, 0, 10, 10), nullptr);
    EXPECT_EQ(GadgetParent, parent);
    EXPECT_EQ(ParentStackDepth, ParentStackSize);
    EXPECT_EQ(GadgetTable.capacity, capacity);
    // A button still fits: buttons do not nest.
    EXPECT_NE(ButtonCreate(1, 0, 0, 10, 10, "deep"), nullptr);
    for (int level = 0; level < ParentStackSize; ++level) GadgetListClose();
    EXPECT_EQ(GadgetParent, window);
}

}  // namespace
