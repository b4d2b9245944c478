// The graphics layer: Direct3D 9 and D3DX9 loaded at run time, the render
// surface inside a host window, images from image files in memory, and their
// drawing as clipped opaque copies or as zoomed, turned and blended quads.
#pragma once

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <cstdint>

// The D3DX entries, in the order in which GraphicsInit looks them up.
enum D3DXEntry {
    D3DXEntryCreateSprite,
    D3DXEntryCreateTextureFromFileExA,
    D3DXEntryLoadSurfaceFromFileA,
    D3DXEntryGetImageInfoFromFileA,
    D3DXEntryCreateTextureFromFileInMemory,
    D3DXEntryCreateTextureFromFileInMemoryEx,
    D3DXEntryGetImageInfoFromFileInMemory,
    D3DXEntryLoadSurfaceFromFileInMemory,
    D3DXEntrySaveTextureToFileA,
    D3DXEntrySaveSurfaceToFileA,
    D3DXEntryCreateLine,
    D3DXEntryCreateTexture,
    D3DXEntryCreateFontA,
    D3DXEntryMatrixRotationZ,
    D3DXEntryMatrixScaling,
    D3DXEntryMatrixMultiply,
    D3DXEntryCount
};

// The names GraphicsInit looks up, indexed by D3DXEntry.
extern const char* const D3DXEntryNames[D3DXEntryCount];
// The D3DX9 libraries GraphicsInit tries, in order.
extern const char* const D3DXLibraryNames[4];

struct GraphicsStateRecord {
    HMODULE d3d9Library;
    HMODULE d3dxLibrary;
    FARPROC d3dxEntries[D3DXEntryCount];
    HANDLE heap;                 // image records
    intptr_t ownWindow;          // window layer identifier of the full-screen window; 0 = none
    int32_t surfaceWidth;
    int32_t surfaceHeight;
    D3DPRESENT_PARAMETERS presentParameters;
    IDirect3D9* direct3d;
    IDirect3DDevice9* device;
    IDirect3DSurface9* backBuffer;
    ID3DXSprite* sprite;
    D3DDISPLAYMODE displayMode;
};

extern GraphicsStateRecord GraphicsState;

// ScreenOpen flags.
enum : uint32_t {
    ScreenFlagTwoBackBuffers = 0x1,
    ScreenFlagAlpha = 0x2,
    ScreenFlagCopySwap = 0x4,
    ScreenFlagMultisampleNonmaskable = 0x8,
    ScreenFlagMultisample2 = 0x10,
    ScreenFlagMultisample3 = 0x20,
    ScreenFlagMultisample4 = 0x40,
    ScreenFlagWindowed = 0x80,
    ScreenFlagReferenceDevice = 0x100,
    ScreenFlagImmediate = 0x200,
};

struct QuadTransform {
    ID3DXSprite* sprite;
    D3DXMATRIX matrix;          // scaling, rotation, then the quad's centre
    D3DXMATRIX rotationMatrix;
    float zoomX;
    float zoomY;
    D3DXVECTOR3 origin;         // texture's top-left corner relative to the quad's centre
};

struct BlitImage {
    IDirect3DSurface9* surface;
    D3DXIMAGE_INFO info;
};

struct QuadImage {
    IDirect3DTexture9* texture;
    QuadTransform* transform;
    D3DXIMAGE_INFO info;
};

// Loading. Nonzero on success.
int32_t GraphicsInit();
void GraphicsShutdown();

// The render surface. `hostOrTitle` is the host window with
// ScreenFlagWindowed, else the title of the layer's own full-screen window.
int32_t ScreenOpen(int32_t width, int32_t height, int32_t depth, const void* hostOrTitle, uint32_t flags = 0);
void ScreenCleanup();
HRESULT ScreenFlip();
IDirect3DDevice9* GraphicsDevice();

// The back-buffer format for a depth and flags (D3DFMT_UNKNOWN when none).
D3DFORMAT ScreenBackBufferFormat(int32_t depth, uint32_t flags, const D3DDISPLAYMODE& displayMode);
// Every presentation parameter of ScreenOpen except hDeviceWindow (left 0).
D3DPRESENT_PARAMETERS ScreenPresentParameters(int32_t width, int32_t height, int32_t depth, uint32_t flags,
                                              const D3DDISPLAYMODE& displayMode);

// Images from complete image files in memory; 0 on failure.
BlitImage* BlitImageCatch(const void* data, int32_t size);
int32_t BlitImageWidth(BlitImage* image);
int32_t BlitImageHeight(BlitImage* image);
QuadImage* QuadImageCatch(const void* data, int32_t size);
int32_t QuadImageWidth(QuadImage* image);
int32_t QuadImageHeight(QuadImage* image);
IDirect3DTexture9* QuadImageTexture(QuadImage* image);

// Drawing.
void BlitImageDraw(BlitImage* image, int32_t x, int32_t y);
void QuadPassBegin();
void QuadPassEnd();
void QuadImageZoom(QuadImage* image, float zoomX, float zoomY);
void QuadImageRotate(QuadImage* image, float angle);
void QuadBlendMode(int32_t enable, int32_t source, int32_t destination);
void QuadImageDraw(QuadImage* image, float x, float y);
