// D3DX9 for the native platform: the sprite, images from files in memory and
// the matrix helpers that the system and its tests use, declared from scratch.
#pragma once

#include <d3d9.h>

#define D3DX_DEFAULT ((UINT)-1)
#define D3DX_DEFAULT_NONPOW2 ((UINT)-2)
#define D3DX_FROM_FILE ((UINT)-3)

#define D3DX_FILTER_NONE 0x00000001
#define D3DX_FILTER_POINT 0x00000002
#define D3DX_FILTER_LINEAR 0x00000003
#define D3DX_FILTER_TRIANGLE 0x00000004
#define D3DX_FILTER_BOX 0x00000005

#define D3DXSPRITE_DONOTSAVESTATE 0x00000001
#define D3DXSPRITE_DONOTMODIFY_RENDERSTATE 0x00000002
#define D3DXSPRITE_OBJECTSPACE 0x00000004
#define D3DXSPRITE_BILLBOARD 0x00000008
#define D3DXSPRITE_ALPHABLEND 0x00000010
#define D3DXSPRITE_SORT_TEXTURE 0x00000020

#define D3DXERR_INVALIDDATA MAKE_D3DHRESULT(2905)

typedef enum _D3DXIMAGE_FILEFORMAT {
    D3DXIFF_BMP = 0,
    D3DXIFF_JPG = 1,
    D3DXIFF_TGA = 2,
    D3DXIFF_PNG = 3,
    D3DXIFF_DDS = 4,
    D3DXIFF_FORCE_DWORD = 0x7fffffff
} D3DXIMAGE_FILEFORMAT;

typedef struct _D3DXIMAGE_INFO {
    UINT Width;
    UINT Height;
    UINT Depth;
    UINT MipLevels;
    D3DFORMAT Format;
    D3DRESOURCETYPE ResourceType;
    D3DXIMAGE_FILEFORMAT ImageFileFormat;
} D3DXIMAGE_INFO;

struct D3DXMATRIX : D3DMATRIX {
    D3DXMATRIX() = default;
    float& operator()(UINT row, UINT column) { return m[row][column]; }
    float operator()(UINT row, UINT column) const { return m[row][column]; }
};

struct D3DXVECTOR3 {
    float x;
    float y;
    float z;
    D3DXVECTOR3() = default;
    D3DXVECTOR3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
};

struct ID3DXSprite : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** device) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTransform(D3DXMATRIX* transform) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetTransform(const D3DXMATRIX* transform) = 0;
    virtual HRESULT STDMETHODCALLTYPE Begin(DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE Draw(IDirect3DTexture9* texture, const RECT* sourceRect,
                                           const D3DXVECTOR3* center, const D3DXVECTOR3* position,
                                           D3DCOLOR color) = 0;
    virtual HRESULT STDMETHODCALLTYPE Flush() = 0;
    virtual HRESULT STDMETHODCALLTYPE End() = 0;
};
typedef ID3DXSprite* LPD3DXSPRITE;

// Interfaces that the library creates but the system never uses.
struct ID3DXLine : IUnknown {};
struct ID3DXFont : IUnknown {};

HRESULT WINAPI D3DXCreateSprite(IDirect3DDevice9* device, ID3DXSprite** sprite);

HRESULT WINAPI D3DXCreateTextureFromFileExA(IDirect3DDevice9* device, LPCSTR fileName, UINT width, UINT height,
                                            UINT mipLevels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                            DWORD filter, DWORD mipFilter, D3DCOLOR colorKey,
                                            D3DXIMAGE_INFO* info, PALETTEENTRY* palette,
                                            IDirect3DTexture9** texture);
HRESULT WINAPI D3DXLoadSurfaceFromFileA(IDirect3DSurface9* surface, const PALETTEENTRY* palette,
                                        const RECT* destRect, LPCSTR fileName, const RECT* sourceRect,
                                        DWORD filter, D3DCOLOR colorKey, D3DXIMAGE_INFO* info);
HRESULT WINAPI D3DXGetImageInfoFromFileA(LPCSTR fileName, D3DXIMAGE_INFO* info);
HRESULT WINAPI D3DXCreateTextureFromFileInMemory(IDirect3DDevice9* device, LPCVOID data, UINT size,
                                                 IDirect3DTexture9** texture);
HRESULT WINAPI D3DXCreateTextureFromFileInMemoryEx(IDirect3DDevice9* device, LPCVOID data, UINT size, UINT width,
                                                   UINT height, UINT mipLevels, DWORD usage, D3DFORMAT format,
                                                   D3DPOOL pool, DWORD filter, DWORD mipFilter,
                                                   D3DCOLOR colorKey, D3DXIMAGE_INFO* info,
                                                   PALETTEENTRY* palette, IDirect3DTexture9** texture);
HRESULT WINAPI D3DXGetImageInfoFromFileInMemory(LPCVOID data, UINT size, D3DXIMAGE_INFO* info);
HRESULT WINAPI D3DXLoadSurfaceFromFileInMemory(IDirect3DSurface9* surface, const PALETTEENTRY* palette,
                                               const RECT* destRect, LPCVOID data, UINT size,
                                               const RECT* sourceRect, DWORD filter, D3DCOLOR colorKey,
                                               D3DXIMAGE_INFO* info);
HRESULT WINAPI D3DXSaveTextureToFileA(LPCSTR fileName, D3DXIMAGE_FILEFORMAT format, IDirect3DBaseTexture9* texture,
                                      const PALETTEENTRY* palette);
HRESULT WINAPI D3DXSaveSurfaceToFileA(LPCSTR fileName, D3DXIMAGE_FILEFORMAT format, IDirect3DSurface9* surface,
                                      const PALETTEENTRY* palette, const RECT* sourceRect);
HRESULT WINAPI D3DXCreateLine(IDirect3DDevice9* device, ID3DXLine** line);
HRESULT WINAPI D3DXCreateTexture(IDirect3DDevice9* device, UINT width, UINT height, UINT mipLevels, DWORD usage,
                                 D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture);
HRESULT WINAPI D3DXCreateFontA(IDirect3DDevice9* device, INT height, UINT width, UINT weight, UINT mipLevels,
                               BOOL italic, DWORD charSet, DWORD outputPrecision, DWORD quality,
                               DWORD pitchAndFamily, LPCSTR faceName, ID3DXFont** font);

D3DXMATRIX* WINAPI D3DXMatrixRotationZ(D3DXMATRIX* out, FLOAT angle);
D3DXMATRIX* WINAPI D3DXMatrixScaling(D3DXMATRIX* out, FLOAT sx, FLOAT sy, FLOAT sz);
D3DXMATRIX* WINAPI D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* m1, const D3DXMATRIX* m2);
