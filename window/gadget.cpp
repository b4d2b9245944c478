// Numbered gadgets: containers that host other gadgets (and the render
// surface) and buttons, in the window or container named by GadgetParent.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include "runtime/runtime.h"
#include "window/window.h"

GadgetTableRecord GadgetTable;
HWND GadgetParent;
HWND ParentStack[ParentStackSize];
int32_t ParentStackDepth;
const char* const ContainerClassName = "GadgetContainer";

namespace {

constexpr int32_t InitialGadgetCapacity = 30;
constexpr int32_t GadgetGrowth = 30;

HGDIOBJ gadgetFont;
bool containerClassRegistered;

GadgetEntry* LookUp(int32_t number) {
    if (GadgetTable.entries == nullptr || number < 0 || number > GadgetTable.capacity) return nullptr;
    return &GadgetTable.entries[number];
}

// The entry for a gadget about to be created: grows the table when needed
// and destroys a gadget that has the number already.
GadgetEntry* EntryForCreation(int32_t number) {
    if (number >= GadgetTable.capacity) {
        const int32_t capacity = number + GadgetGrowth;
        GadgetTable.entries = static_cast<GadgetEntry*>(HeapReAlloc(
            MainHeap, HEAP_ZERO_MEMORY, GadgetTable.entries, sizeof(GadgetEntry) * static_cast<SIZE_T>(capacity + 2)));
        GadgetTable.capacity = capacity;
    }
    if (GadgetTable.entries[number].handle) DestroyWindow(GadgetTable.entries[number].handle);
    return &GadgetTable.entries[number];
}

void InstallSubclass(GadgetEntry* entry) {
    entry->previousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(entry->handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GadgetSubclassProc)));
}

}  // namespace

void GadgetInit() {
    GadgetParent = nullptr;
    for (HWND& saved : ParentStack) saved = nullptr;
    ParentStackDepth = 0;
    GadgetTable.capacity = InitialGadgetCapacity;
    GadgetTable.entries = static_cast<GadgetEntry*>(
        HeapAlloc(MainHeap, HEAP_ZERO_MEMORY, sizeof(GadgetEntry) * (InitialGadgetCapacity + 2)));
    gadgetFont = GetStockObject(DEFAULT_GUI_FONT);
    InitCommonControls();
}

void GadgetListOpen(HWND window) { GadgetParent = window; }

HWND ContainerCreate(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, int32_t flags) {
    // One more level would not fit on ParentStack: create nothing.
    if (ParentStackDepth >= ParentStackSize) return nullptr;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!containerClassRegistered) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = ContainerProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
        wc.lpszClassName = ContainerClassName;
        RegisterClassExA(&wc);
        containerClassRegistered = true;
    }
    DWORD style = 0, exStyle = 0;
    if (flags & 1)
        style = WS_BORDER;
    else if (flags & 2)
        style = WS_DLGFRAME;
    else if (flags & 4)
        exStyle = WS_EX_STATICEDGE;
    else if (flags & 8)
        exStyle = WS_EX_CLIENTEDGE;
    EntryForCreation(number);
    HWND container = CreateWindowExA(exStyle, ContainerClassName, nullptr, style | WS_CHILD | WS_VISIBLE, x, y, width,
                                     height, GadgetParent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(number)),
                                     instance, nullptr);
    if (container == nullptr) return nullptr;
    SetClassLongPtrA(container, GCLP_HBRBACKGROUND, COLOR_BTNFACE + 1);
    GadgetEntry* entry = &GadgetTable.entries[number];
    entry->handle = container;
    entry->kind = GadgetKindContainer;
    ParentStack[ParentStackDepth++] = GadgetParent;
    GadgetParent = container;
    InvalidateRect(container, nullptr, TRUE);
    InstallSubclass(entry);
    return container;
}

void GadgetListClose() {
    if (ParentStackDepth > 0) GadgetParent = ParentStack[--ParentStackDepth];
}

HWND ButtonCreate(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text, DWORD flags) {
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | flags;
    EntryForCreation(number);
    HWND button = CreateWindowExA(0, "BUTTON", text, style, x, y, width, height, GadgetParent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(number)), GetModuleHandleA(nullptr),
                                  nullptr);
    GadgetEntry* entry = &GadgetTable.entries[number];
    entry->handle = button;
    entry->kind = GadgetKindButton;
    if (button == nullptr) return nullptr;
    InstallSubclass(entry);
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(gadgetFont), 1);
    return button;
}

LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        HWND ancestor = window;
        for (HWND up = GetParent(ancestor); up; up = GetParent(up)) ancestor = up;
        PostMessageA(ancestor, WM_COMMAND, wParam, lParam);
        return 0;
    }
    return CallWindowProcA(WindowEventProc, window, message, wParam, lParam);
}

LRESULT CALLBACK GadgetSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const int32_t number = GetWindowLongA(window, GWL_ID);
    GadgetEntry* entry = LookUp(number);
    if (entry == nullptr || entry->handle == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    WNDPROC previous = entry->previousProc;
    if (message == WM_NCDESTROY) entry->handle = nullptr;
    return CallWindowProcA(previous, window, message, wParam, lParam);
}
