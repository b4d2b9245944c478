// The full-screen window that ScreenOpen opens for itself, through the
// window layer: a visible pop-up without caption or border, centred.
#pragma once

#include <windows.h>

#include <cstdint>

// The window layer's identifier of the new window, or 0.
intptr_t ScreenWindowOpen(int32_t width, int32_t height, const char* title);
HWND ScreenWindowHandle(intptr_t id);
void ScreenWindowClose(intptr_t id);
