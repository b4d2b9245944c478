// The SDL2 host: every visible top-level window is an SDL window showing its
// client area; mouse, keyboard, the close button, minimise and restore come
// back as the Windows messages.
#include <SDL.h>

#include <map>

#include "host/host.h"
#include "user32/input.h"

namespace host {
namespace {

struct SdlWindow {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int textureWidth = 0;
    int textureHeight = 0;
    bool dirty = true;
};

int VirtualKeyFor(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    switch (key) {
        case SDLK_TAB: return VK_TAB;
        case SDLK_SPACE: return VK_SPACE;
        case SDLK_RETURN: return VK_RETURN;
        case SDLK_ESCAPE: return VK_ESCAPE;
        case SDLK_BACKSPACE: return VK_BACK;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT: return VK_SHIFT;
        case SDLK_LCTRL:
        case SDLK_RCTRL: return VK_CONTROL;
        case SDLK_LALT:
        case SDLK_RALT: return VK_MENU;
        case SDLK_F4: return VK_F4;
        case SDLK_LEFT: return VK_LEFT;
        case SDLK_RIGHT: return VK_RIGHT;
        case SDLK_UP: return VK_UP;
        case SDLK_DOWN: return VK_DOWN;
        default: return 0;
    }
}

class SdlHost : public Host {
public:
    bool DisplayMode(int* width, int* height) override {
        SDL_DisplayMode mode;
        if (SDL_GetCurrentDisplayMode(0, &mode) != 0) return false;
        if (width) *width = mode.w;
        if (height) *height = mode.h;
        return true;
    }

    void WindowChanged(user32::Window* w) override {
        if (w->parent) return;
        const bool visible = (w->style & WS_VISIBLE) != 0;
        auto it = windows_.find(w->handle);
        if (!visible) {
            if (it != windows_.end()) SDL_HideWindow(it->second.window);
            return;
        }
        const RECT client = user32::ClientRectOf(w);
        const int x = w->rect.left + w->border.left, y = w->rect.top + w->border.top;
        if (it == windows_.end()) {
            SdlWindow s;
            s.window = SDL_CreateWindow(w->text.c_str(), x, y, client.right > 0 ? client.right : 1,
                                        client.bottom > 0 ? client.bottom : 1, SDL_WINDOW_SHOWN);
            if (s.window == nullptr) return;
            s.renderer = SDL_CreateRenderer(s.window, -1, SDL_RENDERER_SOFTWARE);
            it = windows_.emplace(w->handle, s).first;
            byId_[SDL_GetWindowID(s.window)] = w->handle;
        }
        SdlWindow& s = it->second;
        SDL_SetWindowTitle(s.window, w->text.c_str());
        int cw = 0, ch = 0, cx = 0, cy = 0;
        SDL_GetWindowSize(s.window, &cw, &ch);
        if (cw != client.right || ch != client.bottom) SDL_SetWindowSize(s.window, client.right, client.bottom);
        SDL_GetWindowPosition(s.window, &cx, &cy);
        if (cx != x || cy != y) SDL_SetWindowPosition(s.window, x, y);
        const Uint32 flags = SDL_GetWindowFlags(s.window);
        if (w->iconic && !(flags & SDL_WINDOW_MINIMIZED)) SDL_MinimizeWindow(s.window);
        if (!w->iconic && (flags & SDL_WINDOW_MINIMIZED)) SDL_RestoreWindow(s.window);
        if (!(flags & SDL_WINDOW_SHOWN)) SDL_ShowWindow(s.window);
        s.dirty = true;
    }

    void WindowDestroyed(user32::Window* w) override {
        auto it = windows_.find(w->handle);
        if (it == windows_.end()) return;
        byId_.erase(SDL_GetWindowID(it->second.window));
        if (it->second.texture) SDL_DestroyTexture(it->second.texture);
        if (it->second.renderer) SDL_DestroyRenderer(it->second.renderer);
        SDL_DestroyWindow(it->second.window);
        windows_.erase(it);
    }

    void SurfaceChanged(user32::Window* w) override {
        auto it = windows_.find(w->handle);
        if (it == windows_.end()) return;
        Show(w, it->second);
    }

    void Pump() override {
        SDL_Event e;
        while (SDL_PollEvent(&e)) Handle(e);
    }

    void Wait(DWORD milliseconds) override {
        SDL_Event e;
        if (SDL_WaitEventTimeout(&e, static_cast<int>(milliseconds ? milliseconds : 1))) Handle(e);
    }

private:
    void Show(user32::Window* w, SdlWindow& s) {
        if (s.renderer == nullptr || w->surface.width == 0 || w->surface.height == 0) return;
        if (s.texture == nullptr || s.textureWidth != w->surface.width || s.textureHeight != w->surface.height) {
            if (s.texture) SDL_DestroyTexture(s.texture);
            s.texture = SDL_CreateTexture(s.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                          w->surface.width, w->surface.height);
            s.textureWidth = w->surface.width;
            s.textureHeight = w->surface.height;
        }
        if (s.texture == nullptr) return;
        SDL_UpdateTexture(s.texture, nullptr, w->surface.pixels.data(), w->surface.width * 4);
        SDL_RenderCopy(s.renderer, s.texture, nullptr, nullptr);
        SDL_RenderPresent(s.renderer);
        s.dirty = false;
    }

    HWND WindowOf(Uint32 id) {
        auto it = byId_.find(id);
        return it == byId_.end() ? nullptr : it->second;
    }

    POINT ScreenPoint(HWND window, int x, int y) {
        POINT p{x, y};
        ClientToScreen(window, &p);
        return p;
    }

    void Handle(const SDL_Event& e) {
        switch (e.type) {
            case SDL_MOUSEMOTION:
                if (HWND w = WindowOf(e.motion.windowID))
                    user32::InjectMouse(ScreenPoint(w, e.motion.x, e.motion.y), WM_MOUSEMOVE);
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP:
                if (e.button.button != SDL_BUTTON_LEFT) break;
                if (HWND w = WindowOf(e.button.windowID))
                    user32::InjectMouse(ScreenPoint(w, e.button.x, e.button.y),
                                        e.type == SDL_MOUSEBUTTONDOWN ? WM_LBUTTONDOWN : WM_LBUTTONUP);
                break;
            case SDL_KEYDOWN:
            case SDL_KEYUP: {
                if (HWND w = WindowOf(e.key.windowID))
                    if (GetActiveWindow() != w && e.type == SDL_KEYDOWN) SetActiveWindow(w);
                const int vk = VirtualKeyFor(e.key.keysym.sym);
                if (vk) user32::InjectKey(vk, e.type == SDL_KEYDOWN);
                break;
            }
            case SDL_WINDOWEVENT: {
                HWND w = WindowOf(e.window.windowID);
                if (w == nullptr) break;
                switch (e.window.event) {
                    case SDL_WINDOWEVENT_CLOSE: PostMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0); break;
                    case SDL_WINDOWEVENT_MINIMIZED:
                        if (!IsIconic(w)) PostMessageA(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
                        break;
                    case SDL_WINDOWEVENT_RESTORED:
                        if (IsIconic(w)) PostMessageA(w, WM_SYSCOMMAND, SC_RESTORE, 0);
                        break;
                    case SDL_WINDOWEVENT_FOCUS_GAINED:
                        if (GetActiveWindow() != w && IsWindowEnabled(w)) SetActiveWindow(w);
                        break;
                    case SDL_WINDOWEVENT_EXPOSED:
                        if (user32::Window* win = user32::Find(w)) Show(win, windows_[w]);
                        break;
                    default: break;
                }
                break;
            }
            default: break;
        }
    }

    std::map<HWND, SdlWindow> windows_;
    std::map<Uint32, HWND> byId_;
};

}  // namespace

Host* CreateSdl() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
    // SDL's offscreen and dummy drivers show nothing: no display at all.
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool invisible = driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0);
    SDL_DisplayMode mode;
    if (invisible || SDL_GetNumVideoDisplays() < 1 || SDL_GetCurrentDisplayMode(0, &mode) != 0) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    static SdlHost host;
    return &host;
}

}  // namespace host
