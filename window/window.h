// The window layer: numbered top-level windows, numbered gadgets (containers
// and buttons), the polled event queue with its window procedures and focus
// movement, the modal message box, and the object heap with its lists.
#pragma once

#include <windows.h>

#include <cstdint>

// Object lists on ObjectHeap: each node is the two links, then the payload.
struct ObjectNode {
    ObjectNode* next;
    ObjectNode* previous;
};

extern HANDLE ObjectHeap;

void ObjectHeapCreate();
void ObjectHeapDestroy();
// Adds a zero-filled node of `nodeSize` bytes (links included) at the head;
// returns the address of its payload.
void* ObjectListAdd(ObjectNode*& head, uint32_t nodeSize);
void ObjectListRemove(ObjectNode*& head, void* payload);

// Windows.
struct WindowEntry {
    HWND handle;
    int32_t acceleratorCount;
    ACCEL* accelerators;
    HACCEL acceleratorTable;
};

struct WindowTableRecord {
    int32_t capacity;
    WindowEntry* entries;  // capacity + 2 entries from MainHeap
};

extern WindowTableRecord WindowTable;
extern WNDCLASSA WindowClassTemplate;
extern ObjectNode* ListedWindows;  // windows opened with number -1

// Window numbers; a window opened with -1 is addressed by the identifier
// that WindowOpen returned for it.
typedef INT_PTR WindowNumber;

constexpr DWORD WindowFlagCentre = 1;
constexpr DWORD WindowFlagCentreOnActive = 2;
constexpr DWORD WindowFlagHidden = 0x10000000;

void WindowInit();
// The window handle; for number -1 the new identifier; 0 on failure.
HWND WindowOpen(WindowNumber number, int32_t x, int32_t y, int32_t width, int32_t height, DWORD flags,
                const char* title);
void WindowSetTitle(WindowNumber number, const char* text);
HWND WindowHandle(WindowNumber number);
void WindowClose(WindowNumber number);
void WindowShutdown();

// The message box.
struct DisabledWindow {
    DWORD threadId;
    HWND window;
};
extern ObjectNode* DisabledWindowList;

void MessageBoxInit();
int MessageBoxShow(const char* caption, const char* text, UINT flags);

// Gadgets.
enum GadgetKind : int32_t { GadgetKindNone = 0, GadgetKindButton = 1, GadgetKindContainer = 2 };

struct GadgetEntry {
    HWND handle;
    int32_t kind;
    WNDPROC previousProc;
};

struct GadgetTableRecord {
    int32_t capacity;
    GadgetEntry* entries;  // capacity + 2 entries from MainHeap
};

constexpr int32_t ParentStackSize = 46;

extern GadgetTableRecord GadgetTable;
extern HWND GadgetParent;
extern HWND ParentStack[ParentStackSize];
extern int32_t ParentStackDepth;
extern const char* const ContainerClassName;

void GadgetInit();
void GadgetListOpen(HWND window);
// 0 on failure, and when one more nesting level would overflow ParentStack.
HWND ContainerCreate(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, int32_t flags = 0);
void GadgetListClose();
HWND ButtonCreate(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text,
                  DWORD flags = 0);
LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK GadgetSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Events.
constexpr int32_t EventKindNone = 0;
constexpr int32_t EventKindMove = 3;
constexpr int32_t EventKindSize = 5;
constexpr int32_t EventKindClose = 16;
constexpr int32_t EventKindGadget = 13100;
constexpr int32_t EventKindActivate = 13104;

constexpr WORD CommandFocusNext = 1212;
constexpr WORD CommandFocusPrevious = 1213;

struct EventStateRecord {
    int32_t dispatchEvent;
    int32_t pendingEvent;
    int32_t gadgetId;
    MSG message;
};
extern EventStateRecord EventState;

int32_t EventPoll();
int32_t EventGadgetId();
LRESULT CALLBACK WindowEventProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void FocusNext();
void FocusPrevious();
