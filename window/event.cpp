// The polled event queue, the window procedure of every layer window and
// container, and keyboard focus movement with Tab and Shift+Tab.
#include "window/window.h"

EventStateRecord EventState;

namespace {

HACCEL KeyboardTableOf(HWND window) {
    if (window == nullptr) return nullptr;
    for (ObjectNode* node = ListedWindows; node; node = node->next) {
        auto* entry = reinterpret_cast<WindowEntry*>(node + 1);
        if (entry->handle == window) return entry->acceleratorTable;
    }
    for (int32_t number = 0; number < WindowTable.capacity; ++number)
        if (WindowTable.entries[number].handle == window) return WindowTable.entries[number].acceleratorTable;
    return nullptr;
}

bool Eligible(HWND window) {
    return IsWindowEnabled(window) && IsWindowVisible(window) && (GetWindowLongA(window, GWL_STYLE) & WS_TABSTOP);
}

HWND FocusStart(HWND active) {
    HWND focus = GetFocus();
    return IsChild(active, focus) ? focus : nullptr;
}

struct NextWalk {
    HWND start;
    bool found;
    bool done;
};

BOOL CALLBACK NextVisit(HWND window, LPARAM param) {
    auto* walk = reinterpret_cast<NextWalk*>(param);
    if (!Eligible(window)) return TRUE;
    if (walk->found) {
        SetFocus(window);
        walk->found = false;
        walk->done = true;
        return FALSE;
    }
    if (walk->start == nullptr) {
        SetFocus(window);
        walk->done = true;
        return FALSE;
    }
    if (window == walk->start) walk->found = true;
    return TRUE;
}

struct PreviousWalk {
    HWND start;
    HWND previous;
    bool done;
};

BOOL CALLBACK PreviousVisit(HWND window, LPARAM param) {
    auto* walk = reinterpret_cast<PreviousWalk*>(param);
    if (!Eligible(window)) return TRUE;
    if (window == walk->start && walk->previous) {
        SetFocus(walk->previous);
        walk->done = true;
        return FALSE;
    }
    walk->previous = window;
    return TRUE;
}

}  // namespace

int32_t EventPoll() {
    if (EventState.pendingEvent != 0) {
        const int32_t event = EventState.pendingEvent;
        EventState.pendingEvent = 0;
        EventState.dispatchEvent = 0;
        return event;
    }
    if (!PeekMessageA(&EventState.message, nullptr, 0, 0, PM_REMOVE)) return EventKindNone;
    HWND active = GetActiveWindow();
    HACCEL table = KeyboardTableOf(active);
    if (!(table && TranslateAcceleratorA(active, table, &EventState.message))) {
        TranslateMessage(&EventState.message);
        DispatchMessageA(&EventState.message);
    }
    const int32_t result =
        EventState.dispatchEvent != 0 ? EventState.dispatchEvent : static_cast<int32_t>(EventState.message.message);
    EventState.dispatchEvent = 0;
    return result;
}

int32_t EventGadgetId() { return EventState.gadgetId; }

LRESULT CALLBACK WindowEventProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (lParam != 0) {
                EventState.dispatchEvent = EventKindGadget;
                EventState.gadgetId = GetWindowLongA(reinterpret_cast<HWND>(lParam), GWL_ID);
            } else if (LOWORD(wParam) == CommandFocusNext) {
                FocusNext();
            } else if (LOWORD(wParam) == CommandFocusPrevious) {
                FocusPrevious();
            }
            return 0;
        case WM_MOVE: EventState.dispatchEvent = EventKindMove; return 0;
        case WM_CLOSE: EventState.dispatchEvent = EventKindClose; return 0;
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED) return DefWindowProcA(window, message, wParam, lParam);
            EventState.pendingEvent = EventKindSize;
            return 1;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) EventState.pendingEvent = EventKindActivate;
            return 1;
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

void FocusNext() {
    HWND active = GetActiveWindow();
    if (active == nullptr) return;  // no window of the thread to move the focus in
    NextWalk walk{FocusStart(active), false, false};
    EnumChildWindows(active, NextVisit, reinterpret_cast<LPARAM>(&walk));
    if (walk.found) {
        // The focus was on the last eligible window: wrap to the first.
        walk.start = nullptr;
        walk.found = false;
        EnumChildWindows(active, NextVisit, reinterpret_cast<LPARAM>(&walk));
    }
}

void FocusPrevious() {
    HWND active = GetActiveWindow();
    if (active == nullptr) return;
    PreviousWalk walk{FocusStart(active), nullptr, false};
    EnumChildWindows(active, PreviousVisit, reinterpret_cast<LPARAM>(&walk));
    if (!walk.done && walk.previous) SetFocus(walk.previous);
}
