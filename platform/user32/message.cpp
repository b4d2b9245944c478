// The per-thread message queue, sent and posted messages, keyboard state,
// keyboard tables, timers and the default window procedure.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>

#include "host/host.h"
#include "user32/input.h"
#include "user32/internal.h"

namespace user32 {
namespace {

struct Timer {
    HWND window;
    UINT_PTR id;
    UINT elapse;
    TIMERPROC proc;
    uint64_t due;
};

struct Queue {
    std::deque<MSG> messages;
    bool quit = false;
    int quitCode = 0;
};

std::mutex queueLock;

std::map<DWORD, Queue>& Queues() {
    static auto* queues = new std::map<DWORD, Queue>();
    return *queues;
}

std::vector<Timer>& Timers() {
    static auto* timers = new std::vector<Timer>();
    return *timers;
}

BYTE keyState[256];
POINT cursor{0, 0};
UINT_PTR nextTimerId = 1;

uint64_t NowMs() {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool Matches(const MSG& m, HWND window, UINT low, UINT high) {
    if (window && m.hwnd != window && !IsChild(window, m.hwnd)) return false;
    if (low == 0 && high == 0) return true;
    return m.message >= low && m.message <= high;
}

struct Accelerators {
    std::vector<ACCEL> entries;
};

// Finds a window of the calling thread that waits to be painted.
Window* FindPaint(const std::vector<Window*>& windows, HWND filter, DWORD thread) {
    for (Window* w : windows) {
        if (!(w->style & WS_VISIBLE) || w->threadId != thread) continue;
        if (w->needsPaint && (!filter || w->handle == filter || IsChild(filter, w->handle))) return w;
        if (Window* c = FindPaint(w->children, filter, thread)) return c;
    }
    return nullptr;
}

}  // namespace

void DropMessagesFor(HWND window) {
    std::lock_guard<std::mutex> guard(queueLock);
    for (auto& entry : Queues()) {
        auto& q = entry.second.messages;
        q.erase(std::remove_if(q.begin(), q.end(), [window](const MSG& m) { return m.hwnd == window; }), q.end());
    }
    auto& timers = Timers();
    timers.erase(std::remove_if(timers.begin(), timers.end(), [window](const Timer& t) { return t.window == window; }),
                 timers.end());
}

void SetKeyDown(int virtualKey, bool down) {
    virtualKey &= 0xFF;
    if (down) {
        if (!(keyState[virtualKey] & 0x80)) keyState[virtualKey] ^= 0x01;
        keyState[virtualKey] |= 0x80;
    } else {
        keyState[virtualKey] &= static_cast<BYTE>(~0x80);
    }
}

POINT CursorPos() { return cursor; }
void SetCursorPos(POINT screen) { cursor = screen; }

}  // namespace user32

using namespace user32;

SHORT WINAPI GetKeyState(int virtualKey) {
    const BYTE s = keyState[virtualKey & 0xFF];
    return static_cast<SHORT>(((s & 0x80) ? 0xFF80 : 0) | (s & 0x01));
}

BOOL WINAPI GetKeyboardState(LPBYTE state) {
    if (state == nullptr) return FALSE;
    std::memcpy(state, keyState, sizeof keyState);
    return TRUE;
}

BOOL WINAPI SetKeyboardState(LPBYTE state) {
    if (state == nullptr) return FALSE;
    std::memcpy(keyState, state, sizeof keyState);
    return TRUE;
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD thread = GetCurrentThreadId();
    if (window) {
        Window* w = Find(window);
        if (w == nullptr) {
            SetLastError(1400);
            return FALSE;
        }
        thread = w->threadId;
    }
    MSG m{window, message, wParam, lParam, GetTickCount(), CursorPos()};
    std::lock_guard<std::mutex> guard(queueLock);
    Queues()[thread].messages.push_back(m);
    return TRUE;
}

BOOL WINAPI PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG m{nullptr, message, wParam, lParam, GetTickCount(), CursorPos()};
    std::lock_guard<std::mutex> guard(queueLock);
    Queues()[threadId].messages.push_back(m);
    return TRUE;
}

void WINAPI PostQuitMessage(int exitCode) {
    std::lock_guard<std::mutex> guard(queueLock);
    Queue& q = Queues()[GetCurrentThreadId()];
    q.quit = true;
    q.quitCode = exitCode;
}

LRESULT WINAPI CallWindowProcA(WNDPROC proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (proc == nullptr) return 0;
    return proc(window, message, wParam, lParam);
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(window);
    if (w == nullptr) {
        SetLastError(1400);
        return 0;
    }
    return CallWindowProcA(w->proc, window, message, wParam, lParam);
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT low, UINT high, UINT remove) {
    if (msg == nullptr) return FALSE;
    if (host::Host* h = host::Current()) h->Pump();
    const DWORD thread = GetCurrentThreadId();
    {
        std::lock_guard<std::mutex> guard(queueLock);
        Queue& q = Queues()[thread];
        for (auto it = q.messages.begin(); it != q.messages.end(); ++it) {
            if (!Matches(*it, window, low, high)) continue;
            *msg = *it;
            if (remove & PM_REMOVE) q.messages.erase(it);
            return TRUE;
        }
    }
    // Input comes after posted messages and before painting.
    {
        MSG input;
        if (TakeInput(&input)) {
            *msg = input;
            if (!(remove & PM_REMOVE) || !Matches(input, window, low, high)) {
                std::lock_guard<std::mutex> guard(queueLock);
                Queues()[thread].messages.push_front(input);
                if (!Matches(input, window, low, high)) return FALSE;
            }
            return TRUE;
        }
    }
    {
        std::lock_guard<std::mutex> guard(queueLock);
        Queue& q = Queues()[thread];
        if (q.quit && (low == 0 && high == 0)) {
            *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(q.quitCode), 0, GetTickCount(), CursorPos()};
            if (remove & PM_REMOVE) q.quit = false;
            return TRUE;
        }
    }
    if ((low == 0 && high == 0) || (low <= WM_PAINT && WM_PAINT <= high)) {
        if (Window* p = FindPaint(TopLevels(), window, thread)) {
            *msg = MSG{p->handle, WM_PAINT, 0, 0, GetTickCount(), CursorPos()};
            return TRUE;
        }
    }
    if ((low == 0 && high == 0) || (low <= WM_TIMER && WM_TIMER <= high)) {
        const uint64_t now = NowMs();
        for (Timer& t : Timers()) {
            if (t.due > now) continue;
            if (window && t.window != window) continue;
            *msg = MSG{t.window, WM_TIMER, t.id, reinterpret_cast<LPARAM>(t.proc), GetTickCount(), CursorPos()};
            if (remove & PM_REMOVE) t.due = now + t.elapse;
            return TRUE;
        }
    }
    return FALSE;
}

namespace user32 {
// How long until the next timer is due, for a loop that waits; at most `cap`.
DWORD TimeToNextTimer(DWORD cap) {
    const uint64_t now = NowMs();
    uint64_t best = cap;
    for (const Timer& t : Timers()) best = std::min<uint64_t>(best, t.due > now ? t.due - now : 0);
    return static_cast<DWORD>(best);
}
}  // namespace user32

BOOL WINAPI GetMessageA(LPMSG msg, HWND window, UINT low, UINT high) {
    for (;;) {
        if (PeekMessageA(msg, window, low, high, PM_REMOVE)) return msg->message != WM_QUIT;
        host::Host* h = host::Current();
        if (h == nullptr) return FALSE;  // nothing can ever arrive
        h->Wait(TimeToNextTimer(50));
    }
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    if (msg == nullptr) return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
        return 0;
    }
    Window* w = Find(msg->hwnd);
    if (w == nullptr) return 0;
    const LRESULT result = CallWindowProcA(w->proc, msg->hwnd, msg->message, msg->wParam, msg->lParam);
    if (msg->message == WM_PAINT) {
        // A window procedure that did not paint gets its update region validated
        // only by painting; keep it from being asked forever.
        if (Window* again = Find(msg->hwnd)) {
            again->needsPaint = false;
            again->needsErase = false;
        }
    }
    return result;
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
    if (msg == nullptr) return FALSE;
    if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) return FALSE;
    const UINT key = static_cast<UINT>(msg->wParam);
    char c = 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    if (key >= 'A' && key <= 'Z')
        c = static_cast<char>(shift ? key : key - 'A' + 'a');
    else if (key >= '0' && key <= '9')
        c = static_cast<char>(key);
    else if (key == VK_SPACE || key == VK_RETURN || key == VK_TAB || key == VK_BACK || key == VK_ESCAPE)
        c = static_cast<char>(key);
    if (c == 0) return TRUE;
    PostMessageA(msg->hwnd, msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR, static_cast<WPARAM>(c), msg->lParam);
    return TRUE;
}

HACCEL WINAPI CreateAcceleratorTableA(LPACCEL accelerators, int count) {
    if (accelerators == nullptr || count <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto* table = new Accelerators();
    table->entries.assign(accelerators, accelerators + count);
    return reinterpret_cast<HACCEL>(table);
}

BOOL WINAPI DestroyAcceleratorTable(HACCEL table) {
    if (table == nullptr) return FALSE;
    delete reinterpret_cast<Accelerators*>(table);
    return TRUE;
}

int WINAPI TranslateAcceleratorA(HWND window, HACCEL table, LPMSG msg) {
    if (window == nullptr || table == nullptr || msg == nullptr || !Find(window)) return 0;
    const UINT m = msg->message;
    if (m != WM_KEYDOWN && m != WM_SYSKEYDOWN && m != WM_CHAR && m != WM_SYSCHAR) return 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const bool alt = GetKeyState(VK_MENU) < 0 || m == WM_SYSKEYDOWN || m == WM_SYSCHAR;
    for (const ACCEL& a : reinterpret_cast<Accelerators*>(table)->entries) {
        if (a.fVirt & FVIRTKEY) {
            if (m != WM_KEYDOWN && m != WM_SYSKEYDOWN) continue;
            if (a.key != (msg->wParam & 0xFFFF)) continue;
            if (((a.fVirt & FSHIFT) != 0) != shift || ((a.fVirt & FCONTROL) != 0) != control ||
                ((a.fVirt & FALT) != 0) != alt)
                continue;
        } else {
            if (m != WM_CHAR && m != WM_SYSCHAR) continue;
            if (a.key != (msg->wParam & 0xFFFF)) continue;
            if (((a.fVirt & FALT) != 0) != alt) continue;
        }
        SendMessageA(window, a.fVirt & FALT ? WM_SYSCOMMAND : WM_COMMAND, MAKEWPARAM(a.cmd, 1), 0);
        return 1;
    }
    return 0;
}

UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    if (window && !Find(window)) return 0;
    if (elapse < 10) elapse = 10;
    auto& timers = Timers();
    if (window == nullptr) id = nextTimerId++;
    for (Timer& t : timers)
        if (t.window == window && t.id == id) {
            t.elapse = elapse;
            t.proc = proc;
            t.due = NowMs() + elapse;
            return window ? 1 : id;
        }
    timers.push_back(Timer{window, id, elapse, proc, NowMs() + elapse});
    return window ? 1 : id;
}

BOOL WINAPI KillTimer(HWND window, UINT_PTR id) {
    auto& timers = Timers();
    auto it = std::find_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.window == window && t.id == id; });
    if (it == timers.end()) return FALSE;
    timers.erase(it);
    return TRUE;
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(window);
    if (w == nullptr) return 0;
    switch (message) {
        case WM_NCCREATE: {
            auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
            if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) w->text = cs->lpszName;
            return TRUE;
        }
        case WM_SETTEXT:
            w->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
            if (!w->parent)
                if (host::Host* h = host::Current()) h->WindowChanged(w);
            return TRUE;
        case WM_GETTEXT: {
            if (wParam == 0 || lParam == 0) return 0;
            char* out = reinterpret_cast<char*>(lParam);
            const size_t n = std::min(w->text.size(), static_cast<size_t>(wParam) - 1);
            std::memcpy(out, w->text.data(), n);
            out[n] = '\0';
            return static_cast<LRESULT>(n);
        }
        case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->text.size());
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(window, &ps);
            EndPaint(window, &ps);
            return 0;
        }
        case WM_ERASEBKGND: {
            HBRUSH brush = reinterpret_cast<HBRUSH>(GetClassLongPtrA(window, GCLP_HBRBACKGROUND));
            if (brush == nullptr) return 0;
            RECT r;
            GetClientRect(window, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, brush);
            return 1;
        }
        case WM_CLOSE: DestroyWindow(window); return 0;
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case SC_CLOSE: SendMessageA(window, WM_CLOSE, 0, 0); return 0;
                case SC_MINIMIZE: ShowWindow(window, SW_MINIMIZE); return 0;
                case SC_RESTORE: ShowWindow(window, SW_RESTORE); return 0;
                case SC_MAXIMIZE: ShowWindow(window, SW_MAXIMIZE); return 0;
                default: return 0;
            }
        case WM_SYSKEYDOWN:
            // Alt+F4 asks the top-level window to close.
            if (wParam == VK_F4 && (lParam & (1 << 29))) {
                PostMessageA(TopLevelOf(w)->handle, WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) SetFocus(window);
            return 0;
        case WM_NCACTIVATE: return TRUE;
        case WM_MOUSEACTIVATE: return 1;  // MA_ACTIVATE
        case WM_WINDOWPOSCHANGED: {
            auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
            if (pos == nullptr) return 0;
            if (!(pos->flags & SWP_NOMOVE))
                SendMessageA(window, WM_MOVE, 0, MAKELPARAM(w->rect.left + w->border.left, w->rect.top + w->border.top));
            if (!(pos->flags & SWP_NOSIZE) && Find(window)) {
                const RECT client = ClientRectOf(w);
                SendMessageA(window, WM_SIZE, w->zoomed ? SIZE_MAXIMIZED : SIZE_RESTORED,
                             MAKELPARAM(client.right, client.bottom));
            }
            return 0;
        }
        case WM_SETCURSOR:
        case WM_NCDESTROY:
        case WM_DESTROY:
        default: return 0;
    }
}
