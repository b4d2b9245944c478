// The stand-in's own workings on the headless host: the pixels of the
// virtual screen and input injected as a user gives it.
#include <string>

#include "testing.h"
#include "window_support.h"

namespace {

class NativeWindowTest : public WindowLayerTest {
protected:
    void SetUp() override {
        WindowLayerTest::SetUp();
        window = OpenDemoLayout();
        Drain();
    }
    // A digest of a button's client pixels.
    static std::vector<DWORD> Pixels(HWND button) {
        PlatformPaintAll();
        RECT r;
        GetClientRect(button, &r);
        std::vector<DWORD> out;
        for (int y = 0; y < r.bottom; ++y)
            for (int x = 0; x < r.right; ++x) {
                DWORD p = 0;
                EXPECT_TRUE(PlatformWindowPixel(button, x, y, &p));
                out.push_back(p);
            }
        return out;
    }
    static int Differing(const std::vector<DWORD>& a, const std::vector<DWORD>& b) {
        int n = 0;
        for (size_t i = 0; i < a.size() && i < b.size(); ++i) n += a[i] != b[i];
        return n;
    }
    static int Dark(const std::vector<DWORD>& pixels) {
        int n = 0;
        for (DWORD p : pixels) n += ((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF)) < 200;
        return n;
    }
    POINT ScreenOf(HWND w, int x, int y) {
        POINT p{x, y};
        ClientToScreen(w, &p);
        return p;
    }
    void Click(HWND w, int x, int y, int upX, int upY) {
        const POINT down = ScreenOf(w, x, y), up = ScreenOf(w, upX, upY);
        PlatformInjectMouse(down.x, down.y, WM_MOUSEMOVE);
        PlatformInjectMouse(down.x, down.y, WM_LBUTTONDOWN);
        PlatformInjectMouse(up.x, up.y, WM_MOUSEMOVE);
        PlatformInjectMouse(up.x, up.y, WM_LBUTTONUP);
    }
    HWND window = nullptr;
};

TEST_F(NativeWindowTest, ButtonsShowTheirTextInTheGuiFont) {
    for (HWND b : buttons) EXPECT_GT(Dark(Pixels(b)), 20);
    // The background of the window is the button face colour.
    DWORD p = 0;
    ASSERT_TRUE(PlatformWindowPixel(window, 300, 590, &p));
    EXPECT_NE(p, 0u);
}

TEST_F(NativeWindowTest, ToggleLooksPressedAfterOneClickAndReleasedAfterTheNext) {
    const std::vector<DWORD> released = Pixels(buttons[1]);
    Click(buttons[1], 30, 10, 30, 10);
    std::vector<int32_t> events = Drain();
    EXPECT_EQ(Count(events, EventKindGadget), 1);
    SetFocus(window);  // the focus mark would differ too
    const std::vector<DWORD> pressed = Pixels(buttons[1]);
    EXPECT_GT(Differing(released, pressed), 200);
    Click(buttons[1], 30, 10, 30, 10);
    events = Drain();
    EXPECT_EQ(Count(events, EventKindGadget), 1);
    SetFocus(window);
    EXPECT_EQ(Differing(released, Pixels(buttons[1])), 0);
}

TEST_F(NativeWindowTest, FocusedButtonShowsAMark) {
    SetFocus(window);
    const std::vector<DWORD> plain = Pixels(buttons[0]);
    SetFocus(buttons[0]);
    const std::vector<DWORD> focused = Pixels(buttons[0]);
    EXPECT_GT(Differing(plain, focused), 20);
}

TEST_F(NativeWindowTest, InjectedPressReleasedOutsideGivesNothingThanksToCapture) {
    Click(buttons[0], 10, 10, 10, 60);  // released below the window's client area edge
    std::vector<int32_t> events = Drain();
    EXPECT_EQ(Count(events, WM_LBUTTONUP), 1);  // the capture brought it to the button
    EXPECT_EQ(Count(events, EventKindGadget), 0);
    Click(buttons[0], 10, 10, 150, 15);
    EXPECT_EQ(Count(Drain(), EventKindGadget), 1);
    EXPECT_EQ(EventGadgetId(), 0);
}

TEST_F(NativeWindowTest, InjectedKeysMoveTheFocusAndPressButtons) {
    SetActiveWindow(window);
    SetFocus(window);
    PlatformInjectKey(VK_TAB, true);
    PlatformInjectKey(VK_TAB, false);
    EXPECT_EQ(EventPoll(), WM_KEYDOWN);
    Drain();
    EXPECT_EQ(GetFocus(), buttons[0]);
    PlatformInjectKey(VK_SHIFT, true);
    PlatformInjectKey(VK_TAB, true);
    PlatformInjectKey(VK_TAB, false);
    PlatformInjectKey(VK_SHIFT, false);
    Drain();
    EXPECT_EQ(GetFocus(), buttons[2]);
    PlatformInjectKey(VK_SPACE, true);
    PlatformInjectKey(VK_SPACE, false);
    EXPECT_EQ(Count(Drain(), EventKindGadget), 1);
    EXPECT_EQ(EventGadgetId(), 2);
}

TEST_F(NativeWindowTest, AltF4AsksToClose) {
    SetActiveWindow(window);
    PlatformInjectKey(VK_MENU, true);
    PlatformInjectKey(VK_F4, true);
    PlatformInjectKey(VK_F4, false);
    PlatformInjectKey(VK_MENU, false);
    EXPECT_EQ(Count(Drain(), EventKindClose), 1);
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(NativeWindowTest, MinimiseGivesNoSizeEventRestoreGivesOne) {
    ShowWindow(window, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(window));
    EXPECT_EQ(EventState.pendingEvent, 0);
    PostMessageA(window, WM_USER, 0, 0);
    ShowWindow(window, SW_RESTORE);
    const int32_t first = EventPoll();
    EXPECT_TRUE(first == EventKindSize || first == EventKindActivate) << first;
    EXPECT_EQ(Count(Drain(), WM_USER), 1);
}

TEST_F(NativeWindowTest, ScreenShowsTheWindowWhereItIs) {
    RECT outer;
    GetWindowRect(window, &outer);
    PlatformPaintAll();
    DWORD inside = 0, outside = 0, client = 0;
    const POINT p = ScreenOf(buttons[0], 100, 10);
    ASSERT_TRUE(PlatformScreenPixel(p.x, p.y, &inside));
    ASSERT_TRUE(PlatformWindowPixel(buttons[0], 100, 10, &client));
    EXPECT_EQ(inside, client);
    ASSERT_TRUE(PlatformScreenPixel(outer.left - 1 < 0 ? outer.right : outer.left - 1, outer.top, &outside));
    EXPECT_EQ(outside, 0x3A6EA5u);
    EXPECT_FALSE(PlatformScreenPixel(-1, 0, &outside));
}

// The message box as a window: each way of closing it.
struct BoxKey {
    const char* name;
    int key;  // 0: a click on OK
};
class MessageBoxKeyTest : public NativeWindowTest, public ::testing::WithParamInterface<BoxKey> {};

BoxKey currentKey;
bool boxDrawn;

void CALLBACK PressOnBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = FindWindowA("#32770", "Caption");
    if (box == nullptr) return;
    KillTimer(nullptr, id);
    HWND ok = GetDlgItem(box, IDOK);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(GetFocus(), ok);
    // The text is drawn in the box.
    PlatformPaintAll();
    RECT r;
    GetClientRect(box, &r);
    int dark = 0;
    for (int y = 0; y < r.bottom / 2; ++y)
        for (int x = 0; x < r.right; ++x) {
            DWORD p = 0;
            if (PlatformWindowPixel(box, x, y, &p) && ((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF)) < 200) ++dark;
        }
    boxDrawn = dark > 20;
    if (currentKey.key) {
        PlatformInjectKey(currentKey.key, true);
        PlatformInjectKey(currentKey.key, false);
    } else {
        POINT p{5, 5};
        ClientToScreen(ok, &p);
        PlatformInjectMouse(p.x, p.y, WM_LBUTTONDOWN);
        PlatformInjectMouse(p.x, p.y, WM_LBUTTONUP);
    }
}

TEST_P(MessageBoxKeyTest, ClosesTheBox) {
    currentKey = GetParam();
    boxDrawn = false;
    SetActiveWindow(window);
    SetTimer(nullptr, 0, 20, PressOnBox);
    EXPECT_EQ(MessageBoxA(window, "Some text\nover two lines", "Caption", MB_OK), IDOK);
    EXPECT_TRUE(boxDrawn);
    EXPECT_EQ(FindWindowA("#32770", "Caption"), nullptr);
    EXPECT_TRUE(IsWindowEnabled(window));
    EXPECT_EQ(GetActiveWindow(), window);
}

INSTANTIATE_TEST_SUITE_P(Keys, MessageBoxKeyTest,
                         ::testing::Values(BoxKey{"Return", VK_RETURN}, BoxKey{"Space", VK_SPACE},
                                           BoxKey{"Escape", VK_ESCAPE}, BoxKey{"Click", 0}),
                         [](const ::testing::TestParamInfo<BoxKey>& info) { return std::string(info.param.name); });

}  // namespace
