// D3DX9: images from PNG files (in memory or on disk) through libpng, colour
// key, textures with full mip chains, the sprite and three matrix helpers.
#include <d3dx9.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "d3d9/internal.h"
#include "d3dx9/internal.h"
#include "kernel32/modules.h"

namespace {

// A decoded image: A8R8G8B8 pixels, rows packed.
struct Image {
    UINT width = 0;
    UINT height = 0;
    bool alpha = false;
    std::vector<uint32_t> pixels;
};

bool ReadInfo(const void* data, UINT size, png_image* image) {
    if (!data || size == 0) return false;
    std::memset(image, 0, sizeof *image);
    image->version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(image, data, size)) {
        png_image_free(image);
        return false;
    }
    return image->width > 0 && image->height > 0;
}

void FillInfo(const png_image& image, D3DXIMAGE_INFO* info) {
    if (!info) return;
    info->Width = image.width;
    info->Height = image.height;
    info->Depth = 1;
    info->MipLevels = 1;
    info->Format = (image.format & PNG_FORMAT_FLAG_ALPHA) ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    info->ResourceType = D3DRTYPE_TEXTURE;
    info->ImageFileFormat = D3DXIFF_PNG;
}

HRESULT Decode(const void* data, UINT size, D3DCOLOR colourKey, Image* out, D3DXIMAGE_INFO* info) {
    png_image image;
    if (!ReadInfo(data, size, &image)) return D3DXERR_INVALIDDATA;
    FillInfo(image, info);
    out->width = image.width;
    out->height = image.height;
    out->alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    // BGRA bytes are A8R8G8B8 words on a little-endian machine.
    image.format = PNG_FORMAT_BGRA;
    out->pixels.resize(static_cast<size_t>(image.width) * image.height);
    if (!png_image_finish_read(&image, nullptr, out->pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return D3DXERR_INVALIDDATA;
    }
    if (colourKey != 0) {
        for (uint32_t& p : out->pixels)
            if (p == colourKey) p = 0;
    }
    return D3D_OK;
}

// Bilinear resampling of `src` (or a copy when the sizes agree) into a
// width by height block of `dest` rows.
void Resample(const Image& src, const RECT& from, uint32_t* dest, UINT destPitch, UINT width, UINT height,
              bool opaque) {
    const UINT fw = static_cast<UINT>(from.right - from.left), fh = static_cast<UINT>(from.bottom - from.top);
    for (UINT y = 0; y < height; ++y) {
        uint32_t* row = dest + static_cast<size_t>(y) * destPitch;
        for (UINT x = 0; x < width; ++x) {
            uint32_t p;
            if (fw == width && fh == height) {
                p = src.pixels[static_cast<size_t>(from.top + y) * src.width + from.left + x];
            } else {
                const double sx = (x + 0.5) * fw / width - 0.5, sy = (y + 0.5) * fh / height - 0.5;
                const int x0 = static_cast<int>(std::floor(sx)), y0 = static_cast<int>(std::floor(sy));
                const double ax = sx - x0, ay = sy - y0;
                double sum[4] = {0, 0, 0, 0};
                for (int k = 0; k < 4; ++k) {
                    int xi = std::clamp(x0 + (k & 1), 0, static_cast<int>(fw) - 1);
                    int yi = std::clamp(y0 + (k >> 1), 0, static_cast<int>(fh) - 1);
                    double w = ((k & 1) ? ax : 1 - ax) * ((k >> 1) ? ay : 1 - ay);
                    uint32_t q = src.pixels[static_cast<size_t>(from.top + yi) * src.width + from.left + xi];
                    for (int c = 0; c < 4; ++c) sum[c] += w * ((q >> (8 * c)) & 0xff);
                }
                p = 0;
                for (int c = 0; c < 4; ++c) p |= static_cast<uint32_t>(std::lround(sum[c])) << (8 * c);
            }
            row[x] = opaque ? (p | 0xff000000u) : p;
        }
    }
}

UINT RoundUpPowerOfTwo(UINT v) {
    UINT p = 1;
    while (p < v && p < 0x80000000u) p <<= 1;
    return p;
}

bool ReadFile(LPCSTR fileName, std::vector<unsigned char>* bytes) {
    if (!fileName) return false;
    std::FILE* file = std::fopen(fileName, "rb");
    if (!file) return false;
    unsigned char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes->insert(bytes->end(), buffer, buffer + got);
    std::fclose(file);
    return !bytes->empty();
}

HRESULT SavePng(LPCSTR fileName, const d3d9::PixelStore& store, const RECT& area, bool alpha) {
    const UINT w = static_cast<UINT>(area.right - area.left), h = static_cast<UINT>(area.bottom - area.top);
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
    for (UINT y = 0; y < h; ++y)
        for (UINT x = 0; x < w; ++x) {
            uint32_t p = store.Row(static_cast<UINT>(area.top) + y)[static_cast<UINT>(area.left) + x];
            pixels[static_cast<size_t>(y) * w + x] = alpha ? p : (p | 0xff000000u);
        }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = w;
    image.height = h;
    image.format = alpha ? PNG_FORMAT_BGRA : PNG_FORMAT_BGRA;
    if (!png_image_write_to_file(&image, fileName, 0, pixels.data(), 0, nullptr)) return D3DERR_INVALIDCALL;
    return D3D_OK;
}

}  // namespace

HRESULT WINAPI D3DXCreateSprite(IDirect3DDevice9* device, ID3DXSprite** sprite) {
    return d3dx9::CreateSprite(device, sprite);
}

HRESULT WINAPI D3DXGetImageInfoFromFileInMemory(LPCVOID data, UINT size, D3DXIMAGE_INFO* info) {
    png_image image;
    if (!ReadInfo(data, size, &image)) return D3DXERR_INVALIDDATA;
    FillInfo(image, info);
    png_image_free(&image);
    return D3D_OK;
}

HRESULT WINAPI D3DXLoadSurfaceFromFileInMemory(IDirect3DSurface9* surface, const PALETTEENTRY*, const RECT* destRect,
                                               LPCVOID data, UINT size, const RECT* sourceRect, DWORD,
                                               D3DCOLOR colourKey, D3DXIMAGE_INFO* info) {
    if (!surface || !data || size == 0) return D3DERR_INVALIDCALL;
    Image image;
    HRESULT result = Decode(data, size, colourKey, &image, info);
    if (FAILED(result)) return result;
    d3d9::Surface* target = static_cast<d3d9::Surface*>(surface);
    d3d9::PixelStore& store = target->Store();
    RECT from = {0, 0, static_cast<LONG>(image.width), static_cast<LONG>(image.height)};
    if (sourceRect) from = *sourceRect;
    RECT to = {0, 0, static_cast<LONG>(store.width), static_cast<LONG>(store.height)};
    if (destRect) to = *destRect;
    if (from.left < 0 || from.top < 0 || from.left >= from.right || from.top >= from.bottom ||
        static_cast<UINT>(from.right) > image.width || static_cast<UINT>(from.bottom) > image.height ||
        to.left < 0 || to.top < 0 || to.left >= to.right || to.top >= to.bottom ||
        static_cast<UINT>(to.right) > store.width || static_cast<UINT>(to.bottom) > store.height) {
        return D3DERR_INVALIDCALL;
    }
    Resample(image, from, store.Row(static_cast<UINT>(to.top)) + to.left, store.width,
             static_cast<UINT>(to.right - to.left), static_cast<UINT>(to.bottom - to.top),
             !d3d9::FormatHasAlpha(target->Format()));
    return D3D_OK;
}

HRESULT WINAPI D3DXCreateTexture(IDirect3DDevice9* device, UINT width, UINT height, UINT mipLevels, DWORD usage,
                                 D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture) {
    if (!device || !texture) return D3DERR_INVALIDCALL;
    if (width == D3DX_DEFAULT || width == 0) width = 256;
    if (height == D3DX_DEFAULT || height == 0) height = 256;
    if (mipLevels == D3DX_DEFAULT) mipLevels = 0;
    if (format == D3DFMT_UNKNOWN) format = D3DFMT_A8R8G8B8;
    if (!d3d9::FormatSupported(format)) format = D3DFMT_A8R8G8B8;
    return device->CreateTexture(RoundUpPowerOfTwo(width), RoundUpPowerOfTwo(height), mipLevels, usage, format,
                                 pool, texture, nullptr);
}

HRESULT WINAPI D3DXCreateTextureFromFileInMemoryEx(IDirect3DDevice9* device, LPCVOID data, UINT size, UINT width,
                                                   UINT height, UINT mipLevels, DWORD usage, D3DFORMAT format,
                                                   D3DPOOL pool, DWORD, DWORD, D3DCOLOR colourKey,
                                                   D3DXIMAGE_INFO* info, PALETTEENTRY*,
                                                   IDirect3DTexture9** texture) {
    if (!device || !data || size == 0 || !texture) return D3DERR_INVALIDCALL;
    *texture = nullptr;
    Image image;
    HRESULT result = Decode(data, size, colourKey, &image, info);
    if (FAILED(result)) return result;
    if (width == D3DX_DEFAULT || width == 0) width = RoundUpPowerOfTwo(image.width);
    else if (width == D3DX_DEFAULT_NONPOW2 || width == D3DX_FROM_FILE) width = image.width;
    if (height == D3DX_DEFAULT || height == 0) height = RoundUpPowerOfTwo(image.height);
    else if (height == D3DX_DEFAULT_NONPOW2 || height == D3DX_FROM_FILE) height = image.height;
    if (mipLevels == D3DX_DEFAULT || mipLevels == D3DX_FROM_FILE) mipLevels = 0;
    // Keyed-out pixels need an alpha channel to become transparent.
    if (format == D3DFMT_UNKNOWN) format = (image.alpha || colourKey != 0) ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    IDirect3DTexture9* created = nullptr;
    result = device->CreateTexture(width, height, mipLevels, usage, format, pool, &created, nullptr);
    if (FAILED(result)) return result;
    d3d9::Texture* filled = static_cast<d3d9::Texture*>(created);
    RECT whole = {0, 0, static_cast<LONG>(image.width), static_cast<LONG>(image.height)};
    Resample(image, whole, filled->Level(0).pixels.data(), width, width, height,
             !d3d9::FormatHasAlpha(filled->Format()));
    filled->GenerateMipLevels();
    *texture = created;
    return D3D_OK;
}

HRESULT WINAPI D3DXCreateTextureFromFileInMemory(IDirect3DDevice9* device, LPCVOID data, UINT size,
                                                 IDirect3DTexture9** texture) {
    return D3DXCreateTextureFromFileInMemoryEx(device, data, size, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0,
                                               D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0,
                                               nullptr, nullptr, texture);
}

HRESULT WINAPI D3DXCreateTextureFromFileExA(IDirect3DDevice9* device, LPCSTR fileName, UINT width, UINT height,
                                            UINT mipLevels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                            DWORD filter, DWORD mipFilter, D3DCOLOR colourKey,
                                            D3DXIMAGE_INFO* info, PALETTEENTRY* palette,
                                            IDirect3DTexture9** texture) {
    std::vector<unsigned char> bytes;
    if (!ReadFile(fileName, &bytes)) return D3DERR_INVALIDCALL;
    return D3DXCreateTextureFromFileInMemoryEx(device, bytes.data(), static_cast<UINT>(bytes.size()), width, height,
                                               mipLevels, usage, format, pool, filter, mipFilter, colourKey, info,
                                               palette, texture);
}

HRESULT WINAPI D3DXLoadSurfaceFromFileA(IDirect3DSurface9* surface, const PALETTEENTRY* palette,
                                        const RECT* destRect, LPCSTR fileName, const RECT* sourceRect,
                                        DWORD filter, D3DCOLOR colourKey, D3DXIMAGE_INFO* info) {
    std::vector<unsigned char> bytes;
    if (!ReadFile(fileName, &bytes)) return D3DERR_INVALIDCALL;
    return D3DXLoadSurfaceFromFileInMemory(surface, palette, destRect, bytes.data(),
                                           static_cast<UINT>(bytes.size()), sourceRect, filter, colourKey, info);
}

HRESULT WINAPI D3DXGetImageInfoFromFileA(LPCSTR fileName, D3DXIMAGE_INFO* info) {
    std::vector<unsigned char> bytes;
    if (!ReadFile(fileName, &bytes)) return D3DERR_INVALIDCALL;
    return D3DXGetImageInfoFromFileInMemory(bytes.data(), static_cast<UINT>(bytes.size()), info);
}

HRESULT WINAPI D3DXSaveTextureToFileA(LPCSTR fileName, D3DXIMAGE_FILEFORMAT format, IDirect3DBaseTexture9* texture,
                                      const PALETTEENTRY*) {
    if (!fileName || !texture || format != D3DXIFF_PNG || texture->GetType() != D3DRTYPE_TEXTURE) {
        return D3DERR_INVALIDCALL;
    }
    d3d9::Texture* source = static_cast<d3d9::Texture*>(texture);
    const d3d9::PixelStore& level = source->Level(0);
    RECT whole = {0, 0, static_cast<LONG>(level.width), static_cast<LONG>(level.height)};
    return SavePng(fileName, level, whole, d3d9::FormatHasAlpha(source->Format()));
}

HRESULT WINAPI D3DXSaveSurfaceToFileA(LPCSTR fileName, D3DXIMAGE_FILEFORMAT format, IDirect3DSurface9* surface,
                                      const PALETTEENTRY*, const RECT* sourceRect) {
    if (!fileName || !surface || format != D3DXIFF_PNG) return D3DERR_INVALIDCALL;
    d3d9::Surface* source = static_cast<d3d9::Surface*>(surface);
    const d3d9::PixelStore& store = source->Store();
    RECT area = {0, 0, static_cast<LONG>(store.width), static_cast<LONG>(store.height)};
    if (sourceRect) area = *sourceRect;
    if (area.left < 0 || area.top < 0 || area.left >= area.right || area.top >= area.bottom ||
        static_cast<UINT>(area.right) > store.width || static_cast<UINT>(area.bottom) > store.height) {
        return D3DERR_INVALIDCALL;
    }
    return SavePng(fileName, store, area, d3d9::FormatHasAlpha(source->Format()));
}

// Lines and fonts are not part of this stand-in.
HRESULT WINAPI D3DXCreateLine(IDirect3DDevice9*, ID3DXLine** line) {
    if (line) *line = nullptr;
    return E_NOTIMPL;
}

HRESULT WINAPI D3DXCreateFontA(IDirect3DDevice9*, INT, UINT, UINT, UINT, BOOL, DWORD, DWORD, DWORD, DWORD, LPCSTR,
                               ID3DXFont** font) {
    if (font) *font = nullptr;
    return E_NOTIMPL;
}

D3DXMATRIX* WINAPI D3DXMatrixRotationZ(D3DXMATRIX* out, FLOAT angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    for (int r = 0; r < 4; ++r)
        for (int k = 0; k < 4; ++k) out->m[r][k] = r == k ? 1.0f : 0.0f;
    out->_11 = c;
    out->_12 = s;
    out->_21 = -s;
    out->_22 = c;
    return out;
}

D3DXMATRIX* WINAPI D3DXMatrixScaling(D3DXMATRIX* out, FLOAT sx, FLOAT sy, FLOAT sz) {
    for (int r = 0; r < 4; ++r)
        for (int k = 0; k < 4; ++k) out->m[r][k] = 0.0f;
    out->_11 = sx;
    out->_22 = sy;
    out->_33 = sz;
    out->_44 = 1.0f;
    return out;
}

D3DXMATRIX* WINAPI D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* m1, const D3DXMATRIX* m2) {
    D3DXMATRIX product;
    for (int r = 0; r < 4; ++r)
        for (int k = 0; k < 4; ++k) {
            float sum = 0.0f;
            for (int i = 0; i < 4; ++i) sum += m1->m[r][i] * m2->m[i][k];
            product.m[r][k] = sum;
        }
    *out = product;
    return out;
}

namespace {

// An entry for the module table; void (*)() converts to any function type.
template <typename Function>
FARPROC Export(Function* function) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

}  // namespace

void PlatformD3DX9Register() {
    static const PlatformExport exports[] = {
        {"D3DXCreateSprite", Export(&D3DXCreateSprite)},
        {"D3DXCreateTextureFromFileExA", Export(&D3DXCreateTextureFromFileExA)},
        {"D3DXLoadSurfaceFromFileA", Export(&D3DXLoadSurfaceFromFileA)},
        {"D3DXGetImageInfoFromFileA", Export(&D3DXGetImageInfoFromFileA)},
        {"D3DXCreateTextureFromFileInMemory", Export(&D3DXCreateTextureFromFileInMemory)},
        {"D3DXCreateTextureFromFileInMemoryEx", Export(&D3DXCreateTextureFromFileInMemoryEx)},
        {"D3DXGetImageInfoFromFileInMemory", Export(&D3DXGetImageInfoFromFileInMemory)},
        {"D3DXLoadSurfaceFromFileInMemory", Export(&D3DXLoadSurfaceFromFileInMemory)},
        {"D3DXSaveTextureToFileA", Export(&D3DXSaveTextureToFileA)},
        {"D3DXSaveSurfaceToFileA", Export(&D3DXSaveSurfaceToFileA)},
        {"D3DXCreateLine", Export(&D3DXCreateLine)},
        {"D3DXCreateTexture", Export(&D3DXCreateTexture)},
        {"D3DXCreateFontA", Export(&D3DXCreateFontA)},
        {"D3DXMatrixRotationZ", Export(&D3DXMatrixRotationZ)},
        {"D3DXMatrixScaling", Export(&D3DXMatrixScaling)},
        {"D3DXMatrixMultiply", Export(&D3DXMatrixMultiply)},
    };
    PlatformModuleRegister("D3DX9_27.dll", exports, sizeof exports / sizeof exports[0]);
}
