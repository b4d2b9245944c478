// What the stand-in's graphics device needs from the host that shows the
// windows: the display's mode and a way to put a finished frame on screen.
#pragma once

#include <windows.h>

// The desktop the windows live on. False when there is no display at all,
// in which case no graphics adapter exists either.
bool PlatformDisplayMode(int* width, int* height);

// Copies a frame of 32-bit X8R8G8B8 pixels (rows `pitch` bytes apart) into
// the client area of `window`, top-left aligned and clipped to the client
// area; a child window's client area is shown where it lies inside its
// top-level window. False when the window does not exist.
bool PlatformPresent(HWND window, const void* pixels, int width, int height, int pitch);
