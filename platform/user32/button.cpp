// The "BUTTON" class: push buttons and check boxes (also push-like ones),
// with mouse capture, Space on the focused button and BN_CLICKED to the
// parent once per completed click.
#include <algorithm>

#include "host/host.h"
#include "user32/internal.h"

namespace user32 {

void RegisterSystemClass(const char* name, UINT style, WNDPROC proc, HBRUSH background);
LRESULT CALLBACK MessageBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

namespace {

// Beyond the BST_ bits: a click (mouse or Space) is in progress.
constexpr LONG_PTR ButtonPressed = 0x40;

bool IsCheckBox(DWORD style) {
    const DWORD type = style & BS_TYPEMASK;
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE ||
           type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

void Frame(Window* w, const RECT& r, uint32_t topLeft, uint32_t bottomRight) {
    FillSurface(w, RECT{r.left, r.top, r.right, r.top + 1}, topLeft);
    FillSurface(w, RECT{r.left, r.top, r.left + 1, r.bottom}, topLeft);
    FillSurface(w, RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    FillSurface(w, RECT{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

void DottedFrame(Window* w, const RECT& r, uint32_t colour) {
    for (int x = r.left; x < r.right; x += 2) {
        FillSurface(w, RECT{x, r.top, x + 1, r.top + 1}, colour);
        FillSurface(w, RECT{x, r.bottom - 1, x + 1, r.bottom}, colour);
    }
    for (int y = r.top; y < r.bottom; y += 2) {
        FillSurface(w, RECT{r.left, y, r.left + 1, y + 1}, colour);
        FillSurface(w, RECT{r.right - 1, y, r.right, y + 1}, colour);
    }
}

void Paint(Window* w) {
    const RECT client = ClientRectOf(w);
    const LONG_PTR state = w->controlState;
    const bool pushLike = !IsCheckBox(w->style) || (w->style & BS_PUSHLIKE);
    const bool sunken = (state & BST_PUSHED) || (pushLike && IsCheckBox(w->style) && (state & BST_CHECKED));
    const bool enabled = !(w->style & WS_DISABLED);
    Window* top = TopLevelOf(w);
    const RECT inTop = ClientInTopLevel(w);
    const uint32_t textColour = SystemColour(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    if (pushLike) {
        FillSurface(w, client, sunken ? 0xCCE4F7 : SystemColour(COLOR_BTNFACE));
        if (sunken) {
            Frame(w, client, SystemColour(COLOR_3DDKSHADOW), SystemColour(COLOR_BTNHIGHLIGHT));
            Frame(w, RECT{client.left + 1, client.top + 1, client.right - 1, client.bottom - 1},
                  SystemColour(COLOR_BTNSHADOW), SystemColour(COLOR_3DLIGHT));
        } else {
            Frame(w, client, SystemColour(COLOR_BTNHIGHLIGHT), SystemColour(COLOR_3DDKSHADOW));
            Frame(w, RECT{client.left + 1, client.top + 1, client.right - 1, client.bottom - 1},
                  SystemColour(COLOR_3DLIGHT), SystemColour(COLOR_BTNSHADOW));
        }
        const int width = DrawText(top, w->text, 0, 0, RECT{0, 0, 0, 0}, 0, false);
        const int shift = sunken ? 1 : 0;
        const int x = inTop.left + (client.right - width) / 2 + shift;
        const int baseline = inTop.top + (client.bottom - FontHeight()) / 2 + FontAscent() + shift;
        DrawText(top, w->text, x, baseline, inTop, textColour, true);
        if (state & BST_FOCUS)
            DottedFrame(w, RECT{client.left + 3, client.top + 3, client.right - 3, client.bottom - 3},
                        SystemColour(COLOR_BTNTEXT));
    } else {
        FillSurface(w, client, SystemColour(COLOR_BTNFACE));
        const int box = 13;
        const int y0 = (client.bottom - box) / 2;
        const RECT r{0, y0, box, y0 + box};
        FillSurface(w, r, (state & BST_PUSHED) ? SystemColour(COLOR_BTNFACE) : SystemColour(COLOR_WINDOW));
        Frame(w, r, SystemColour(COLOR_BTNSHADOW), SystemColour(COLOR_BTNHIGHLIGHT));
        if (state & BST_CHECKED) FillSurface(w, RECT{3, y0 + 3, box - 3, y0 + box - 3}, SystemColour(COLOR_BTNTEXT));
        const int baseline = inTop.top + (client.bottom - FontHeight()) / 2 + FontAscent();
        const int width = DrawText(top, w->text, inTop.left + box + 4, baseline, inTop, textColour, true);
        if (state & BST_FOCUS)
            DottedFrame(w, RECT{box + 2, 0, std::min<LONG>(box + 6 + width, client.right), client.bottom},
                        SystemColour(COLOR_BTNTEXT));
    }
}

void SetPushed(HWND handle, Window* w, bool pushed) {
    const LONG_PTR old = w->controlState;
    if (pushed)
        w->controlState |= BST_PUSHED;
    else
        w->controlState &= ~static_cast<LONG_PTR>(BST_PUSHED);
    if (old != w->controlState) InvalidateRect(handle, nullptr, FALSE);
}

// Ends a click; `completed` when the release happened over the button.
void Release(HWND handle, Window* w, bool overButton) {
    if (!(w->controlState & ButtonPressed)) return;
    w->controlState &= ~ButtonPressed;
    const bool pushed = (w->controlState & BST_PUSHED) != 0;
    SendMessageA(handle, BM_SETSTATE, FALSE, 0);
    if (GetCapture() == handle) ReleaseCapture();
    if (!Find(handle) || !pushed || !overButton) return;
    const DWORD type = w->style & BS_TYPEMASK;
    if (type == BS_AUTOCHECKBOX)
        SendMessageA(handle, BM_SETCHECK, (w->controlState & BST_CHECKED) ? BST_UNCHECKED : BST_CHECKED, 0);
    else if (type == BS_AUTO3STATE)
        SendMessageA(handle, BM_SETCHECK, ((w->controlState & 3) + 1) % 3, 0);
    else if (type == BS_AUTORADIOBUTTON)
        SendMessageA(handle, BM_SETCHECK, BST_CHECKED, 0);
    if (Window* again = Find(handle))
        if (again->parent)
            SendMessageA(again->parent->handle, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(again->id), BN_CLICKED),
                         reinterpret_cast<LPARAM>(handle));
}

}  // namespace

void RegisterSystemClasses() {
    RegisterSystemClass("BUTTON", CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS, ButtonProc, nullptr);
    RegisterSystemClass("#32770", CS_DBLCLKS | CS_GLOBALCLASS, MessageBoxProc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

LRESULT CALLBACK ButtonProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(handle);
    if (w == nullptr) return 0;
    switch (message) {
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(handle, &ps);
            if (VisibleChain(w)) Paint(w);
            EndPaint(handle, &ps);
            return 0;
        }
        case WM_ENABLE: InvalidateRect(handle, nullptr, FALSE); return 0;
        case WM_SETTEXT: {
            const LRESULT r = DefWindowProcA(handle, message, wParam, lParam);
            InvalidateRect(handle, nullptr, TRUE);
            return r;
        }
        case WM_SETFONT:
            w->font = reinterpret_cast<HFONT>(wParam);
            if (lParam) InvalidateRect(handle, nullptr, TRUE);
            return 0;
        case WM_GETFONT: return reinterpret_cast<LRESULT>(w->font);
        case WM_SETFOCUS:
            w->controlState |= BST_FOCUS;
            InvalidateRect(handle, nullptr, FALSE);
            return 0;
        case WM_KILLFOCUS:
            w->controlState &= ~static_cast<LONG_PTR>(BST_FOCUS);
            if ((w->controlState & ButtonPressed) && GetCapture() == handle) ReleaseCapture();
            InvalidateRect(handle, nullptr, FALSE);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            SetFocus(handle);
            if (!Find(handle)) return 0;
            SetCapture(handle);
            w->controlState |= ButtonPressed;
            SendMessageA(handle, BM_SETSTATE, TRUE, 0);
            return 0;
        case WM_MOUSEMOVE:
            if ((w->controlState & ButtonPressed) && GetCapture() == handle) {
                const RECT client = ClientRectOf(w);
                const int x = static_cast<SHORT>(LOWORD(lParam)), y = static_cast<SHORT>(HIWORD(lParam));
                SendMessageA(handle, BM_SETSTATE, x >= 0 && y >= 0 && x < client.right && y < client.bottom, 0);
            }
            return 0;
        case WM_LBUTTONUP: {
            const RECT client = ClientRectOf(w);
            const int x = static_cast<SHORT>(LOWORD(lParam)), y = static_cast<SHORT>(HIWORD(lParam));
            Release(handle, w, x >= 0 && y >= 0 && x < client.right && y < client.bottom);
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam == VK_SPACE && !(w->controlState & ButtonPressed)) {
                w->controlState |= ButtonPressed;
                SendMessageA(handle, BM_SETSTATE, TRUE, 0);
                SetCapture(handle);
            }
            return 0;
        case WM_KEYUP:
            if (wParam == VK_SPACE) Release(handle, w, true);
            return 0;
        case WM_CAPTURECHANGED:
            if (w->controlState & ButtonPressed) {
                w->controlState &= ~ButtonPressed;
                SendMessageA(handle, BM_SETSTATE, FALSE, 0);
            }
            return 0;
        case BM_GETCHECK: return IsCheckBox(w->style) ? (w->controlState & 3) : 0;
        case BM_SETCHECK:
            if (IsCheckBox(w->style)) {
                const LONG_PTR old = w->controlState;
                w->controlState = (w->controlState & ~static_cast<LONG_PTR>(3)) | static_cast<LONG_PTR>(wParam & 3);
                if (old != w->controlState) InvalidateRect(handle, nullptr, FALSE);
            }
            return 0;
        case BM_GETSTATE: return w->controlState & (BST_CHECKED | BST_INDETERMINATE | BST_PUSHED | BST_FOCUS);
        case BM_SETSTATE: SetPushed(handle, w, wParam != 0); return 0;
        case BM_SETSTYLE:
            w->style = (w->style & ~static_cast<DWORD>(0xFFFF)) | static_cast<DWORD>(wParam & 0xFFFF);
            if (lParam) InvalidateRect(handle, nullptr, TRUE);
            return 0;
        case BM_CLICK:
            SendMessageA(handle, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            SendMessageA(handle, WM_LBUTTONUP, 0, 0);
            return 0;
        default: return DefWindowProcA(handle, message, wParam, lParam);
    }
}

}  // namespace user32
