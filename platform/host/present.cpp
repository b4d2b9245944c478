// The host's presentation contract for the stand-in's graphics device.
#include "host/present.h"

#include <algorithm>
#include <cstring>

#include "host/host.h"

bool PlatformDisplayMode(int* width, int* height) {
    host::Host* h = host::Current();
    return h != nullptr && h->DisplayMode(width, height);
}

bool PlatformPresent(HWND window, const void* pixels, int width, int height, int pitch) {
    user32::Window* w = user32::Find(window);
    if (w == nullptr || pixels == nullptr) return false;
    user32::Window* top = user32::TopLevelOf(w);
    if (!user32::VisibleChain(w)) return true;
    RECT client = user32::ClientInTopLevel(w);
    // Clip to every ancestor's client area and to the top-level surface.
    for (user32::Window* a = w->parent; a; a = a->parent) {
        const RECT c = user32::ClientInTopLevel(a);
        client.left = std::max(client.left, c.left);
        client.top = std::max(client.top, c.top);
        client.right = std::min(client.right, c.right);
        client.bottom = std::min(client.bottom, c.bottom);
    }
    const RECT own = user32::ClientInTopLevel(w);
    user32::Surface& s = top->surface;
    const int left = std::max<int>(client.left, 0);
    const int right = std::min<int>({client.right, own.left + width, s.width});
    const int topRow = std::max<int>(client.top, 0);
    const int bottom = std::min<int>({client.bottom, own.top + height, s.height});
    if (right > left) {
        for (int y = topRow; y < bottom; ++y) {
            const auto* src = static_cast<const uint8_t*>(pixels) + static_cast<ptrdiff_t>(y - own.top) * pitch +
                              static_cast<ptrdiff_t>(left - own.left) * 4;
            std::memcpy(&s.pixels[static_cast<size_t>(y) * static_cast<size_t>(s.width) + static_cast<size_t>(left)], src,
                        static_cast<size_t>(right - left) * 4);
        }
    }
    if (host::Host* h = host::Current()) h->SurfaceChanged(top);
    return true;
}
