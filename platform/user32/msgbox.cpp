// MessageBoxA: a modal window with caption, text and an OK button, run by
// its own message loop; on stderr when there is no display at all.
#include <algorithm>
#include <cstdio>
#include <sstream>

#include "host/host.h"
#include "user32/internal.h"

namespace user32 {

DWORD TimeToNextTimer(DWORD cap);

namespace {

struct BoxState {
    std::vector<std::string> lines;
    int result = 0;
    UINT type = 0;
};

constexpr int Margin = 12;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 23;

int CancelResult(const BoxState& state) { return (state.type & 0xF) == MB_OK ? IDOK : IDCANCEL; }

}  // namespace

LRESULT CALLBACK MessageBoxProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(handle);
    auto* state = w ? reinterpret_cast<BoxState*>(w->userData) : nullptr;
    switch (message) {
        case WM_COMMAND:
            if (state && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) && state->result == 0)
                state->result = LOWORD(wParam) == IDOK ? IDOK : CancelResult(*state);
            return 0;
        case WM_CLOSE:
            if (state && state->result == 0) state->result = CancelResult(*state);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(handle, &ps);
            if (state) {
                Window* top = TopLevelOf(w);
                const RECT client = ClientInTopLevel(w);
                int baseline = client.top + Margin + FontAscent();
                for (const std::string& line : state->lines) {
                    DrawText(top, line, client.left + Margin, baseline, client, SystemColour(COLOR_WINDOWTEXT), true);
                    baseline += FontHeight();
                }
            }
            EndPaint(handle, &ps);
            return 0;
        }
        default: return DefWindowProcA(handle, message, wParam, lParam);
    }
}

}  // namespace user32

using namespace user32;

int WINAPI MessageBoxA(HWND ownerHandle, LPCSTR text, LPCSTR caption, UINT type) {
    if (caption == nullptr) caption = "Error";
    if (text == nullptr) text = "";
    host::Host* h = host::Current();
    if (h == nullptr) {
        std::fprintf(stderr, "%s: %s\n", caption, text);
        std::fflush(stderr);
        return IDOK;
    }
    BoxState state;
    state.type = type;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) state.lines.push_back(line);
    if (state.lines.empty()) state.lines.push_back("");

    int textWidth = 0;
    static Window measure;  // only for measuring; nothing is drawn into it
    for (const std::string& line : state.lines)
        textWidth = std::max(textWidth, DrawText(&measure, line, 0, 0, RECT{0, 0, 0, 0}, 0, false));
    const int captionWidth = DrawText(&measure, caption, 0, 0, RECT{0, 0, 0, 0}, 0, false) + 40;
    const int clientWidth = std::max({textWidth + 2 * Margin, captionWidth, ButtonWidth + 2 * Margin, 160});
    const int textHeight = static_cast<int>(state.lines.size()) * FontHeight();
    const int clientHeight = Margin + textHeight + Margin + ButtonHeight + Margin;
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST;
    RECT outer{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;

    Window* owner = TopLevelOf(Find(ownerHandle));
    RECT around{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner) GetWindowRect(owner->handle, &around);
    const int x = std::max(0, around.left + (around.right - around.left - width) / 2);
    const int y = std::max(0, around.top + (around.bottom - around.top - height) / 2);

    const bool ownerWasEnabled = owner && IsWindowEnabled(owner->handle);
    if (ownerWasEnabled) EnableWindow(owner->handle, FALSE);
    HWND box = CreateWindowExA(exStyle, "#32770", caption, style, x, y, width, height,
                               owner ? owner->handle : nullptr, nullptr, nullptr, nullptr);
    if (box == nullptr) {
        if (ownerWasEnabled) EnableWindow(owner->handle, TRUE);
        return 0;
    }
    Find(box)->userData = reinterpret_cast<LONG_PTR>(&state);
    HWND ok = CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                              (clientWidth - ButtonWidth) / 2, clientHeight - Margin - ButtonHeight, ButtonWidth,
                              ButtonHeight, box, reinterpret_cast<HMENU>(static_cast<LONG_PTR>(IDOK)), nullptr, nullptr);
    SendMessageA(ok, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    ShowWindow(box, SW_SHOW);
    SetFocus(ok);

    bool quit = false;
    int quitCode = 0;
    while (state.result == 0 && IsWindow(box)) {
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if ((h = host::Current()) == nullptr) break;
            h->Wait(TimeToNextTimer(20));
            continue;
        }
        if (msg.message == WM_QUIT) {
            quit = true;
            quitCode = static_cast<int>(msg.wParam);
            break;
        }
        // The dialog's own keys: Return chooses the default button, Escape cancels.
        if (msg.message == WM_KEYDOWN && (msg.hwnd == box || IsChild(box, msg.hwnd))) {
            if (msg.wParam == VK_RETURN) {
                state.result = IDOK;
                break;
            }
            if (msg.wParam == VK_ESCAPE) {
                state.result = CancelResult(state);
                break;
            }
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (ownerWasEnabled && IsWindow(owner->handle)) EnableWindow(owner->handle, TRUE);
    if (IsWindow(box)) DestroyWindow(box);
    if (ownerWasEnabled && IsWindow(owner->handle)) SetActiveWindow(owner->handle);
    if (quit) PostQuitMessage(quitCode);
    return state.result ? state.result : IDOK;
}
