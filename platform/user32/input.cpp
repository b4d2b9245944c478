// Input from a host: mouse and keyboard events in screen coordinates become
// the thread's input messages for the window under the mouse, the capture
// window or the focus window, as Windows delivers them.
#include "user32/input.h"

#include <deque>

#include "host/host.h"
#include "user32/internal.h"

namespace user32 {
namespace {

bool Contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

// The deepest visible, enabled window at a point of `parent`'s client area.
Window* ChildAt(Window* parent, POINT client) {
    for (Window* child : parent->children) {
        if (!(child->style & WS_VISIBLE) || !Contains(child->rect, client)) continue;
        if (child->style & WS_DISABLED) return parent;
        POINT inner{client.x - child->rect.left - child->border.left, client.y - child->rect.top - child->border.top};
        return ChildAt(child, inner);
    }
    return parent;
}

WPARAM MouseKeys() {
    WPARAM keys = 0;
    if (GetKeyState(VK_LBUTTON) < 0) keys |= MK_LBUTTON;
    if (GetKeyState(VK_SHIFT) < 0) keys |= MK_SHIFT;
    if (GetKeyState(VK_CONTROL) < 0) keys |= MK_CONTROL;
    return keys;
}

}  // namespace

HWND WindowFromScreenPoint(POINT screen) {
    for (Window* top : TopLevels()) {
        if (!(top->style & WS_VISIBLE) || top->iconic) continue;
        if (!Contains(top->rect, screen)) continue;
        RECT client = ClientRectOf(top);
        POINT c{screen.x - top->rect.left - top->border.left, screen.y - top->rect.top - top->border.top};
        if (!Contains(client, c)) return top->handle;  // the frame
        return ChildAt(top, c)->handle;
    }
    return nullptr;
}

namespace {

struct RawInput {
    bool mouse;
    UINT message;
    POINT screen;
    int virtualKey;
    bool down;
};

std::deque<RawInput>& RawQueue() {
    static auto* queue = new std::deque<RawInput>();
    return *queue;
}

// Mouse input goes to the capture window or the window under the mouse as
// they are when the message is taken from the queue.
bool DeliverMouse(POINT screen, UINT message, MSG* out) {
    SetCursorPos(screen);
    if (message == WM_LBUTTONDOWN) SetKeyDown(VK_LBUTTON, true);
    if (message == WM_LBUTTONUP) SetKeyDown(VK_LBUTTON, false);
    HWND target = GetCapture();
    if (target == nullptr) {
        target = WindowFromScreenPoint(screen);
        if (target == nullptr) return false;
        Window* top = TopLevelOf(Find(target));
        if (top->style & WS_DISABLED) return false;
        if (message == WM_LBUTTONDOWN && GetActiveWindow() != top->handle) SetActiveWindow(top->handle);
        if (!IsWindow(target)) return false;
    }
    POINT client = screen;
    ScreenToClient(target, &client);
    *out = MSG{target, message, MouseKeys(), MAKELPARAM(client.x, client.y), GetTickCount(), screen};
    return true;
}

// Keys go to the focus window, else the active window, and change the
// keyboard state as their message is taken.
bool DeliverKey(int virtualKey, bool down, MSG* out) {
    const bool wasDown = GetKeyState(virtualKey) < 0;
    SetKeyDown(virtualKey, down);
    if (virtualKey == VK_LSHIFT || virtualKey == VK_RSHIFT) SetKeyDown(VK_SHIFT, down);
    HWND target = GetFocus();
    if (target == nullptr) target = GetActiveWindow();
    if (target == nullptr) return false;
    const bool alt = GetKeyState(VK_MENU) < 0;
    const bool system = alt && GetKeyState(VK_CONTROL) >= 0;
    UINT message = down ? (system || virtualKey == VK_MENU ? WM_SYSKEYDOWN : WM_KEYDOWN)
                        : (system || virtualKey == VK_MENU ? WM_SYSKEYUP : WM_KEYUP);
    LPARAM lParam = 1;
    if (alt) lParam |= 1 << 29;
    if (wasDown) lParam |= 1 << 30;
    if (!down) lParam |= static_cast<LPARAM>(3u << 30);
    *out = MSG{target, message, static_cast<WPARAM>(virtualKey), static_cast<LPARAM>(static_cast<DWORD>(lParam)),
               GetTickCount(), CursorPos()};
    return true;
}

}  // namespace

void InjectMouse(POINT screen, UINT message) { RawQueue().push_back(RawInput{true, message, screen, 0, false}); }

void InjectKey(int virtualKey, bool down) { RawQueue().push_back(RawInput{false, 0, POINT{0, 0}, virtualKey, down}); }

bool TakeInput(MSG* out) {
    auto& queue = RawQueue();
    while (!queue.empty()) {
        const RawInput input = queue.front();
        queue.pop_front();
        const bool delivered = input.mouse ? DeliverMouse(input.screen, input.message, out)
                                           : DeliverKey(input.virtualKey, input.down, out);
        if (delivered) return true;
    }
    return false;
}

}  // namespace user32
