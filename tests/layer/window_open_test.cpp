// Windows of the layer: opening with the flag rules, placement and size,
// the numbered table and its growth, titles, closing, the object lists.
#include <cstring>
#include <string>

#include "window_support.h"

namespace {

std::string ClassOf(HWND window) {
    char name[128] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TitleOf(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

using WindowOpenTest = WindowLayerTest;

TEST_F(WindowOpenTest, DemoWindowHasExactClientAreaCentredOnTheScreen) {
    HWND window = WindowOpen(0, 0, 0, 600, 600, 0xCA0001, "");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowHandle(0), window);
    EXPECT_TRUE(IsWindowVisible(window));
    RECT client;
    ASSERT_TRUE(GetClientRect(window, &client));
    EXPECT_EQ(client.right - client.left, 600);
    EXPECT_EQ(client.bottom - client.top, 600);
    RECT outer;
    ASSERT_TRUE(GetWindowRect(window, &outer));
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    const int ow = outer.right - outer.left, oh = outer.bottom - outer.top;
    EXPECT_EQ(outer.left, (sw >> 1) - (std::min(ow, sw) >> 1));
    EXPECT_EQ(outer.top, (sh >> 1) - (std::min(oh, sh) >> 1));
    EXPECT_EQ(TitleOf(window), "");
    EXPECT_EQ(ClassOf(window), "WindowClass_0");
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    for (DWORD bit : {WS_VISIBLE, WS_CAPTION, WS_SYSMENU, WS_MINIMIZEBOX}) EXPECT_EQ(style & bit, bit) << std::hex << bit;
    for (DWORD bit : {WS_THICKFRAME, WS_MAXIMIZEBOX, WS_CHILD}) EXPECT_EQ(style & bit, 0u) << std::hex << bit;
    EXPECT_EQ(WindowTable.entries[0].acceleratorCount, 2);
    ASSERT_NE(WindowTable.entries[0].accelerators, nullptr);
    EXPECT_EQ(WindowTable.entries[0].accelerators[0].key, VK_TAB);
    EXPECT_EQ(WindowTable.entries[0].accelerators[0].cmd, CommandFocusNext);
    EXPECT_EQ(WindowTable.entries[0].accelerators[1].fVirt, FVIRTKEY | FNOINVERT | FSHIFT);
    EXPECT_EQ(WindowTable.entries[0].accelerators[1].cmd, CommandFocusPrevious);
    EXPECT_NE(WindowTable.entries[0].acceleratorTable, nullptr);
}

struct FlagCase {
    DWORD flags;
    bool visible;
    bool caption;
    bool atGivenPoint;
};

class WindowFlagTest : public WindowLayerTest, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(WindowFlagTest, FlagsGiveStyleAndPlacement) {
    const FlagCase c = GetParam();
    HWND window = WindowOpen(3, 40, 50, 200, 100, c.flags, "flags");
    ASSERT_NE(window, nullptr);
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    EXPECT_EQ(IsWindowVisible(window) != 0, c.visible);
    EXPECT_EQ((style & WS_CAPTION) == WS_CAPTION, c.caption);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 100);
    if (c.atGivenPoint) {
        RECT outer;
        GetWindowRect(window, &outer);
        EXPECT_EQ(outer.left, 40);  // the outer corner, not the adjusted one
        EXPECT_EQ(outer.top, 50);
    }
}

INSTANTIATE_TEST_SUITE_P(Flags, WindowFlagTest,
                         ::testing::Values(FlagCase{0, true, true, true}, FlagCase{0x10000000, false, true, true},
                                           FlagCase{WS_CAPTION | WS_SYSMENU, true, true, true},
                                           FlagCase{0x10000000 | WS_CAPTION, false, true, true},
                                           FlagCase{0xCA0001, true, true, false}, FlagCase{WS_POPUP, true, false, true}));

TEST_F(WindowOpenTest, OversizedWindowCentredOnTheScreenLandsAtZero) {
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    HWND window = WindowOpen(0, 0, 0, sw + 100, 100, 0x10CA0001, "wide");
    ASSERT_NE(window, nullptr);
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.left, 0);
    EXPECT_EQ(outer.top, (sh >> 1) - ((outer.bottom - outer.top) >> 1));
}

TEST_F(WindowOpenTest, CentredOnTheActiveWindow) {
    HWND first = WindowOpen(0, 100, 80, 400, 300, 0, "first");
    ASSERT_NE(first, nullptr);
    SetActiveWindow(first);
    ASSERT_EQ(GetActiveWindow(), first);
    HWND second = WindowOpen(1, 0, 0, 200, 50, 0x10000003, "second");
    ASSERT_NE(second, nullptr);
    RECT a, b;
    GetWindowRect(first, &a);
    GetWindowRect(second, &b);
    RECT adjusted{0, 0, 200, 50};
    AdjustWindowRect(&adjusted, WS_CAPTION, FALSE);
    const int ow = adjusted.right - adjusted.left, oh = adjusted.bottom - adjusted.top;
    EXPECT_EQ(b.left, std::max<LONG>(0, a.left - (ow >> 1) + ((a.right - a.left) >> 1)));
    EXPECT_EQ(b.top, std::max<LONG>(0, a.top - (oh >> 1) + ((a.bottom - a.top) >> 1)));
}

TEST_F(WindowOpenTest, TableGrowsAndKeepsEarlierWindows) {
    std::vector<HWND> windows;
    for (int n = 0; n < 10; ++n) windows.push_back(WindowOpen(n, 0, 0, 50, 50, 0x10000000, "w"));
    EXPECT_EQ(WindowTable.capacity, 10);
    HWND tenth = WindowOpen(10, 0, 0, 50, 50, 0x10000000, "w");
    ASSERT_NE(tenth, nullptr);
    EXPECT_EQ(WindowTable.capacity, 40);
    EXPECT_GE(HeapSize(MainHeap, 0, WindowTable.entries), sizeof(WindowEntry) * 42);
    for (int n = 0; n < 10; ++n) EXPECT_EQ(WindowHandle(n), windows[static_cast<size_t>(n)]);
    EXPECT_EQ(WindowHandle(10), tenth);
    for (int n = 11; n <= 40; ++n) EXPECT_EQ(WindowHandle(n), nullptr);
}

TEST_F(WindowOpenTest, OpeningANumberAgainReplacesItsWindow) {
    HWND first = WindowOpen(2, 0, 0, 50, 50, 0, "one");
    ASSERT_NE(first, nullptr);
    HWND second = WindowOpen(2, 0, 0, 60, 60, 0, "two");
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(WindowHandle(2), second);
    EXPECT_EQ(ClassOf(second), "WindowClass_2");
    EXPECT_EQ(TitleOf(second), "two");
    WindowClose(2);
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(WindowHandle(2), nullptr);
    // The class went with the window.
    WNDCLASSA wc;
    EXPECT_FALSE(GetClassInfoA(GetModuleHandleA(nullptr), "WindowClass_2", &wc));
    EXPECT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "TemplateClass", &wc));
}

TEST_F(WindowOpenTest, TitleChangesOnlyForAWindowAndAText) {
    HWND window = WindowOpen(0, 0, 0, 100, 100, 0, "start");
    WindowSetTitle(0, "FPS: 60 Frames: 60");
    EXPECT_EQ(TitleOf(window), "FPS: 60 Frames: 60");
    WindowSetTitle(0, nullptr);
    EXPECT_EQ(TitleOf(window), "FPS: 60 Frames: 60");
    WindowSetTitle(5, "nobody");  // no window under 5
    EXPECT_EQ(TitleOf(window), "FPS: 60 Frames: 60");
    WindowClose(5);               // nothing to close
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(WindowOpenTest, ListedWindowsLiveOutsideTheTable) {
    HWND a = WindowOpen(-1, 0, 0, 80, 80, 0, "a");
    HWND b = WindowOpen(-1, 0, 0, 80, 80, 0, "b");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    const WindowNumber idA = reinterpret_cast<WindowNumber>(a), idB = reinterpret_cast<WindowNumber>(b);
    EXPECT_TRUE(idA < 0 || idA > WindowTable.capacity);
    HWND handleA = WindowHandle(idA), handleB = WindowHandle(idB);
    ASSERT_TRUE(IsWindow(handleA));
    ASSERT_TRUE(IsWindow(handleB));
    char expected[64];
    wsprintfA(expected, "WindowClass_%ld", static_cast<LONG>(idA));
    EXPECT_EQ(ClassOf(handleA), expected);
    WindowSetTitle(idB, "bee");
    EXPECT_EQ(TitleOf(handleB), "bee");
    WindowClose(idA);
    EXPECT_FALSE(IsWindow(handleA));
    ASSERT_NE(ListedWindows, nullptr);
    EXPECT_EQ(ListedWindows->next, nullptr);
    WindowShutdown();
    EXPECT_FALSE(IsWindow(handleB));
    EXPECT_EQ(ListedWindows, nullptr);
}

TEST_F(WindowOpenTest, ShutdownClosesEveryWindowAndIsHarmlessWhenEmpty) {
    WindowShutdown();
    HWND a = WindowOpen(0, 0, 0, 50, 50, 0, "a");
    HWND b = WindowOpen(7, 0, 0, 50, 50, 0, "b");
    WindowShutdown();
    EXPECT_FALSE(IsWindow(a));
    EXPECT_FALSE(IsWindow(b));
    EXPECT_EQ(WindowHandle(0), nullptr);
    EXPECT_EQ(WindowHandle(7), nullptr);
}

TEST(ObjectList, AddLinksAtTheHeadAndRemoveUnlinksAnywhere) {
    ObjectHeapCreate();
    ObjectNode* head = nullptr;
    auto* a = static_cast<int*>(ObjectListAdd(head, sizeof(ObjectNode) + sizeof(int)));
    auto* b = static_cast<int*>(ObjectListAdd(head, sizeof(ObjectNode) + sizeof(int)));
    auto* c = static_cast<int*>(ObjectListAdd(head, sizeof(ObjectNode) + sizeof(int)));
    EXPECT_EQ(*a, 0);
    ASSERT_EQ(head, reinterpret_cast<ObjectNode*>(c) - 1);
    EXPECT_EQ(head->next, reinterpret_cast<ObjectNode*>(b) - 1);
    EXPECT_EQ(head->previous, nullptr);
    EXPECT_EQ(head->next->previous, head);
    ObjectListRemove(head, b);  // middle
    EXPECT_EQ(head->next, reinterpret_cast<ObjectNode*>(a) - 1);
    EXPECT_EQ(head->next->previous, head);
    ObjectListRemove(head, c);  // head
    EXPECT_EQ(head, reinterpret_cast<ObjectNode*>(a) - 1);
    ObjectListRemove(head, a);
    EXPECT_EQ(head, nullptr);
    ObjectHeapDestroy();
}

}  // namespace
