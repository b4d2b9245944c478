// What the layer relies on in user32: creation and destruction messages in
// Windows' order, subclassing, posted and sent messages, keyboard tables,
// enumeration order, frames. Runs on the stand-in and on Wine alike.
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

namespace {

struct Record {
    HWND window;
    UINT message;
    WPARAM wParam;
};
std::vector<Record> records;

bool Interesting(UINT m) {
    switch (m) {
        case WM_NCCREATE:
        case WM_CREATE:
        case WM_SIZE:
        case WM_MOVE:
        case WM_DESTROY:
        case WM_NCDESTROY:
        case WM_COMMAND:
        case WM_USER:
        case WM_USER + 1: return true;
        default: return false;
    }
}

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Interesting(message)) records.push_back(Record{window, message, wParam});
    if (message == WM_USER + 1) return 42;
    return DefWindowProcA(window, message, wParam, lParam);
}

WNDPROC subclassedPrevious;
int subclassCalls;
LRESULT CALLBACK CountingSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ++subclassCalls;
    return CallWindowProcA(subclassedPrevious, window, message, wParam, lParam);
}

class PlatformTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
        wc.lpszClassName = "RecordingClass";
        RegisterClassA(&wc);
    }
    void SetUp() override { records.clear(); }
    void TearDown() override {
        for (HWND w : made)
            if (IsWindow(w)) DestroyWindow(w);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    HWND Make(DWORD style, HWND parent, int id, int x = 10, int y = 20, int w = 100, int h = 50) {
        HWND window = CreateWindowExA(0, "RecordingClass", "t", style, x, y, w, h, parent,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
        made.push_back(window);
        return window;
    }
    static std::vector<UINT> MessagesOf(HWND window) {
        std::vector<UINT> out;
        for (const Record& r : records)
            if (r.window == window) out.push_back(r.message);
        return out;
    }
    std::vector<HWND> made;
};

TEST_F(PlatformTest, CreationSendsCreateSizeAndMoveInOrder) {
    // Popups and children get WM_SIZE and WM_MOVE right after WM_CREATE; an
    // overlapped window gets them when it is first shown.
    struct Case {
        DWORD style;
        std::vector<UINT> atCreation;
    };
    const std::vector<UINT> full = {WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE};
    const std::vector<UINT> bare = {WM_NCCREATE, WM_CREATE};
    const Case cases[] = {{WS_OVERLAPPED | WS_CAPTION, bare},
                          {WS_POPUP, full},
                          {WS_POPUP | WS_VISIBLE, full},
                          {WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, full},
                          {WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE, full}};
    for (const Case& c : cases) {
        records.clear();
        HWND top = Make(c.style, nullptr, 0);
        ASSERT_NE(top, nullptr);
        EXPECT_EQ(MessagesOf(top), c.atCreation) << std::hex << c.style;
        records.clear();
        ShowWindow(top, SW_SHOW);
        const std::vector<UINT> later = MessagesOf(top);
        if (c.atCreation == bare)
            EXPECT_EQ(later, (std::vector<UINT>{WM_SIZE, WM_MOVE})) << std::hex << c.style;
        else
            EXPECT_TRUE(later.empty()) << std::hex << c.style;
    }
    HWND parent = Make(WS_OVERLAPPED | WS_CAPTION, nullptr, 0);
    records.clear();
    HWND child = Make(WS_CHILD | WS_VISIBLE, parent, 5, 3, 4, 30, 20);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(MessagesOf(child), full);
    RECT r;
    GetClientRect(child, &r);
    EXPECT_EQ(r.right, 30);
    EXPECT_EQ(r.bottom, 20);
    EXPECT_EQ(GetParent(child), parent);
    EXPECT_EQ(GetWindowLongA(child, GWL_ID), 5);
}

TEST_F(PlatformTest, OverlappedWindowsKeepTheMinimumTrackingSize) {
    struct Case {
        DWORD style;
        bool clamped;
    };
    for (Case c : {Case{WS_OVERLAPPED | WS_CAPTION, true}, Case{WS_POPUP, false}, Case{WS_POPUP | WS_THICKFRAME, false}}) {
        HWND w = Make(c.style, nullptr, 0, 0, 0, 20, 10);
        RECT r;
        GetWindowRect(w, &r);
        if (c.clamped) {
            EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXMINTRACK)) << std::hex << c.style;
            EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYMINTRACK)) << std::hex << c.style;
        } else {
            EXPECT_EQ(r.right - r.left, 20) << std::hex << c.style;
            EXPECT_EQ(r.bottom - r.top, 10) << std::hex << c.style;
        }
    }
}

TEST_F(PlatformTest, ChildWithoutParentFails) {
    EXPECT_EQ(Make(WS_CHILD, nullptr, 1), nullptr);
}

TEST_F(PlatformTest, DestructionReachesTheWindowAndEveryDescendant) {
    HWND top = Make(WS_OVERLAPPED | WS_CAPTION, nullptr, 0);
    HWND a = Make(WS_CHILD | WS_VISIBLE, top, 1);
    HWND a1 = Make(WS_CHILD | WS_VISIBLE, a, 2);
    HWND b = Make(WS_CHILD | WS_VISIBLE, top, 3);
    records.clear();
    ASSERT_TRUE(DestroyWindow(top));
    for (HWND w : {top, a, a1, b}) {
        EXPECT_FALSE(IsWindow(w));
        const std::vector<UINT> got = MessagesOf(w);
        EXPECT_EQ(got, (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
    }
    // WM_DESTROY goes to the parent first; WM_NCDESTROY to the parent last.
    std::vector<HWND> destroyOrder, ncOrder;
    for (const Record& r : records) {
        if (r.message == WM_DESTROY) destroyOrder.push_back(r.window);
        if (r.message == WM_NCDESTROY) ncOrder.push_back(r.window);
    }
    ASSERT_EQ(destroyOrder.size(), 4u);
    EXPECT_EQ(destroyOrder.front(), top);
    EXPECT_EQ(ncOrder.back(), top);
    EXPECT_FALSE(DestroyWindow(top));
}

TEST_F(PlatformTest, SubclassingChainsToThePreviousProcedure) {
    HWND top = Make(WS_OVERLAPPED, nullptr, 0);
    subclassCalls = 0;
    subclassedPrevious = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(top, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingSubclass)));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(subclassedPrevious), reinterpret_cast<LONG_PTR>(RecordingProc));
    records.clear();
    EXPECT_EQ(SendMessageA(top, WM_USER + 1, 0, 0), 42);
    EXPECT_EQ(subclassCalls, 1);
    EXPECT_EQ(MessagesOf(top), (std::vector<UINT>{WM_USER + 1}));
    EXPECT_EQ(CallWindowProcA(RecordingProc, top, WM_USER + 1, 0, 0), 42);
    EXPECT_EQ(subclassCalls, 1);
}

TEST_F(PlatformTest, PostedMessagesWaitForTheQueueSentOnesDoNot) {
    HWND top = Make(WS_OVERLAPPED, nullptr, 0);
    records.clear();
    ASSERT_TRUE(PostMessageA(top, WM_USER, 1, 0));
    ASSERT_TRUE(PostMessageA(top, WM_USER, 2, 0));
    EXPECT_TRUE(MessagesOf(top).empty());
    SendMessageA(top, WM_USER + 1, 0, 0);
    EXPECT_EQ(MessagesOf(top), (std::vector<UINT>{WM_USER + 1}));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE));
    EXPECT_EQ(msg.wParam, 1u);
    std::vector<WPARAM> order;
    while (PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_REMOVE)) {
        order.push_back(msg.wParam);
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(order, (std::vector<WPARAM>{1, 2}));
    EXPECT_EQ(MessagesOf(top).size(), 3u);
    EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FFF0)), WM_USER, 0, 0));
}

TEST_F(PlatformTest, KeyboardTableTurnsKeysIntoCommands) {
    HWND top = Make(WS_OVERLAPPED | WS_VISIBLE, nullptr, 0);
    ACCEL keys[2] = {{FVIRTKEY | FNOINVERT, VK_TAB, 1212}, {FVIRTKEY | FNOINVERT | FSHIFT, VK_TAB, 1213}};
    HACCEL table = CreateAcceleratorTableA(keys, 2);
    ASSERT_NE(table, nullptr);
    struct Case {
        UINT message;
        WPARAM key;
        bool shift;
        int command;  // 0: not translated
    };
    const Case cases[] = {{WM_KEYDOWN, VK_TAB, false, 1212}, {WM_KEYDOWN, VK_TAB, true, 1213},
                          {WM_KEYUP, VK_TAB, false, 0},      {WM_KEYDOWN, VK_SPACE, false, 0},
                          {WM_CHAR, VK_TAB, false, 0}};
    for (const Case& c : cases) {
        BYTE state[256] = {};
        if (c.shift) state[VK_SHIFT] = 0x80;
        SetKeyboardState(state);
        records.clear();
        MSG msg{top, c.message, c.key, 1, 0, {0, 0}};
        EXPECT_EQ(TranslateAcceleratorA(top, table, &msg) != 0, c.command != 0) << c.message << " " << c.key;
        std::vector<UINT> got = MessagesOf(top);
        if (c.command) {
            ASSERT_EQ(got, (std::vector<UINT>{WM_COMMAND}));
            EXPECT_EQ(LOWORD(records[0].wParam), c.command);
            EXPECT_EQ(HIWORD(records[0].wParam), 1);
        } else {
            EXPECT_TRUE(got.empty());
        }
    }
    BYTE state[256] = {};
    SetKeyboardState(state);
    EXPECT_TRUE(DestroyAcceleratorTable(table));
}

BOOL CALLBACK Collect(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

BOOL CALLBACK StopAtSecond(HWND window, LPARAM list) {
    auto* v = reinterpret_cast<std::vector<HWND>*>(list);
    v->push_back(window);
    return v->size() < 2;
}

TEST_F(PlatformTest, ChildWindowsEnumerateInCreationOrderDepthFirst) {
    HWND top = Make(WS_OVERLAPPED, nullptr, 0);
    HWND a = Make(WS_CHILD | WS_VISIBLE, top, 1);
    HWND b = Make(WS_CHILD | WS_VISIBLE, top, 2);
    HWND a1 = Make(WS_CHILD | WS_VISIBLE, a, 3);
    HWND c = Make(WS_CHILD, top, 4);
    std::vector<HWND> got;
    EnumChildWindows(top, Collect, reinterpret_cast<LPARAM>(&got));
    EXPECT_EQ(got, (std::vector<HWND>{a, a1, b, c}));
    got.clear();
    EnumChildWindows(top, StopAtSecond, reinterpret_cast<LPARAM>(&got));
    EXPECT_EQ(got.size(), 2u);
    got.clear();
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&got));
    EXPECT_NE(std::find(got.begin(), got.end(), top), got.end());
    EXPECT_EQ(std::find(got.begin(), got.end(), a), got.end());
}

TEST_F(PlatformTest, AdjustedRectangleGivesTheClientSize) {
    const DWORD styles[] = {WS_OVERLAPPED | WS_CAPTION, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                            WS_OVERLAPPEDWINDOW, WS_POPUP, WS_POPUP | WS_BORDER, WS_POPUP | WS_DLGFRAME};
    for (DWORD style : styles) {
        RECT r{0, 0, 321, 123};
        ASSERT_TRUE(AdjustWindowRect(&r, style, FALSE));
        HWND w = Make(style, nullptr, 0, 0, 0, r.right - r.left, r.bottom - r.top);
        RECT client;
        GetClientRect(w, &client);
        EXPECT_EQ(client.right, 321) << std::hex << style;
        EXPECT_EQ(client.bottom, 123) << std::hex << style;
        POINT origin{0, 0};
        ClientToScreen(w, &origin);
        RECT outer;
        GetWindowRect(w, &outer);
        EXPECT_EQ(origin.x - outer.left, -r.left) << std::hex << style;
        EXPECT_EQ(origin.y - outer.top, -r.top) << std::hex << style;
    }
    EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
    EXPECT_GT(GetSystemMetrics(SM_CYSCREEN), 0);
}

TEST_F(PlatformTest, EnableStateAndFocus) {
    HWND top = Make(WS_OVERLAPPED | WS_VISIBLE, nullptr, 0);
    HWND child = Make(WS_CHILD | WS_VISIBLE | WS_TABSTOP, top, 1);
    SetActiveWindow(top);
    EXPECT_EQ(GetActiveWindow(), top);
    SetFocus(child);
    EXPECT_EQ(GetFocus(), child);
    EXPECT_TRUE(IsChild(top, child));
    EXPECT_FALSE(IsChild(child, top));
    EXPECT_FALSE(EnableWindow(child, FALSE));  // was enabled
    EXPECT_FALSE(IsWindowEnabled(child));
    EXPECT_NE(GetFocus(), child);               // a disabled window loses the focus
    EXPECT_TRUE(EnableWindow(child, TRUE));      // was disabled
    EXPECT_TRUE(IsWindowEnabled(child));
    DestroyWindow(child);
    EXPECT_FALSE(IsChild(top, child));
}

TEST_F(PlatformTest, ClassesRegisterOnceAndUnregisterWithoutWindows) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "OnceClass";
    EXPECT_NE(RegisterClassExA(&wc), 0);
    EXPECT_EQ(RegisterClassExA(&wc), 0);
    HWND w = CreateWindowExA(0, "OnceClass", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(UnregisterClassA("OnceClass", wc.hInstance));
    DestroyWindow(w);
    EXPECT_TRUE(UnregisterClassA("OnceClass", wc.hInstance));
    EXPECT_FALSE(UnregisterClassA("OnceClass", wc.hInstance));
    EXPECT_EQ(CreateWindowExA(0, "OnceClass", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr),
              nullptr);
}

TEST(Format, WindowClassNames) {
    char buffer[64];
    for (long n : {0L, 7L, 123456L, -5L}) {
        wsprintfA(buffer, "WindowClass_%ld", static_cast<LONG>(n));
        EXPECT_EQ(std::string(buffer), "WindowClass_" + std::to_string(n));
    }
}

}  // namespace
