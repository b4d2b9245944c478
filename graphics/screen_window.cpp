// The full-screen window through the window layer.
#include "graphics/screen_window.h"

#include "window/window.h"

intptr_t ScreenWindowOpen(int32_t width, int32_t height, const char* title) {
    // Number -1: the layer chooses the identifier and returns it in place of
    // a handle. 0x80000001: pop-up, visible.
    return reinterpret_cast<intptr_t>(WindowOpen(-1, 0, 0, width, height, 0x80000001u, title));
}

HWND ScreenWindowHandle(intptr_t id) { return WindowHandle(id); }

void ScreenWindowClose(intptr_t id) { WindowClose(id); }
