// Numbered top-level windows, their class and keyboard table, the object
// heap with its lists, and the modal message box.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <cstdarg>
#include <cstring>

#include "runtime/runtime.h"
#include "window/window.h"

HANDLE ObjectHeap;
WindowTableRecord WindowTable;
WNDCLASSA WindowClassTemplate;
ObjectNode* ListedWindows;
ObjectNode* DisabledWindowList;

namespace {

char classNameBuffer[64];

constexpr int32_t InitialWindowCapacity = 10;
constexpr int32_t WindowGrowth = 30;

void FormatClassName(char* buffer, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    wvsprintfA(buffer, format, arguments);
    va_end(arguments);
}

// The number as the class name shows it: a table number, or the low 32 bits
// of a -1 window's identifier.
LONG ClassNumber(WindowNumber number) { return static_cast<LONG>(number); }

// The entry of a number or identifier; null when it names nothing.
WindowEntry* LookUp(WindowNumber number) {
    if (WindowTable.entries == nullptr) return nullptr;
    if (number >= 0 && number <= WindowTable.capacity) return &WindowTable.entries[number];
    return reinterpret_cast<WindowEntry*>(number);
}

void Grow(WindowNumber number) {
    const int32_t capacity = static_cast<int32_t>(number) + WindowGrowth;
    WindowTable.entries = static_cast<WindowEntry*>(HeapReAlloc(
        MainHeap, HEAP_ZERO_MEMORY, WindowTable.entries, sizeof(WindowEntry) * static_cast<SIZE_T>(capacity + 2)));
    WindowTable.capacity = capacity;
}

BOOL CALLBACK DisableOthers(HWND window, LPARAM) {
    const DWORD thread = GetCurrentThreadId();
    if (GetWindowThreadProcessId(window, nullptr) == thread && IsWindowVisible(window) && IsWindowEnabled(window) &&
        window != GetForegroundWindow()) {
        EnableWindow(window, FALSE);
        auto* record = static_cast<DisabledWindow*>(
            ObjectListAdd(DisabledWindowList, sizeof(ObjectNode) + sizeof(DisabledWindow)));
        record->threadId = thread;
        record->window = window;
    }
    return TRUE;
}

}  // namespace

void ObjectHeapCreate() { ObjectHeap = HeapCreate(0, 1024, 0); }

void ObjectHeapDestroy() {
    HeapDestroy(ObjectHeap);
    ObjectHeap = nullptr;
    ListedWindows = nullptr;
    DisabledWindowList = nullptr;
}

void* ObjectListAdd(ObjectNode*& head, uint32_t nodeSize) {
    auto* node = static_cast<ObjectNode*>(HeapAlloc(ObjectHeap, HEAP_ZERO_MEMORY, nodeSize));
    node->next = head;
    if (head) head->previous = node;
    head = node;
    return node + 1;
}

void ObjectListRemove(ObjectNode*& head, void* payload) {
    ObjectNode* node = static_cast<ObjectNode*>(payload) - 1;
    if (node == head) {
        head = node->next;
        if (head) head->previous = nullptr;
    } else {
        node->previous->next = node->next;
        if (node->next) node->next->previous = node->previous;
    }
    HeapFree(ObjectHeap, 0, node);
}

void WindowInit() {
    WindowTable = WindowTableRecord{};
    ListedWindows = nullptr;
    std::memset(&WindowClassTemplate, 0, sizeof WindowClassTemplate);
    std::memset(&EventState, 0, sizeof EventState);
    WindowTable.capacity = InitialWindowCapacity;
    WindowTable.entries = static_cast<WindowEntry*>(
        HeapAlloc(MainHeap, HEAP_ZERO_MEMORY, sizeof(WindowEntry) * (InitialWindowCapacity + 2)));
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WindowClassTemplate.style = CS_DBLCLKS;
    WindowClassTemplate.lpfnWndProc = WindowEventProc;
    WindowClassTemplate.hInstance = instance;
    WindowClassTemplate.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
    WindowClassTemplate.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    WindowClassTemplate.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    WindowClassTemplate.lpszClassName = "TemplateClass";
    RegisterClassA(&WindowClassTemplate);
    WindowClassTemplate.lpszClassName = classNameBuffer;
}

HWND WindowOpen(WindowNumber number, int32_t x, int32_t y, int32_t width, int32_t height, DWORD flags,
                const char* title) {
    WindowEntry* entry;
    WindowNumber id = number;
    if (number == -1) {
        entry = static_cast<WindowEntry*>(ObjectListAdd(ListedWindows, sizeof(ObjectNode) + sizeof(WindowEntry)));
        id = reinterpret_cast<WindowNumber>(entry);
    } else {
        if (number >= WindowTable.capacity) Grow(number);
        entry = &WindowTable.entries[number];
        if (entry->handle) {
            WindowClose(number);
            entry = &WindowTable.entries[number];
        }
    }
    FormatClassName(classNameBuffer, "WindowClass_%ld", ClassNumber(id));
    RegisterClassA(&WindowClassTemplate);

    // Placement and style from the flags.
    int placement = 0;
    if (flags & WindowFlagCentre) {
        placement = 1;
        flags &= ~WindowFlagCentre;
    }
    if (flags & WindowFlagCentreOnActive) {
        placement = 2;
        flags &= ~WindowFlagCentreOnActive;
    }
    DWORD style = flags;
    if (style == 0 || style == WindowFlagHidden) style |= WS_CAPTION;
    bool maximise = false;
    if (style & WindowFlagHidden) {
        style &= ~WindowFlagHidden;
    } else {
        style |= WS_VISIBLE;
        maximise = (style & WS_MAXIMIZE) != 0;
    }

    RECT outer{x, y, x + width, y + height};
    AdjustWindowRect(&outer, style, FALSE);
    const int32_t outerWidth = outer.right - outer.left;
    const int32_t outerHeight = outer.bottom - outer.top;

    auto screenCentre = [&](int32_t* px, int32_t* py) {
        const int32_t sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
        *px = (sw >> 1) - ((outerWidth < sw ? outerWidth : sw) >> 1);
        *py = (sh >> 1) - ((outerHeight < sh ? outerHeight : sh) >> 1);
    };
    if (placement == 1) {
        screenCentre(&x, &y);
    } else if (placement == 2) {
        HWND active = GetActiveWindow();
        RECT r;
        if (active == nullptr || !GetWindowRect(active, &r)) {
            screenCentre(&x, &y);
        } else {
            x = r.left - (outerWidth >> 1) + ((r.right - r.left) >> 1);
            y = r.top - (outerHeight >> 1) + ((r.bottom - r.top) >> 1);
            if (x < 0) x = 0;
            if (y < 0) y = 0;
        }
    }

    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND handle = CreateWindowExA(0, classNameBuffer, title, style, x, y, outerWidth, outerHeight, nullptr, nullptr,
                                  instance, nullptr);
    // Creation sends messages that may have grown the table; look the entry up again.
    if (number != -1) entry = &WindowTable.entries[number];
    entry->handle = handle;
    if (handle == nullptr) return nullptr;
    if (maximise) ShowWindow(handle, SW_MAXIMIZE);

    entry->acceleratorCount = 2;
    entry->accelerators = static_cast<ACCEL*>(HeapAlloc(MainHeap, HEAP_ZERO_MEMORY, sizeof(ACCEL) * 2));
    entry->accelerators[0] = ACCEL{FVIRTKEY | FNOINVERT, VK_TAB, CommandFocusNext};
    entry->accelerators[1] = ACCEL{FVIRTKEY | FNOINVERT | FSHIFT, VK_TAB, CommandFocusPrevious};
    entry->acceleratorTable = CreateAcceleratorTableA(entry->accelerators, 2);
    return number == -1 ? reinterpret_cast<HWND>(id) : handle;
}

void WindowSetTitle(WindowNumber number, const char* text) {
    if (text == nullptr) return;
    WindowEntry* entry = LookUp(number);
    if (entry == nullptr || entry->handle == nullptr) return;
    SetWindowTextA(entry->handle, text);
}

HWND WindowHandle(WindowNumber number) {
    WindowEntry* entry = LookUp(number);
    return entry ? entry->handle : nullptr;
}

void WindowClose(WindowNumber number) {
    WindowEntry* entry = LookUp(number);
    if (entry == nullptr || entry->handle == nullptr) return;
    DestroyWindow(entry->handle);
    entry = LookUp(number);
    char name[64];
    FormatClassName(name, "WindowClass_%ld", ClassNumber(number));
    UnregisterClassA(name, GetModuleHandleA(nullptr));
    if (entry->acceleratorCount != 0) {
        HeapFree(MainHeap, 0, entry->accelerators);
        DestroyAcceleratorTable(entry->acceleratorTable);
    }
    if (number >= 0 && number <= WindowTable.capacity)
        entry->handle = nullptr;
    else
        ObjectListRemove(ListedWindows, entry);
}

void WindowShutdown() {
    for (ObjectNode* node = ListedWindows; node;) {
        ObjectNode* next = node->next;
        WindowClose(reinterpret_cast<WindowNumber>(node + 1));
        node = next;
    }
    for (int32_t number = WindowTable.capacity - 1; number >= 0; --number) WindowClose(number);
}

void MessageBoxInit() { InitCommonControls(); }

int MessageBoxShow(const char* caption, const char* text, UINT flags) {
    EnumWindows(DisableOthers, 0);
    HWND owner = GetForegroundWindow();
    if (owner) {
        DWORD process = 0;
        GetWindowThreadProcessId(owner, &process);
        if (process != GetCurrentProcessId()) owner = nullptr;
    }
    const int result = MessageBoxA(owner, text, caption, flags);
    const DWORD thread = GetCurrentThreadId();
    for (ObjectNode* node = DisabledWindowList; node;) {
        ObjectNode* next = node->next;
        auto* record = reinterpret_cast<DisabledWindow*>(node + 1);
        if (record->threadId == thread) {
            EnableWindow(record->window, TRUE);
            ObjectListRemove(DisabledWindowList, record);
        }
        node = next;
    }
    return result;
}
