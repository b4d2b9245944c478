// gdi32 and the painting part of user32: stock objects, brushes, device
// contexts on the top-level windows' pixels, and text in the GUI font.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstring>
#include <map>

#include "host/host.h"
#include "user32/internal.h"

namespace user32 {
namespace {

enum class GdiKind { Brush, Pen, Font, Palette };

struct GdiObject {
    GdiKind kind;
    COLORREF colour;  // brushes and pens
    bool stock;
    bool hollow;
};

GdiObject stockObjects[18] = {
    {GdiKind::Brush, RGB(255, 255, 255), true, false},  // WHITE_BRUSH
    {GdiKind::Brush, RGB(192, 192, 192), true, false},  // LTGRAY_BRUSH
    {GdiKind::Brush, RGB(128, 128, 128), true, false},  // GRAY_BRUSH
    {GdiKind::Brush, RGB(64, 64, 64), true, false},     // DKGRAY_BRUSH
    {GdiKind::Brush, RGB(0, 0, 0), true, false},        // BLACK_BRUSH
    {GdiKind::Brush, 0, true, true},                    // NULL_BRUSH
    {GdiKind::Pen, RGB(255, 255, 255), true, false},    // WHITE_PEN
    {GdiKind::Pen, RGB(0, 0, 0), true, false},          // BLACK_PEN
    {GdiKind::Pen, 0, true, true},                      // NULL_PEN
    {GdiKind::Brush, 0, true, true},                    // (9 is not a stock object)
    {GdiKind::Font, 0, true, false},                    // OEM_FIXED_FONT
    {GdiKind::Font, 0, true, false},                    // ANSI_FIXED_FONT
    {GdiKind::Font, 0, true, false},                    // ANSI_VAR_FONT
    {GdiKind::Font, 0, true, false},                    // SYSTEM_FONT
    {GdiKind::Font, 0, true, false},                    // DEVICE_DEFAULT_FONT
    {GdiKind::Palette, 0, true, false},                 // DEFAULT_PALETTE
    {GdiKind::Font, 0, true, false},                    // SYSTEM_FIXED_FONT
    {GdiKind::Font, 0, true, false},                    // DEFAULT_GUI_FONT
};

GdiObject systemBrushes[32];

struct Dc {
    HWND window;
};

uint32_t FromColorRef(COLORREF c) {
    return (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

bool IsStock(HGDIOBJ object) {
    auto* o = static_cast<GdiObject*>(object);
    return o >= stockObjects && o < stockObjects + 18;
}

bool IsSystemBrush(HGDIOBJ object) {
    auto* o = static_cast<GdiObject*>(object);
    return o >= systemBrushes && o < systemBrushes + 32;
}

// The colour a brush paints with; false for the hollow brush.
bool BrushColour(HBRUSH brush, uint32_t* colour) {
    const uintptr_t value = reinterpret_cast<uintptr_t>(brush);
    if (value >= 1 && value <= 31) {
        *colour = SystemColour(static_cast<int>(value - 1));
        return true;
    }
    if (brush == nullptr) return false;
    auto* o = reinterpret_cast<GdiObject*>(brush);
    if (o->kind != GdiKind::Brush || o->hollow) return false;
    *colour = FromColorRef(o->colour);
    return true;
}

RECT Intersect(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

bool Inside(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

struct Clip {
    RECT bounds;               // in top-level client coordinates
    std::vector<RECT> holes;   // visible children, which paint themselves
    POINT origin;              // the window's client origin in top-level client coordinates
};

Clip ClipFor(Window* window) {
    Clip clip{};
    const RECT client = ClientInTopLevel(window);
    clip.origin = POINT{client.left, client.top};
    clip.bounds = client;
    for (Window* a = window->parent; a; a = a->parent) clip.bounds = Intersect(clip.bounds, ClientInTopLevel(a));
    Window* top = TopLevelOf(window);
    clip.bounds = Intersect(clip.bounds, RECT{0, 0, top->surface.width, top->surface.height});
    for (Window* child : window->children) {
        if (!(child->style & WS_VISIBLE)) continue;
        clip.holes.push_back(RECT{client.left + child->rect.left, client.top + child->rect.top,
                                  client.left + child->rect.right, client.top + child->rect.bottom});
    }
    return clip;
}

void Fill(Window* top, const Clip& clip, RECT r, uint32_t colour) {
    r = Intersect(r, clip.bounds);
    Surface& s = top->surface;
    for (int y = r.top; y < r.bottom; ++y) {
        uint32_t* row = s.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(s.width);
        for (int x = r.left; x < r.right; ++x) {
            bool hidden = false;
            for (const RECT& h : clip.holes)
                if (Inside(h, x, y)) {
                    hidden = true;
                    break;
                }
            if (!hidden) row[x] = colour;
        }
    }
}

// The GUI font: DejaVu Sans at the size of Windows' 8-point dialog font.
struct Glyph {
    int left = 0, top = 0, width = 0, rows = 0, advance = 0;
    std::vector<uint8_t> coverage;
};

struct Font {
    bool loaded = false;
    bool tried = false;
    int ascent = 11;
    int height = 13;
    std::map<unsigned char, Glyph> glyphs;
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

Font& GuiFont() {
    static Font font;
    if (font.tried) return font;
    font.tried = true;
    static const char* const paths[] = {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                                        "/usr/share/fonts/dejavu/DejaVuSans.ttf"};
    if (FT_Init_FreeType(&font.library) != 0) return font;
    for (const char* path : paths)
        if (FT_New_Face(font.library, path, 0, &font.face) == 0) break;
    if (font.face == nullptr) return font;
    FT_Set_Pixel_Sizes(font.face, 0, 11);
    font.ascent = static_cast<int>(font.face->size->metrics.ascender >> 6);
    font.height = static_cast<int>((font.face->size->metrics.ascender - font.face->size->metrics.descender) >> 6);
    font.loaded = true;
    return font;
}

const Glyph& GlyphFor(Font& font, unsigned char c) {
    auto it = font.glyphs.find(c);
    if (it != font.glyphs.end()) return it->second;
    Glyph g;
    if (font.loaded && FT_Load_Char(font.face, c, FT_LOAD_RENDER) == 0) {
        FT_GlyphSlot slot = font.face->glyph;
        g.left = slot->bitmap_left;
        g.top = slot->bitmap_top;
        g.width = static_cast<int>(slot->bitmap.width);
        g.rows = static_cast<int>(slot->bitmap.rows);
        g.advance = static_cast<int>(slot->advance.x >> 6);
        g.coverage.resize(static_cast<size_t>(g.width) * static_cast<size_t>(g.rows));
        for (int y = 0; y < g.rows; ++y)
            std::memcpy(&g.coverage[static_cast<size_t>(y) * static_cast<size_t>(g.width)],
                        slot->bitmap.buffer + y * slot->bitmap.pitch, static_cast<size_t>(g.width));
    } else {
        g.advance = 6;
    }
    return font.glyphs.emplace(c, std::move(g)).first->second;
}

uint32_t Blend(uint32_t under, uint32_t over, unsigned alpha) {
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const unsigned a = (under >> shift) & 0xFF, b = (over >> shift) & 0xFF;
        out |= ((a * (255 - alpha) + b * alpha + 127) / 255) << shift;
    }
    return out;
}

}  // namespace

uint32_t SystemColour(int index) {
    switch (index) {
        case COLOR_WINDOW:
        case COLOR_BTNHIGHLIGHT: return 0xFFFFFF;
        case COLOR_WINDOWTEXT:
        case COLOR_BTNTEXT:
        case COLOR_WINDOWFRAME: return 0x000000;
        case COLOR_BTNFACE: return 0xF0F0F0;
        case COLOR_BTNSHADOW: return 0xA0A0A0;
        case COLOR_3DDKSHADOW: return 0x696969;
        case COLOR_3DLIGHT: return 0xE3E3E3;
        case COLOR_GRAYTEXT: return 0x6D6D6D;
        case COLOR_HIGHLIGHT: return 0x3399FF;
        case COLOR_ACTIVECAPTION: return 0x99B4D1;
        case COLOR_BACKGROUND: return 0x000000;
        default: return 0xC0C0C0;
    }
}

void ResizeSurface(Window* window) {
    const RECT client = ClientRectOf(window);
    Surface& s = window->surface;
    if (s.width == client.right && s.height == client.bottom) return;
    s.width = client.right;
    s.height = client.bottom;
    s.pixels.assign(static_cast<size_t>(s.width) * static_cast<size_t>(s.height), SystemColour(COLOR_BTNFACE));
}

void FillSurface(Window* window, const RECT& rect, uint32_t colour) {
    Window* top = TopLevelOf(window);
    Clip clip = ClipFor(window);
    RECT r{rect.left + clip.origin.x, rect.top + clip.origin.y, rect.right + clip.origin.x, rect.bottom + clip.origin.y};
    Fill(top, clip, r, colour);
}

int FontAscent() { return GuiFont().ascent; }
int FontHeight() { return GuiFont().height; }

int DrawText(Window* top, const std::string& text, int x, int baseline, const RECT& clipRect, uint32_t colour,
             bool draw) {
    Font& font = GuiFont();
    Surface& s = top->surface;
    const RECT clip = Intersect(clipRect, RECT{0, 0, s.width, s.height});
    int pen = x;
    for (unsigned char c : text) {
        const Glyph& g = GlyphFor(font, c);
        if (draw) {
            for (int gy = 0; gy < g.rows; ++gy) {
                const int py = baseline - g.top + gy;
                for (int gx = 0; gx < g.width; ++gx) {
                    const int px = pen + g.left + gx;
                    if (!Inside(clip, px, py)) continue;
                    const unsigned a = g.coverage[static_cast<size_t>(gy) * static_cast<size_t>(g.width) + static_cast<size_t>(gx)];
                    if (a == 0) continue;
                    uint32_t& p = s.pixels[static_cast<size_t>(py) * static_cast<size_t>(s.width) + static_cast<size_t>(px)];
                    p = Blend(p, colour, a);
                }
            }
        }
        pen += g.advance;
    }
    return pen - x;
}

void PaintTree(Window* window) {
    if (window == nullptr || !(window->style & WS_VISIBLE)) return;
    if (window->needsPaint) SendMessageA(window->handle, WM_PAINT, 0, 0);
    std::vector<HWND> children;
    for (Window* c : window->children) children.push_back(c->handle);
    for (HWND c : children) PaintTree(Find(c));
}

}  // namespace user32

using namespace user32;

HGDIOBJ WINAPI GetStockObject(int index) {
    if (index < 0 || index > DEFAULT_GUI_FONT || index == 9) return nullptr;
    return &stockObjects[index];
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
    if (object == nullptr) return FALSE;
    if (IsStock(object) || IsSystemBrush(object)) return TRUE;  // stock objects are never deleted
    delete static_cast<GdiObject*>(object);
    return TRUE;
}

HBRUSH WINAPI CreateSolidBrush(COLORREF colour) {
    return reinterpret_cast<HBRUSH>(new GdiObject{GdiKind::Brush, colour, false, false});
}

DWORD WINAPI GetSysColor(int index) {
    const uint32_t c = SystemColour(index);
    return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
}

HBRUSH WINAPI GetSysColorBrush(int index) {
    if (index < 0 || index >= 32) return nullptr;
    systemBrushes[index] = GdiObject{GdiKind::Brush, GetSysColor(index), true, false};
    return reinterpret_cast<HBRUSH>(&systemBrushes[index]);
}

HDC WINAPI GetDC(HWND window) {
    if (!Find(window)) return nullptr;
    return reinterpret_cast<HDC>(new Dc{window});
}

int WINAPI ReleaseDC(HWND window, HDC dc) {
    if (dc == nullptr) return 0;
    delete reinterpret_cast<Dc*>(dc);
    if (Window* w = Find(window))
        if (host::Host* h = host::Current()) h->SurfaceChanged(TopLevelOf(w));
    return 1;
}

HDC WINAPI BeginPaint(HWND window, LPPAINTSTRUCT paint) {
    Window* w = Find(window);
    if (w == nullptr || paint == nullptr) return nullptr;
    std::memset(paint, 0, sizeof *paint);
    HDC dc = reinterpret_cast<HDC>(new Dc{window});
    paint->hdc = dc;
    GetClientRect(window, &paint->rcPaint);
    const bool erase = w->needsErase;
    w->needsPaint = false;
    w->needsErase = false;
    paint->fErase = erase ? FALSE : TRUE;
    if (erase) paint->fErase = SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
    return dc;
}

BOOL WINAPI EndPaint(HWND window, const PAINTSTRUCT* paint) {
    if (paint == nullptr) return FALSE;
    ReleaseDC(window, paint->hdc);
    return TRUE;
}

BOOL WINAPI InvalidateRect(HWND window, const RECT*, BOOL erase) {
    if (window == nullptr) {
        for (Window* top : TopLevels()) {
            top->needsPaint = true;
            top->needsErase = top->needsErase || erase;
        }
        return TRUE;
    }
    Window* w = Find(window);
    if (w == nullptr) return FALSE;
    w->needsPaint = true;
    w->needsErase = w->needsErase || erase;
    return TRUE;
}

BOOL WINAPI ValidateRect(HWND window, const RECT*) {
    Window* w = Find(window);
    if (w == nullptr) return FALSE;
    w->needsPaint = false;
    w->needsErase = false;
    return TRUE;
}

int WINAPI FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    if (dc == nullptr || rect == nullptr) return 0;
    Window* w = Find(reinterpret_cast<Dc*>(dc)->window);
    if (w == nullptr) return 0;
    uint32_t colour;
    if (!BrushColour(brush, &colour)) return 1;
    FillSurface(w, *rect, colour);
    return 1;
}

COLORREF WINAPI GetPixel(HDC dc, int x, int y) {
    if (dc == nullptr) return CLR_INVALID;
    Window* w = Find(reinterpret_cast<Dc*>(dc)->window);
    if (w == nullptr) return CLR_INVALID;
    Window* top = TopLevelOf(w);
    const RECT client = ClientInTopLevel(w);
    const int px = client.left + x, py = client.top + y;
    if (!Inside(client, px, py) || !Inside(RECT{0, 0, top->surface.width, top->surface.height}, px, py))
        return CLR_INVALID;
    const uint32_t p = top->surface.pixels[static_cast<size_t>(py) * static_cast<size_t>(top->surface.width) + static_cast<size_t>(px)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}
