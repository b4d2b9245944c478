// The stand-in's window manager: what user32, gdi32, comctl32 and the hosts
// share inside the platform.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace user32 {

struct WindowClass {
    std::string name;  // as registered
    UINT style = 0;
    WNDPROC proc = nullptr;
    int classExtra = 0;
    int windowExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    ATOM atom = 0;
    bool system = false;
    int windows = 0;  // windows that still use it
};

// The pixels of a top-level window's client area.
struct Surface {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // X8R8G8B8, rows of `width`
};

struct Window {
    HWND handle = nullptr;
    WindowClass* windowClass = nullptr;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    LONG_PTR id = 0;
    LONG_PTR userData = 0;
    HINSTANCE instance = nullptr;
    Window* parent = nullptr;  // null for a top-level window
    Window* owner = nullptr;
    std::vector<Window*> children;  // top of the z-order first
    RECT rect{};                    // outer rectangle: screen for top-level, parent client otherwise
    RECT border{};                  // frame thickness on each side (client = rect minus these)
    std::string text;
    DWORD threadId = 0;
    bool destroying = false;
    bool needsPaint = false;
    bool needsErase = false;
    bool iconic = false;
    bool zoomed = false;
    bool needSize = false;  // the first WM_SIZE and WM_MOVE wait for the first show
    HFONT font = nullptr;
    LONG_PTR controlState = 0;  // the BUTTON control's state bits
    Surface surface;            // top-level windows only
    void* hostData = nullptr;
};

// Window objects by handle; null for a handle that is not (or no longer) a window.
Window* Find(HWND handle);
// All windows, top-level ones in z-order (top first).
std::vector<Window*>& TopLevels();
Window* TopLevelOf(Window* window);
// The client rectangle in the coordinates of the top-level window's client area.
RECT ClientInTopLevel(Window* window);
RECT ClientRectOf(const Window* window);
bool VisibleChain(const Window* window);
void FrameFor(DWORD style, DWORD exStyle, RECT* border);

// Queue.
void SetKeyDown(int virtualKey, bool down);
POINT CursorPos();
void SetCursorPos(POINT screen);

// Painting.
void PaintTree(Window* window);
void ResizeSurface(Window* window);
void FillSurface(Window* window, const RECT& rect, uint32_t colour);
uint32_t SystemColour(int index);
// Text in the GUI font at (x, y) of the top-level surface, clipped to `clip`;
// returns the advance width. With `draw` false only measures.
int DrawText(Window* topLevel, const std::string& text, int x, int baseline, const RECT& clip, uint32_t colour,
             bool draw);
int FontAscent();
int FontHeight();

// The BUTTON class and the message box.
void RegisterSystemClasses();
LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace user32
