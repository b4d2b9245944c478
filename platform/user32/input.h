// Input from a host into the thread's queue.
#pragma once

#include <windows.h>

namespace user32 {

HWND WindowFromScreenPoint(POINT screen);
// WM_MOUSEMOVE, WM_LBUTTONDOWN or WM_LBUTTONUP at a point of the screen.
void InjectMouse(POINT screen, UINT message);
// A virtual key pressed or released.
void InjectKey(int virtualKey, bool down);
// The next input message, resolved against the windows as they are now.
bool TakeInput(MSG* out);

}  // namespace user32
