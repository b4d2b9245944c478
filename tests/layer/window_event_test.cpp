// The event queue: clicks, keys, focus movement, close requests, pending
// events, gadgets in containers and the modal message box, driven through
// posted input messages and SendMessageA.
#include "window_support.h"

namespace {

class EventTest : public WindowLayerTest {
protected:
    void SetUp() override {
        WindowLayerTest::SetUp();
        window = OpenDemoLayout();
        SetForegroundWindow(window);
        SetActiveWindow(window);
        Drain();
    }
    HWND window = nullptr;
};

TEST_F(EventTest, EmptyQueueGivesNoneAtOnce) {
    EXPECT_EQ(EventPoll(), EventKindNone);
    EXPECT_EQ(EventPoll(), EventKindNone);
}

TEST_F(EventTest, FirstPollAfterTheLayoutReturnsThePendingEvent) {
    WindowShutdown();
    Drain();
    WindowInit();
    GadgetInit();
    window = OpenDemoLayout();
    PostMessageA(window, WM_USER + 7, 0, 0);
    const int32_t first = EventPoll();
    EXPECT_TRUE(first == EventKindSize || first == EventKindActivate) << first;
    EXPECT_EQ(EventState.pendingEvent, 0);
    const std::vector<int32_t> rest = Drain();
    EXPECT_EQ(Count(rest, WM_USER + 7), 1);
}

TEST_F(EventTest, OneClickOnEachButtonGivesOneGadgetEvent) {
    for (int id = 0; id < 3; ++id) {
        PostClick(buttons[id], 20, 10, 20, 10);
        const std::vector<int32_t> events = Drain();
        EXPECT_EQ(Count(events, EventKindGadget), 1) << id;
        EXPECT_EQ(Count(events, WM_LBUTTONDOWN), 1) << id;
        EXPECT_EQ(EventGadgetId(), id);
    }
}

TEST_F(EventTest, ToggleStaysPressedAndComesUpWithTheNextClick) {
    EXPECT_EQ(SendMessageA(buttons[1], BM_GETCHECK, 0, 0), BST_UNCHECKED);
    PostClick(buttons[1], 5, 5, 5, 5);
    std::vector<int32_t> events = Drain();
    EXPECT_EQ(Count(events, EventKindGadget), 1);
    EXPECT_EQ(EventGadgetId(), 1);
    EXPECT_EQ(SendMessageA(buttons[1], BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(buttons[1], BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    PostClick(buttons[1], 5, 5, 5, 5);
    events = Drain();
    EXPECT_EQ(Count(events, EventKindGadget), 1);
    EXPECT_EQ(SendMessageA(buttons[1], BM_GETCHECK, 0, 0), BST_UNCHECKED);
    // A push button has no check state to keep.
    PostClick(buttons[0], 5, 5, 5, 5);
    Drain();
    EXPECT_EQ(SendMessageA(buttons[0], BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(EventTest, PressInsideReleaseOutsideGivesNothing) {
    const POINT outside[] = {{-5, 5}, {250, 5}, {5, 30}, {5, -3}};
    for (POINT p : outside) {
        PostClick(buttons[1], 5, 5, p.x, p.y);
        const std::vector<int32_t> events = Drain();
        EXPECT_EQ(Count(events, EventKindGadget), 0) << p.x << "," << p.y;
        EXPECT_EQ(Count(events, WM_LBUTTONUP), 1);
        EXPECT_EQ(SendMessageA(buttons[1], BM_GETCHECK, 0, 0), BST_UNCHECKED);
        EXPECT_EQ(SendMessageA(buttons[1], BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
        EXPECT_NE(GetCapture(), buttons[1]);
    }
}

TEST_F(EventTest, SpaceOnTheFocusedButtonClicksIt) {
    for (int id : {2, 1}) {
        SetFocus(buttons[id]);
        ASSERT_EQ(GetFocus(), buttons[id]);
        PostKey(buttons[id], VK_SPACE);
        const std::vector<int32_t> events = Drain();
        EXPECT_EQ(Count(events, EventKindGadget), 1) << id;
        EXPECT_EQ(EventGadgetId(), id);
    }
    EXPECT_EQ(SendMessageA(buttons[1], BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(EventTest, TabAndShiftTabWrapAcrossTheButtons) {
    SetFocus(window);
    ASSERT_EQ(GetActiveWindow(), window);
    struct Step {
        bool shift;
        int expected;  // index into buttons
    };
    // From no focused button: Tab gives the first; Shift+Tab goes back and wraps.
    const Step steps[] = {{false, 0}, {true, 2}, {true, 1}, {true, 0}, {false, 1}, {false, 2}, {false, 0}};
    for (const Step& step : steps) {
        if (step.shift)
            HoldShift();
        else
            ReleaseKeys();
        HWND target = GetFocus() ? GetFocus() : window;
        PostMessageA(target, WM_KEYDOWN, VK_TAB, 0x000F0001);
        EXPECT_EQ(EventPoll(), WM_KEYDOWN);  // the raw 256: focus movement sets no event
        Drain();
        EXPECT_EQ(GetFocus(), buttons[step.expected]) << (step.shift ? "Shift+Tab to " : "Tab to ") << step.expected;
    }
    ReleaseKeys();
}

TEST_F(EventTest, ShiftTabWithNoFocusedButtonGoesToTheLast) {
    SetFocus(window);
    HoldShift();
    PostMessageA(window, WM_KEYDOWN, VK_TAB, 0x000F0001);
    EXPECT_EQ(EventPoll(), WM_KEYDOWN);
    ReleaseKeys();
    EXPECT_EQ(GetFocus(), buttons[2]);
}

TEST_F(EventTest, FocusSkipsDisabledAndHiddenButtons) {
    SetFocus(buttons[0]);
    EnableWindow(buttons[1], FALSE);
    FocusNext();
    EXPECT_EQ(GetFocus(), buttons[2]);
    ShowWindow(buttons[0], SW_HIDE);
    FocusNext();
    EXPECT_EQ(GetFocus(), buttons[2]);  // the only eligible one
    FocusPrevious();
    EXPECT_EQ(GetFocus(), buttons[2]);
}

TEST_F(EventTest, CloseRequestGivesCloseAndLeavesTheWindow) {
    struct Request {
        UINT message;
        WPARAM wParam;
    };
    for (Request r : {Request{WM_SYSCOMMAND, SC_CLOSE}, Request{WM_CLOSE, 0}, Request{WM_SYSCOMMAND, SC_CLOSE}}) {
        PostMessageA(window, r.message, r.wParam, 0);
        const std::vector<int32_t> events = Drain();
        EXPECT_EQ(Count(events, EventKindClose), 1);
        EXPECT_TRUE(IsWindow(window));
        EXPECT_TRUE(IsWindowEnabled(window));
        EXPECT_EQ(WindowHandle(0), window);
    }
}

TEST_F(EventTest, PendingSizeAndActivationComeBeforeQueuedMessages) {
    struct Case {
        UINT first, second;
        WPARAM firstParam, secondParam;
        int32_t expected;
    };
    const Case cases[] = {
        {WM_SIZE, WM_ACTIVATE, SIZE_RESTORED, WA_ACTIVE, EventKindActivate},
        {WM_ACTIVATE, WM_SIZE, WA_CLICKACTIVE, SIZE_MAXIMIZED, EventKindSize},
        {WM_SIZE, WM_SIZE, SIZE_RESTORED, SIZE_MINIMIZED, EventKindSize},
        {WM_ACTIVATE, WM_ACTIVATE, WA_ACTIVE, WA_INACTIVE, EventKindActivate},
    };
    for (const Case& c : cases) {
        PostMessageA(window, WM_USER + 1, 0, 0);
        SendMessageA(window, c.first, c.firstParam, MAKELPARAM(600, 600));
        SendMessageA(window, c.second, c.secondParam, MAKELPARAM(600, 600));
        EXPECT_EQ(EventPoll(), c.expected);
        const std::vector<int32_t> rest = Drain();
        ASSERT_FALSE(rest.empty());
        EXPECT_EQ(Count(rest, WM_USER + 1), 1);
        EXPECT_EQ(Count(rest, EventKindSize) + Count(rest, EventKindActivate), 0);
    }
    // A minimised size or an inactive state stores nothing.
    SendMessageA(window, WM_SIZE, SIZE_MINIMIZED, 0);
    SendMessageA(window, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(EventState.pendingEvent, 0);
}

TEST_F(EventTest, MoveGivesTheMoveEvent) {
    SendMessageA(window, WM_MOVE, 0, MAKELPARAM(10, 10));
    PostMessageA(window, WM_NULL, 0, 0);
    EXPECT_EQ(EventPoll(), EventKindMove);  // set outside a poll, returned by the next dispatch
}

TEST_F(EventTest, GadgetInsideAContainerReportsThroughAPostedMessage) {
    GadgetListOpen(container);
    HWND inner = ButtonCreate(7, 10, 10, 100, 20, "inner");
    ASSERT_EQ(GetParent(inner), container);
    Drain();
    PostClick(inner, 5, 5, 5, 5);
    EXPECT_EQ(EventPoll(), WM_LBUTTONDOWN);
    EXPECT_EQ(EventPoll(), WM_LBUTTONUP);  // the notification was posted, not delivered
    std::vector<int32_t> rest = Drain();
    ASSERT_FALSE(rest.empty());
    EXPECT_EQ(Count(rest, EventKindGadget), 1);
    EXPECT_EQ(EventGadgetId(), 7);
}

// MessageBoxShow: while the box runs, the timer looks at the windows and
// closes the box.
struct BoxCheck {
    HWND windows[2];
    BOOL enabledDuring[2];
    bool seen;
};
BoxCheck boxCheck;

void CALLBACK CloseBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = FindWindowA("#32770", "Box caption");
    if (box == nullptr) return;
    KillTimer(nullptr, id);
    for (int i = 0; i < 2; ++i) boxCheck.enabledDuring[i] = IsWindowEnabled(boxCheck.windows[i]);
    boxCheck.seen = true;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST_F(EventTest, MessageBoxShowDisablesAndReenablesTheThreadsWindows) {
    HWND other = WindowOpen(1, 10, 10, 100, 100, 0, "other");
    ASSERT_NE(other, nullptr);
    Drain();
    boxCheck = BoxCheck{{window, other}, {TRUE, TRUE}, false};
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, CloseBox);
    ASSERT_NE(timer, 0u);
    const int result = MessageBoxShow("Box caption", "Box text", MB_OK | MB_ICONHAND);
    KillTimer(nullptr, timer);
    EXPECT_EQ(result, IDOK);
    ASSERT_TRUE(boxCheck.seen);
    EXPECT_FALSE(boxCheck.enabledDuring[0]);
    EXPECT_FALSE(boxCheck.enabledDuring[1]);
    EXPECT_TRUE(IsWindowEnabled(window));
    EXPECT_TRUE(IsWindowEnabled(other));
    EXPECT_EQ(DisabledWindowList, nullptr);
    EXPECT_EQ(FindWindowA("#32770", "Box caption"), nullptr);
}

}  // namespace
