// Window classes, window objects and their tree, styles and rectangles,
// showing, activation, focus and capture.
#include <strings.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

#include "host/host.h"
#include "user32/internal.h"

namespace user32 {
namespace {

constexpr DWORD ERROR_CLASS_ALREADY_EXISTS = 1410;
constexpr DWORD ERROR_CLASS_DOES_NOT_EXIST = 1411;
constexpr DWORD ERROR_CLASS_HAS_WINDOWS = 1412;
constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;
constexpr DWORD ERROR_TLW_WITH_WSCHILD = 1406;
constexpr DWORD ERROR_CANNOT_FIND_WND_CLASS = 1407;

std::vector<std::unique_ptr<WindowClass>>& Classes() {
    static auto* classes = new std::vector<std::unique_ptr<WindowClass>>();
    return *classes;
}

std::map<uintptr_t, Window*>& Handles() {
    static auto* handles = new std::map<uintptr_t, Window*>();
    return *handles;
}

uintptr_t nextHandle = 0x10020;
ATOM nextAtom = 0xC000;
HWND activeWindow = nullptr;
HWND focusWindow = nullptr;
HWND captureWindow = nullptr;
int cursorCount = 0;

WindowClass* FindClass(LPCSTR name, HINSTANCE instance, bool anyInstance) {
    if (name == nullptr) return nullptr;
    for (auto& c : Classes()) {
        const bool nameMatches = IS_INTRESOURCE(name) ? c->atom == static_cast<ATOM>(reinterpret_cast<uintptr_t>(name))
                                                      : strcasecmp(c->name.c_str(), name) == 0;
        if (!nameMatches) continue;
        if (anyInstance || c->system || c->instance == instance) return c.get();
    }
    return nullptr;
}

void EnsureSystemClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterSystemClasses();
}

HINSTANCE ProgramInstance() { return GetModuleHandleA(nullptr); }

void Unlink(Window* window) {
    std::vector<Window*>& list = window->parent ? window->parent->children : TopLevels();
    list.erase(std::remove(list.begin(), list.end(), window), list.end());
}

void InvalidateTree(Window* window) {
    window->needsPaint = true;
    window->needsErase = true;
    for (Window* child : window->children) InvalidateTree(child);
}

LRESULT Send(Window* window, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(window->handle, message, wParam, lParam);
}

void SendSizeAndMove(Window* window) {
    const RECT client = ClientRectOf(window);
    Send(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    POINT origin{window->rect.left + window->border.left, window->rect.top + window->border.top};
    Send(window, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
}

void NotifyParents(Window* window, UINT event) {
    if (window->exStyle & WS_EX_NOPARENTNOTIFY) return;
    for (Window* w = window; w->parent && (w->style & WS_CHILD); w = w->parent) {
        Send(w->parent, WM_PARENTNOTIFY, MAKEWPARAM(event, static_cast<WORD>(window->id)),
             reinterpret_cast<LPARAM>(window->handle));
        if (w->parent->exStyle & WS_EX_NOPARENTNOTIFY) break;
    }
}

// The next top-level window that may become active once `leaving` goes.
Window* NextActivatable(Window* leaving) {
    for (Window* w : TopLevels())
        if (w != leaving && (w->style & WS_VISIBLE) && !(w->style & WS_DISABLED) && !w->iconic && !w->destroying)
            return w;
    return nullptr;
}

void Deactivate() {
    Window* old = Find(activeWindow);
    activeWindow = nullptr;
    if (old == nullptr) return;
    Send(old, WM_NCACTIVATE, FALSE, 0);
    Send(old, WM_ACTIVATE, WA_INACTIVE, 0);
    Window* focus = Find(focusWindow);
    if (focus && TopLevelOf(focus) == old) {
        focusWindow = nullptr;
        Send(focus, WM_KILLFOCUS, 0, 0);
    }
}

void Activate(Window* window, WORD how) {
    Window* old = Find(activeWindow);
    if (old == window) return;
    HWND oldHandle = old ? old->handle : nullptr;
    if (old) {
        activeWindow = nullptr;
        Send(old, WM_NCACTIVATE, FALSE, reinterpret_cast<LPARAM>(window ? window->handle : nullptr));
        Send(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, old->iconic), reinterpret_cast<LPARAM>(window ? window->handle : nullptr));
        Window* focus = Find(focusWindow);
        if (focus && TopLevelOf(focus) == old) {
            focusWindow = nullptr;
            if (Find(focus->handle)) Send(focus, WM_KILLFOCUS, 0, 0);
        }
    }
    if (window == nullptr || !Find(window->handle)) return;
    activeWindow = window->handle;
    auto& tops = TopLevels();
    tops.erase(std::remove(tops.begin(), tops.end(), window), tops.end());
    tops.insert(tops.begin(), window);
    if (!old) Send(window, WM_ACTIVATEAPP, TRUE, 0);
    Send(window, WM_NCACTIVATE, TRUE, reinterpret_cast<LPARAM>(oldHandle));
    Send(window, WM_ACTIVATE, MAKEWPARAM(how, window->iconic), reinterpret_cast<LPARAM>(oldHandle));
    // The focus follows the activation unless the window moved it inside itself.
    if (activeWindow == window->handle) {
        Window* focus = Find(focusWindow);
        if (!focus || TopLevelOf(focus) != window) SetFocus(window->handle);
    }
    if (host::Host* h = host::Current()) h->WindowChanged(window);
}


void SendDestroy(Window* window) {
    Send(window, WM_DESTROY, 0, 0);
    std::vector<Window*> children = window->children;
    for (Window* child : children)
        if (Find(child->handle)) SendDestroy(child);
}

void FreeTree(Window* window) {
    std::vector<Window*> children = window->children;
    for (Window* child : children)
        if (Find(child->handle)) FreeTree(child);
    SendMessageA(window->handle, WM_NCDESTROY, 0, 0);
    if (window->parent == nullptr)
        if (host::Host* h = host::Current()) h->WindowDestroyed(window);
    Unlink(window);
    Handles().erase(reinterpret_cast<uintptr_t>(window->handle));
    if (window->windowClass) window->windowClass->windows--;
    if (focusWindow == window->handle) focusWindow = nullptr;
    if (captureWindow == window->handle) captureWindow = nullptr;
    if (activeWindow == window->handle) activeWindow = nullptr;
    delete window;
}

void MarkDestroying(Window* window) {
    window->destroying = true;
    for (Window* child : window->children) MarkDestroying(child);
}

}  // namespace

void DropMessagesFor(HWND window);

std::vector<Window*>& TopLevels() {
    static auto* tops = new std::vector<Window*>();
    return *tops;
}

Window* Find(HWND handle) {
    auto& handles = Handles();
    auto it = handles.find(reinterpret_cast<uintptr_t>(handle));
    return it == handles.end() ? nullptr : it->second;
}

Window* TopLevelOf(Window* window) {
    while (window && window->parent) window = window->parent;
    return window;
}

RECT ClientRectOf(const Window* window) {
    RECT r{0, 0, window->rect.right - window->rect.left - window->border.left - window->border.right,
           window->rect.bottom - window->rect.top - window->border.top - window->border.bottom};
    if (r.right < 0) r.right = 0;
    if (r.bottom < 0) r.bottom = 0;
    return r;
}

RECT ClientInTopLevel(Window* window) {
    RECT client = ClientRectOf(window);
    int x = 0, y = 0;
    for (Window* w = window; w->parent; w = w->parent) {
        x += w->rect.left + w->border.left;
        y += w->rect.top + w->border.top;
    }
    return RECT{x, y, x + client.right, y + client.bottom};
}

bool VisibleChain(const Window* window) {
    for (; window; window = window->parent)
        if (!(window->style & WS_VISIBLE)) return false;
    return true;
}

void FrameFor(DWORD style, DWORD exStyle, RECT* border) {
    int side = 0;
    if (style & WS_THICKFRAME)
        side = GetSystemMetrics(SM_CXFRAME);
    else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
        side = GetSystemMetrics(SM_CXDLGFRAME);
    else if (style & WS_BORDER)
        side = GetSystemMetrics(SM_CXBORDER);
    if (exStyle & WS_EX_CLIENTEDGE) side += GetSystemMetrics(SM_CXEDGE);
    if (exStyle & WS_EX_STATICEDGE) side += GetSystemMetrics(SM_CXBORDER);
    *border = RECT{side, side, side, side};
    if ((style & WS_CAPTION) == WS_CAPTION) border->top += GetSystemMetrics(SM_CYCAPTION);
}

void ReleaseCaptureOf(Window* window) {
    if (window && captureWindow == window->handle) ReleaseCapture();
}

}  // namespace user32

using namespace user32;

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* wc) {
    EnsureSystemClasses();
    if (wc == nullptr || wc->cbSize != sizeof(WNDCLASSEXA) || wc->lpszClassName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    HINSTANCE instance = wc->hInstance ? wc->hInstance : ProgramInstance();
    for (auto& c : Classes())
        if (!c->system && c->instance == instance && strcasecmp(c->name.c_str(), wc->lpszClassName) == 0) {
            SetLastError(ERROR_CLASS_ALREADY_EXISTS);
            return 0;
        }
    auto c = std::make_unique<WindowClass>();
    c->name = wc->lpszClassName;
    c->style = wc->style;
    c->proc = wc->lpfnWndProc;
    c->classExtra = wc->cbClsExtra;
    c->windowExtra = wc->cbWndExtra;
    c->instance = instance;
    c->icon = wc->hIcon;
    c->cursor = wc->hCursor;
    c->background = wc->hbrBackground;
    c->atom = nextAtom++;
    ATOM atom = c->atom;
    Classes().push_back(std::move(c));
    return atom;
}

ATOM WINAPI RegisterClassA(const WNDCLASSA* wc) {
    if (wc == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WNDCLASSEXA ex{};
    ex.cbSize = sizeof ex;
    ex.style = wc->style;
    ex.lpfnWndProc = wc->lpfnWndProc;
    ex.cbClsExtra = wc->cbClsExtra;
    ex.cbWndExtra = wc->cbWndExtra;
    ex.hInstance = wc->hInstance;
    ex.hIcon = wc->hIcon;
    ex.hCursor = wc->hCursor;
    ex.hbrBackground = wc->hbrBackground;
    ex.lpszMenuName = wc->lpszMenuName;
    ex.lpszClassName = wc->lpszClassName;
    return RegisterClassExA(&ex);
}

namespace user32 {
// Registers a class of the system itself (BUTTON, the message box).
void RegisterSystemClass(const char* name, UINT style, WNDPROC proc, HBRUSH background) {
    auto c = std::make_unique<WindowClass>();
    c->name = name;
    c->style = style;
    c->proc = proc;
    c->background = background;
    c->cursor = LoadCursorA(nullptr, IDC_ARROW);
    c->system = true;
    c->atom = nextAtom++;
    Classes().push_back(std::move(c));
}
}  // namespace user32

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE instance) {
    EnsureSystemClasses();
    if (instance == nullptr) instance = ProgramInstance();
    auto& classes = Classes();
    for (size_t i = 0; i < classes.size(); ++i) {
        WindowClass* c = classes[i].get();
        if (c->system || c->instance != instance) continue;
        const bool match = IS_INTRESOURCE(className) ? c->atom == static_cast<ATOM>(reinterpret_cast<uintptr_t>(className))
                                                     : strcasecmp(c->name.c_str(), className) == 0;
        if (!match) continue;
        if (c->windows > 0) {
            SetLastError(ERROR_CLASS_HAS_WINDOWS);
            return FALSE;
        }
        classes.erase(classes.begin() + static_cast<long>(i));
        return TRUE;
    }
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
}

BOOL WINAPI GetClassInfoA(HINSTANCE instance, LPCSTR className, LPWNDCLASSA wc) {
    EnsureSystemClasses();
    WindowClass* c = FindClass(className, instance ? instance : ProgramInstance(), false);
    if (c == nullptr || wc == nullptr) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    wc->style = c->style;
    wc->lpfnWndProc = c->proc;
    wc->cbClsExtra = c->classExtra;
    wc->cbWndExtra = c->windowExtra;
    wc->hInstance = c->instance;
    wc->hIcon = c->icon;
    wc->hCursor = c->cursor;
    wc->hbrBackground = c->background;
    wc->lpszMenuName = nullptr;
    wc->lpszClassName = className;
    return TRUE;
}

int WINAPI GetClassNameA(HWND handle, LPSTR name, int size) {
    Window* w = Find(handle);
    if (w == nullptr || name == nullptr || size <= 0) return 0;
    const std::string& n = w->windowClass->name;
    const int count = std::min<int>(static_cast<int>(n.size()), size - 1);
    std::memcpy(name, n.data(), static_cast<size_t>(count));
    name[count] = '\0';
    return count;
}

ULONG_PTR WINAPI GetClassLongPtrA(HWND handle, int index) {
    Window* w = Find(handle);
    if (w == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    WindowClass* c = w->windowClass;
    switch (index) {
        case GCLP_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(c->background);
        case GCLP_HCURSOR: return reinterpret_cast<ULONG_PTR>(c->cursor);
        case GCLP_HICON: return reinterpret_cast<ULONG_PTR>(c->icon);
        case GCLP_WNDPROC: return reinterpret_cast<ULONG_PTR>(c->proc);
        case GCL_STYLE: return c->style;
        default: SetLastError(ERROR_INVALID_PARAMETER); return 0;
    }
}

ULONG_PTR WINAPI SetClassLongPtrA(HWND handle, int index, LONG_PTR value) {
    Window* w = Find(handle);
    if (w == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    const ULONG_PTR old = GetClassLongPtrA(handle, index);
    WindowClass* c = w->windowClass;
    switch (index) {
        case GCLP_HBRBACKGROUND: c->background = reinterpret_cast<HBRUSH>(value); break;
        case GCLP_HCURSOR: c->cursor = reinterpret_cast<HCURSOR>(value); break;
        case GCLP_HICON: c->icon = reinterpret_cast<HICON>(value); break;
        case GCLP_WNDPROC: c->proc = reinterpret_cast<WNDPROC>(value); break;
        case GCL_STYLE: c->style = static_cast<UINT>(value); break;
        default: return 0;
    }
    return old;
}

DWORD WINAPI GetClassLongA(HWND handle, int index) { return static_cast<DWORD>(GetClassLongPtrA(handle, index)); }

DWORD WINAPI SetClassLongA(HWND handle, int index, LONG value) {
    return static_cast<DWORD>(SetClassLongPtrA(handle, index, value));
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                            int height, HWND parentHandle, HMENU menu, HINSTANCE instance, LPVOID param) {
    EnsureSystemClasses();
    WindowClass* c = FindClass(className, instance ? instance : ProgramInstance(), false);
    if (c == nullptr) c = FindClass(className, nullptr, true);
    if (c == nullptr) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    Window* parent = nullptr;
    Window* owner = nullptr;
    if (style & WS_CHILD) {
        parent = Find(parentHandle);
        if (parent == nullptr) {
            SetLastError(parentHandle ? ERROR_INVALID_WINDOW_HANDLE : ERROR_TLW_WITH_WSCHILD);
            return nullptr;
        }
    } else if (parentHandle) {
        owner = TopLevelOf(Find(parentHandle));
        if (owner == nullptr) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
    }
    auto* w = new Window();
    w->handle = reinterpret_cast<HWND>(nextHandle);
    nextHandle += 4;
    w->windowClass = c;
    c->windows++;
    w->proc = c->proc;
    const bool visible = (style & WS_VISIBLE) != 0;
    w->style = style & ~WS_VISIBLE;
    if (!(style & WS_CHILD)) {
        w->style |= WS_CLIPSIBLINGS;
        if (!(style & WS_POPUP)) w->style |= WS_CAPTION;
        if ((w->style & WS_CAPTION) == WS_CAPTION || (exStyle & WS_EX_DLGMODALFRAME)) exStyle |= WS_EX_WINDOWEDGE;
    }
    w->exStyle = exStyle;
    w->id = (style & WS_CHILD) ? reinterpret_cast<LONG_PTR>(menu) : 0;
    w->instance = instance;
    w->parent = parent;
    w->owner = owner;
    w->threadId = GetCurrentThreadId();
    if (x == CW_USEDEFAULT) x = y = 0;
    if (width == CW_USEDEFAULT) {
        width = 400;
        height = 300;
    }
    // Overlapped windows keep at least the minimum tracking size, and get
    // their first WM_SIZE and WM_MOVE when they are shown.
    const bool overlapped = !(style & (WS_POPUP | WS_CHILD));
    if (overlapped) {
        width = std::max(width, GetSystemMetrics(SM_CXMINTRACK));
        height = std::max(height, GetSystemMetrics(SM_CYMINTRACK));
    }
    w->needSize = overlapped;
    w->rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
    FrameFor(w->style, w->exStyle, &w->border);
    Handles()[reinterpret_cast<uintptr_t>(w->handle)] = w;
    if (parent)
        parent->children.push_back(w);  // a new child goes to the bottom of the z-order
    else
        TopLevels().insert(TopLevels().begin(), w);
    if (!parent) ResizeSurface(w);
    HWND handle = w->handle;

    CREATESTRUCTA cs{};
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hMenu = menu;
    cs.hwndParent = parentHandle;
    cs.cy = height;
    cs.cx = width;
    cs.y = y;
    cs.x = x;
    cs.style = static_cast<LONG>(style);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;
    if (!SendMessageA(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        if (Find(handle)) DestroyWindow(handle);
        return nullptr;
    }
    if (!Find(handle)) return nullptr;
    if (SendMessageA(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        if (Find(handle)) DestroyWindow(handle);
        return nullptr;
    }
    if (!Find(handle)) return nullptr;
    if (!w->needSize) SendSizeAndMove(w);
    if (!Find(handle)) return nullptr;
    if (parent) NotifyParents(w, WM_CREATE);
    if (!Find(handle)) return nullptr;
    if (visible) ShowWindow(handle, (style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOW);
    return Find(handle) ? handle : nullptr;
}

BOOL WINAPI DestroyWindow(HWND handle) {
    Window* w = Find(handle);
    if (w == nullptr || w->threadId != GetCurrentThreadId()) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (w->destroying) return TRUE;
    if (w->parent) NotifyParents(w, WM_DESTROY);
    if (!Find(handle) || w->destroying) return TRUE;
    // Owned windows go first.
    std::vector<HWND> owned;
    for (Window* top : TopLevels())
        if (top->owner == w) owned.push_back(top->handle);
    for (HWND o : owned) DestroyWindow(o);
    if (!Find(handle)) return TRUE;
    if (w->style & WS_VISIBLE)
        SetWindowPos(handle, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!Find(handle)) return TRUE;
    MarkDestroying(w);
    if (Window* capture = Find(captureWindow))
        if (capture == w || IsChild(handle, captureWindow)) ReleaseCapture();
    if (Window* focus = Find(focusWindow))
        if (focus == w || IsChild(handle, focusWindow)) {
            if (w->parent) {
                SetFocus(w->parent->handle);
            } else {
                focusWindow = nullptr;
            }
        }
    if (activeWindow == handle) {
        Window* next = NextActivatable(w);
        if (next)
            Activate(next, WA_ACTIVE);
        else
            Deactivate();
    }
    SendDestroy(w);
    FreeTree(w);
    DropMessagesFor(handle);
    return TRUE;
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND handle, int index) {
    Window* w = Find(handle);
    if (w == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    switch (index) {
        case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
        case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
        case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>(w->parent ? w->parent->handle : w->owner ? w->owner->handle : nullptr);
        case GWLP_ID: return w->id;
        case GWL_STYLE: return static_cast<LONG>(w->style);
        case GWL_EXSTYLE: return static_cast<LONG>(w->exStyle);
        case GWLP_USERDATA: return w->userData;
        default: SetLastError(ERROR_INVALID_PARAMETER); return 0;
    }
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND handle, int index, LONG_PTR value) {
    Window* w = Find(handle);
    if (w == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    const LONG_PTR old = GetWindowLongPtrA(handle, index);
    switch (index) {
        case GWLP_WNDPROC: w->proc = reinterpret_cast<WNDPROC>(value); break;
        case GWLP_HINSTANCE: w->instance = reinterpret_cast<HINSTANCE>(value); break;
        case GWLP_ID: w->id = value; break;
        case GWL_STYLE: w->style = static_cast<DWORD>(value); break;
        case GWL_EXSTYLE: w->exStyle = static_cast<DWORD>(value); break;
        case GWLP_USERDATA: w->userData = value; break;
        case GWLP_HWNDPARENT:
            if (!w->parent) w->owner = TopLevelOf(Find(reinterpret_cast<HWND>(value)));
            break;
        default: return 0;
    }
    SetLastError(ERROR_SUCCESS);
    return old;
}

LONG WINAPI GetWindowLongA(HWND handle, int index) { return static_cast<LONG>(GetWindowLongPtrA(handle, index)); }

LONG WINAPI SetWindowLongA(HWND handle, int index, LONG value) {
    return static_cast<LONG>(SetWindowLongPtrA(handle, index, value));
}

BOOL WINAPI IsWindow(HWND handle) { return Find(handle) != nullptr; }

BOOL WINAPI IsChild(HWND parentHandle, HWND handle) {
    Window* w = Find(handle);
    Window* parent = Find(parentHandle);
    if (!w || !parent) return FALSE;
    for (Window* p = w->parent; p; p = p->parent)
        if (p == parent) return TRUE;
    return FALSE;
}

BOOL WINAPI IsWindowVisible(HWND handle) {
    Window* w = Find(handle);
    return w && VisibleChain(w);
}

BOOL WINAPI IsWindowEnabled(HWND handle) {
    Window* w = Find(handle);
    return w && !(w->style & WS_DISABLED);
}

BOOL WINAPI IsIconic(HWND handle) {
    Window* w = Find(handle);
    return w && w->iconic;
}

BOOL WINAPI EnableWindow(HWND handle, BOOL enable) {
    Window* w = Find(handle);
    if (w == nullptr) return FALSE;
    const BOOL wasDisabled = (w->style & WS_DISABLED) != 0;
    if (enable && wasDisabled) {
        w->style &= ~WS_DISABLED;
        SendMessageA(handle, WM_ENABLE, TRUE, 0);
    } else if (!enable && !wasDisabled) {
        w->style |= WS_DISABLED;
        if (Window* focus = Find(focusWindow))
            if (focus == w || IsChild(handle, focusWindow)) SetFocus(nullptr);
        ReleaseCaptureOf(w);
        SendMessageA(handle, WM_ENABLE, FALSE, 0);
    }
    if (Find(handle)) InvalidateRect(handle, nullptr, TRUE);
    return wasDisabled;
}

BOOL WINAPI ShowWindow(HWND handle, int command) {
    Window* w = Find(handle);
    if (w == nullptr) return FALSE;
    const BOOL wasVisible = (w->style & WS_VISIBLE) != 0;
    const bool top = w->parent == nullptr;
    switch (command) {
        case SW_HIDE:
            if (wasVisible)
                SetWindowPos(handle, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER);
            return wasVisible;
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
        case SW_SHOWMINNOACTIVE:
            if (!wasVisible) SetWindowPos(handle, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            if (!w->iconic) {
                w->iconic = true;
                w->style |= WS_MINIMIZE;
                if (top && activeWindow == handle) {
                    Window* next = NextActivatable(w);
                    if (next) Activate(next, WA_ACTIVE); else Deactivate();
                }
                if (Find(handle)) SendMessageA(handle, WM_SIZE, SIZE_MINIMIZED, 0);
                if (host::Host* h = host::Current(); h && Find(handle)) h->WindowChanged(w);
            }
            return wasVisible;
        case SW_RESTORE:
        case SW_SHOWMAXIMIZED:
        case SW_SHOWNORMAL:
        case SW_SHOW:
        case SW_SHOWNA:
        case SW_SHOWNOACTIVATE:
        default: {
            if (!wasVisible)
                SetWindowPos(handle, nullptr, 0, 0, 0, 0,
                             SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            if (!Find(handle)) return wasVisible;
            const bool restore = w->iconic && (command == SW_RESTORE || command == SW_SHOWNORMAL);
            const bool activate = top && command != SW_SHOWNA && command != SW_SHOWNOACTIVATE &&
                                  (!wasVisible || restore || command == SW_SHOWMAXIMIZED);
            if (restore) {
                w->iconic = false;
                w->style &= ~WS_MINIMIZE;
            }
            if (activate) Activate(w, WA_ACTIVE);
            if (!Find(handle)) return wasVisible;
            if (w->needSize && !w->iconic && command != SW_SHOWMAXIMIZED) {
                w->needSize = false;
                SendSizeAndMove(w);
                if (!Find(handle)) return wasVisible;
            }
            if (command == SW_SHOWMAXIMIZED && top && !w->zoomed) {
                w->needSize = false;
                w->zoomed = true;
                w->style |= WS_MAXIMIZE;
                int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
                w->rect = RECT{-w->border.left, -(w->border.top - GetSystemMetrics(SM_CYCAPTION)),
                               sw + w->border.right, sh + w->border.bottom};
                ResizeSurface(w);
                const RECT client = ClientRectOf(w);
                SendMessageA(handle, WM_MOVE, 0, MAKELPARAM(w->rect.left + w->border.left, w->rect.top + w->border.top));
                if (Find(handle)) SendMessageA(handle, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(client.right, client.bottom));
            } else if (restore) {
                const RECT client = ClientRectOf(w);
                SendMessageA(handle, WM_SIZE, w->zoomed ? SIZE_MAXIMIZED : SIZE_RESTORED,
                             MAKELPARAM(client.right, client.bottom));
            }
            if (Find(handle)) {
                InvalidateTree(w);
                if (host::Host* h = host::Current()) h->WindowChanged(w);
            }
            return wasVisible;
        }
    }
}

BOOL WINAPI UpdateWindow(HWND handle) {
    Window* w = Find(handle);
    if (w == nullptr) return FALSE;
    if (w->needsPaint && VisibleChain(w)) SendMessageA(handle, WM_PAINT, 0, 0);
    return TRUE;
}

HWND WINAPI GetParent(HWND handle) {
    Window* w = Find(handle);
    if (w == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (w->style & WS_CHILD) return w->parent ? w->parent->handle : nullptr;
    if ((w->style & WS_POPUP) && w->owner) return w->owner->handle;
    return nullptr;
}

HWND WINAPI GetAncestor(HWND handle, UINT flags) {
    Window* w = Find(handle);
    if (w == nullptr) return nullptr;
    if (flags == GA_PARENT) return w->parent ? w->parent->handle : nullptr;
    return TopLevelOf(w)->handle;
}

HWND WINAPI GetDlgItem(HWND dialog, int id) {
    Window* w = Find(dialog);
    if (w == nullptr) return nullptr;
    for (Window* child : w->children)
        if (child->id == id) return child->handle;
    return nullptr;
}

int WINAPI GetDlgCtrlID(HWND handle) {
    Window* w = Find(handle);
    return w ? static_cast<int>(w->id) : 0;
}

HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName) {
    for (Window* w : TopLevels()) {
        if (className && strcasecmp(w->windowClass->name.c_str(), className) != 0) continue;
        if (windowName && w->text != windowName) continue;
        return w->handle;
    }
    return nullptr;
}

BOOL WINAPI GetClientRect(HWND handle, LPRECT rect) {
    Window* w = Find(handle);
    if (w == nullptr || rect == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    *rect = ClientRectOf(w);
    return TRUE;
}

BOOL WINAPI GetWindowRect(HWND handle, LPRECT rect) {
    Window* w = Find(handle);
    if (w == nullptr || rect == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    *rect = w->rect;
    if (w->parent) {
        POINT origin{0, 0};
        ClientToScreen(w->parent->handle, &origin);
        rect->left += origin.x;
        rect->right += origin.x;
        rect->top += origin.y;
        rect->bottom += origin.y;
    }
    return TRUE;
}

BOOL WINAPI ClientToScreen(HWND handle, LPPOINT point) {
    Window* w = Find(handle);
    if (w == nullptr || point == nullptr) return FALSE;
    for (; w; w = w->parent) {
        point->x += w->rect.left + w->border.left;
        point->y += w->rect.top + w->border.top;
    }
    return TRUE;
}

BOOL WINAPI ScreenToClient(HWND handle, LPPOINT point) {
    POINT origin{0, 0};
    if (point == nullptr || !ClientToScreen(handle, &origin)) return FALSE;
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

BOOL WINAPI SetWindowPos(HWND handle, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    Window* w = Find(handle);
    if (w == nullptr) return FALSE;
    WINDOWPOS pos{handle, insertAfter, x, y, cx, cy, flags};
    if (flags & SWP_NOMOVE) {
        pos.x = w->rect.left;
        pos.y = w->rect.top;
    }
    if (flags & SWP_NOSIZE) {
        pos.cx = w->rect.right - w->rect.left;
        pos.cy = w->rect.bottom - w->rect.top;
    }
    SendMessageA(handle, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    if (!Find(handle)) return FALSE;
    const bool moved = pos.x != w->rect.left || pos.y != w->rect.top;
    const bool sized = pos.cx != w->rect.right - w->rect.left || pos.cy != w->rect.bottom - w->rect.top;
    if (!moved) pos.flags |= SWP_NOMOVE;
    if (!sized) pos.flags |= SWP_NOSIZE;
    if (flags & SWP_SHOWWINDOW) {
        if (w->style & WS_VISIBLE) {
            pos.flags &= ~SWP_SHOWWINDOW;
        } else {
            SendMessageA(handle, WM_SHOWWINDOW, TRUE, 0);
            if (!Find(handle)) return FALSE;
            w->style |= WS_VISIBLE;
            InvalidateTree(w);
        }
    }
    if (flags & SWP_HIDEWINDOW) {
        if (!(w->style & WS_VISIBLE)) {
            pos.flags &= ~SWP_HIDEWINDOW;
        } else {
            SendMessageA(handle, WM_SHOWWINDOW, FALSE, 0);
            if (!Find(handle)) return FALSE;
            w->style &= ~WS_VISIBLE;
            if (Window* focus = Find(focusWindow))
                if (focus == w || IsChild(handle, focusWindow)) {
                    if (w->parent) SetFocus(w->parent->handle); else focusWindow = nullptr;
                }
            if (!w->parent && activeWindow == handle && !w->destroying && !(flags & SWP_NOACTIVATE)) {
                Window* next = NextActivatable(w);
                if (next) Activate(next, WA_ACTIVE); else Deactivate();
            }
            if (w->parent) InvalidateRect(w->parent->handle, nullptr, TRUE);
        }
    }
    w->rect = RECT{pos.x, pos.y, pos.x + std::max(pos.cx, 0), pos.y + std::max(pos.cy, 0)};
    if (sized) {
        if (!w->parent) ResizeSurface(w);
        InvalidateTree(w);
    }
    if (moved && w->parent) InvalidateRect(w->parent->handle, nullptr, TRUE);
    if (!w->parent)
        if (host::Host* h = host::Current()) h->WindowChanged(w);
    SendMessageA(handle, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    return TRUE;
}

BOOL WINAPI MoveWindow(HWND handle, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(handle, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL WINAPI AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL, DWORD exStyle) {
    if (rect == nullptr) return FALSE;
    RECT border;
    FrameFor(style, exStyle, &border);
    rect->left -= border.left;
    rect->top -= border.top;
    rect->right += border.right;
    rect->bottom += border.bottom;
    return TRUE;
}

BOOL WINAPI AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu) { return AdjustWindowRectEx(rect, style, menu, 0); }

BOOL WINAPI SetWindowTextA(HWND handle, LPCSTR text) {
    if (!Find(handle)) return FALSE;
    return static_cast<BOOL>(SendMessageA(handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

int WINAPI GetWindowTextA(HWND handle, LPSTR text, int size) {
    if (!Find(handle) || text == nullptr || size <= 0) return 0;
    return static_cast<int>(SendMessageA(handle, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(text)));
}

int WINAPI GetWindowTextLengthA(HWND handle) {
    if (!Find(handle)) return 0;
    return static_cast<int>(SendMessageA(handle, WM_GETTEXTLENGTH, 0, 0));
}

namespace {
bool EnumTree(const std::vector<HWND>& handles, WNDENUMPROC callback, LPARAM param, bool recurse) {
    for (HWND h : handles) {
        Window* w = Find(h);
        if (w == nullptr) continue;
        std::vector<HWND> children;
        for (Window* c : w->children) children.push_back(c->handle);
        if (!callback(h, param)) return false;
        if (recurse && !EnumTree(children, callback, param, true)) return false;
    }
    return true;
}
}  // namespace

BOOL WINAPI EnumWindows(WNDENUMPROC callback, LPARAM param) {
    std::vector<HWND> tops;
    for (Window* w : TopLevels()) tops.push_back(w->handle);
    EnumTree(tops, callback, param, false);
    return TRUE;
}

BOOL WINAPI EnumThreadWindows(DWORD threadId, WNDENUMPROC callback, LPARAM param) {
    std::vector<HWND> tops;
    for (Window* w : TopLevels())
        if (w->threadId == threadId) tops.push_back(w->handle);
    return EnumTree(tops, callback, param, false) ? TRUE : FALSE;
}

BOOL WINAPI EnumChildWindows(HWND parentHandle, WNDENUMPROC callback, LPARAM param) {
    std::vector<HWND> start;
    if (parentHandle == nullptr) {
        for (Window* w : TopLevels()) start.push_back(w->handle);
    } else {
        Window* parent = Find(parentHandle);
        if (parent == nullptr) return FALSE;
        for (Window* c : parent->children) start.push_back(c->handle);
    }
    return EnumTree(start, callback, param, true) ? TRUE : FALSE;
}

DWORD WINAPI GetWindowThreadProcessId(HWND handle, LPDWORD processId) {
    Window* w = Find(handle);
    if (w == nullptr) {
        if (processId) *processId = 0;
        return 0;
    }
    if (processId) *processId = GetCurrentProcessId();
    return w->threadId;
}

int WINAPI GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXSCREEN:
        case SM_CYSCREEN: {
            int width = 0, height = 0;
            host::Host* h = host::Current();
            if (!h || !h->DisplayMode(&width, &height)) {
                width = 1024;
                height = 768;
            }
            return index == SM_CXSCREEN ? width : height;
        }
        case SM_CYCAPTION: return 19;
        case SM_CXBORDER:
        case SM_CYBORDER: return 1;
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME: return 3;
        case SM_CXFRAME:
        case SM_CYFRAME: return 4;
        case SM_CXEDGE:
        case SM_CYEDGE: return 2;
        case SM_CXICON:
        case SM_CYICON:
        case SM_CXCURSOR:
        case SM_CYCURSOR: return 32;
        case SM_CXSMICON:
        case SM_CYSMICON: return 16;
        case SM_CXPADDEDBORDER: return 0;
        case SM_CXMINTRACK: return 116;
        case SM_CYMINTRACK: return 27;
        default: return 0;
    }
}

int WINAPI ShowCursor(BOOL show) { return show ? ++cursorCount : --cursorCount; }

namespace {
struct Resource {
    int unused;
};
Resource arrowCursor, applicationIcon, programIcon;
}  // namespace

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
    if (instance == nullptr) return IS_INTRESOURCE(name) ? reinterpret_cast<HICON>(&applicationIcon) : nullptr;
    // The program's icon resource 1.
    if (IS_INTRESOURCE(name) && reinterpret_cast<uintptr_t>(name) == 1) return reinterpret_cast<HICON>(&programIcon);
    SetLastError(1813);  // ERROR_RESOURCE_TYPE_NOT_FOUND
    return nullptr;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    if (instance == nullptr && IS_INTRESOURCE(name)) return reinterpret_cast<HCURSOR>(&arrowCursor);
    return nullptr;
}

HWND WINAPI SetFocus(HWND handle) {
    HWND old = focusWindow;
    if (handle == nullptr) {
        if (Window* o = Find(old)) {
            focusWindow = nullptr;
            SendMessageA(o->handle, WM_KILLFOCUS, 0, 0);
        }
        return old;
    }
    Window* w = Find(handle);
    if (w == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (handle == old) return old;
    Window* top = TopLevelOf(w);
    if (top->iconic) return nullptr;
    if (activeWindow != top->handle) {
        Activate(top, WA_ACTIVE);
        if (!Find(handle)) return nullptr;
        old = focusWindow;
        if (old == handle) return old;
    }
    focusWindow = handle;
    if (Window* o = Find(old)) SendMessageA(o->handle, WM_KILLFOCUS, reinterpret_cast<WPARAM>(handle), 0);
    if (Find(handle) && focusWindow == handle) SendMessageA(handle, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return Find(old) ? old : nullptr;
}

HWND WINAPI GetFocus(void) { return Find(focusWindow) ? focusWindow : nullptr; }

HWND WINAPI SetActiveWindow(HWND handle) {
    HWND old = activeWindow;
    Window* w = TopLevelOf(Find(handle));
    if (handle && !w) return nullptr;
    if (w)
        Activate(w, WA_ACTIVE);
    else
        Deactivate();
    return old;
}

HWND WINAPI GetActiveWindow(void) { return Find(activeWindow) ? activeWindow : nullptr; }

BOOL WINAPI SetForegroundWindow(HWND handle) {
    Window* w = TopLevelOf(Find(handle));
    if (!w) return FALSE;
    Activate(w, WA_ACTIVE);
    return TRUE;
}

HWND WINAPI GetForegroundWindow(void) { return GetActiveWindow(); }

HWND WINAPI SetCapture(HWND handle) {
    HWND old = captureWindow;
    if (!Find(handle)) return Find(old) ? old : nullptr;
    captureWindow = handle;
    if (old != handle)
        if (Find(old)) SendMessageA(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(handle));
    return Find(old) ? old : nullptr;
}

HWND WINAPI GetCapture(void) { return Find(captureWindow) ? captureWindow : nullptr; }

BOOL WINAPI ReleaseCapture(void) {
    HWND old = captureWindow;
    captureWindow = nullptr;
    if (Find(old)) SendMessageA(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

void WINAPI InitCommonControls(void) { EnsureSystemClasses(); }
