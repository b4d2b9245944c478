// Built while the window layer is absent from the tree: no full-screen
// window can be opened, so a full-screen ScreenOpen fails cleanly.
#include "graphics/screen_window.h"

intptr_t ScreenWindowOpen(int32_t, int32_t, const char*) { return 0; }

HWND ScreenWindowHandle(intptr_t) { return nullptr; }

void ScreenWindowClose(intptr_t) {}
