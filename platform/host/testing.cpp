// The test controls of the hosts and the window manager.
#include "testing.h"

#include "host/host.h"
#include "host/present.h"
#include "user32/input.h"

void PlatformHostUseHeadless() { host::UseHeadless(); }

bool PlatformWindowPixel(HWND handle, int x, int y, DWORD* pixel) {
    user32::Window* w = user32::Find(handle);
    if (w == nullptr || pixel == nullptr) return false;
    const RECT client = user32::ClientInTopLevel(w);
    const int px = client.left + x, py = client.top + y;
    if (px < client.left || py < client.top || px >= client.right || py >= client.bottom) return false;
    user32::Window* top = user32::TopLevelOf(w);
    if (px < 0 || py < 0 || px >= top->surface.width || py >= top->surface.height) return false;
    *pixel = top->surface.pixels[static_cast<size_t>(py) * static_cast<size_t>(top->surface.width) + static_cast<size_t>(px)];
    return true;
}

bool PlatformScreenPixel(int x, int y, DWORD* pixel) {
    int width = 0, height = 0;
    if (pixel == nullptr || !PlatformDisplayMode(&width, &height)) return false;
    if (x < 0 || y < 0 || x >= width || y >= height) return false;
    for (user32::Window* top : user32::TopLevels()) {
        if (!(top->style & WS_VISIBLE) || top->iconic) continue;
        const RECT& r = top->rect;
        if (x < r.left || y < r.top || x >= r.right || y >= r.bottom) continue;
        POINT p{x - r.left - top->border.left, y - r.top - top->border.top};
        if (!PlatformWindowPixel(top->handle, p.x, p.y, pixel)) *pixel = 0x808080;  // the frame
        return true;
    }
    *pixel = 0x3A6EA5;  // the desktop
    return true;
}

void PlatformPaintAll() {
    std::vector<HWND> tops;
    for (user32::Window* top : user32::TopLevels()) tops.push_back(top->handle);
    for (HWND h : tops) user32::PaintTree(user32::Find(h));
}

void PlatformInjectMouse(int x, int y, UINT message) { user32::InjectMouse(POINT{x, y}, message); }

void PlatformInjectKey(int virtualKey, bool down) { user32::InjectKey(virtualKey, down); }
