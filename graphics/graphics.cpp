// The graphics layer over Direct3D 9 and D3DX9, both loaded at run time.
#include "graphics/graphics.h"

#include <cstring>

#include "graphics/screen_window.h"

GraphicsStateRecord GraphicsState;

const char* const D3DXEntryNames[D3DXEntryCount] = {
    "D3DXCreateSprite",
    "D3DXCreateTextureFromFileExA",
    "D3DXLoadSurfaceFromFileA",
    "D3DXGetImageInfoFromFileA",
    "D3DXCreateTextureFromFileInMemory",
    "D3DXCreateTextureFromFileInMemoryEx",
    "D3DXGetImageInfoFromFileInMemory",
    "D3DXLoadSurfaceFromFileInMemory",
    "D3DXSaveTextureToFileA",
    "D3DXSaveSurfaceToFileA",
    "D3DXCreateLine",
    "D3DXCreateTexture",
    "D3DXCreateFontA",
    "D3DXMatrixRotationZ",
    "D3DXMatrixScaling",
    "D3DXMatrixMultiply",
};

const char* const D3DXLibraryNames[4] = {"D3DX9_27.dll", "D3DX9_26.dll", "D3DX9_25.dll", "D3DX9_24.dll"};

namespace {

typedef IDirect3D9*(WINAPI* Direct3DCreate9Function)(UINT);
typedef decltype(&D3DXCreateSprite) CreateSpriteFunction;
typedef decltype(&D3DXCreateTextureFromFileInMemoryEx) CreateTextureFunction;
typedef decltype(&D3DXGetImageInfoFromFileInMemory) GetImageInfoFunction;
typedef decltype(&D3DXLoadSurfaceFromFileInMemory) LoadSurfaceFunction;
typedef decltype(&D3DXMatrixRotationZ) RotationZFunction;
typedef decltype(&D3DXMatrixScaling) ScalingFunction;
typedef decltype(&D3DXMatrixMultiply) MultiplyFunction;

// An entry of the table as the function it is.
template <typename Function>
Function Entry(D3DXEntry entry) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GraphicsState.d3dxEntries[entry]));
}

template <typename Interface>
void ReleaseField(Interface*& object) {
    if (object) {
        object->Release();
        object = nullptr;
    }
}

void SetIdentity(D3DXMATRIX* m) {
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) m->m[row][column] = row == column ? 1.0f : 0.0f;
}

void QuadTransformRebuild(QuadTransform* transform) {
    ScalingFunction scaling = Entry<ScalingFunction>(D3DXEntryMatrixScaling);
    MultiplyFunction multiply = Entry<MultiplyFunction>(D3DXEntryMatrixMultiply);
    if (!scaling || !multiply) return;
    D3DXMATRIX scale;
    scaling(&scale, transform->zoomX, transform->zoomY, 1.0f);
    multiply(&transform->matrix, &scale, &transform->rotationMatrix);
}

// What the accessors of a BlitImage report for handle 0: larger than any
// surface, so that a caller tiling by the image's size stops at once.
constexpr int32_t kNoImageExtent = 0x10000;

}  // namespace

// ------------------------------------------------------------------ loading

int32_t GraphicsInit() {
    GraphicsState.heap = HeapCreate(0, 4096, 0);
    GraphicsState.d3d9Library = LoadLibraryA("D3D9.dll");
    if (!GraphicsState.d3d9Library) return 0;
    Direct3DCreate9Function create = reinterpret_cast<Direct3DCreate9Function>(
        reinterpret_cast<void (*)()>(GetProcAddress(GraphicsState.d3d9Library, "Direct3DCreate9")));
    if (!create) return 0;
    GraphicsState.direct3d = create(31);
    if (!GraphicsState.direct3d) return 0;
    if (FAILED(GraphicsState.direct3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &GraphicsState.displayMode))) {
        std::memset(&GraphicsState.displayMode, 0, sizeof GraphicsState.displayMode);
    }
    GraphicsState.d3dxLibrary = nullptr;
    for (const char* name : D3DXLibraryNames) {
        GraphicsState.d3dxLibrary = LoadLibraryA(name);
        if (GraphicsState.d3dxLibrary) break;
    }
    if (!GraphicsState.d3dxLibrary) return 0;
    for (int i = 0; i < D3DXEntryCount; ++i) {
        GraphicsState.d3dxEntries[i] = GetProcAddress(GraphicsState.d3dxLibrary, D3DXEntryNames[i]);
    }
    return GraphicsState.d3dxEntries[D3DXEntryMatrixMultiply] != nullptr;
}

void GraphicsShutdown() {
    ReleaseField(GraphicsState.sprite);
    ReleaseField(GraphicsState.backBuffer);
    ReleaseField(GraphicsState.device);
    if (GraphicsState.ownWindow != 0) {
        ScreenWindowClose(GraphicsState.ownWindow);
        GraphicsState.ownWindow = 0;
    }
    ReleaseField(GraphicsState.direct3d);
    if (GraphicsState.d3d9Library) {
        FreeLibrary(GraphicsState.d3d9Library);
        GraphicsState.d3d9Library = nullptr;
    }
    if (GraphicsState.d3dxLibrary) {
        FreeLibrary(GraphicsState.d3dxLibrary);
        GraphicsState.d3dxLibrary = nullptr;
        for (FARPROC& entry : GraphicsState.d3dxEntries) entry = nullptr;
        if (GraphicsState.heap) HeapDestroy(GraphicsState.heap);
        GraphicsState.heap = nullptr;
    }
}

// ----------------------------------------------------------- render surface

D3DFORMAT ScreenBackBufferFormat(int32_t depth, uint32_t flags, const D3DDISPLAYMODE& displayMode) {
    const bool alpha = (flags & ScreenFlagAlpha) != 0;
    switch (depth) {
        case 0: return displayMode.Format;
        case 8: return D3DFMT_R3G3B2;
        case 16: return alpha ? D3DFMT_A4R4G4B4 : D3DFMT_R5G6B5;
        case 24: return D3DFMT_R8G8B8;
        case 32: return alpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
        case 64: return alpha ? D3DFMT_A16B16G16R16 : D3DFMT_UNKNOWN;
        default: return D3DFMT_UNKNOWN;
    }
}

D3DPRESENT_PARAMETERS ScreenPresentParameters(int32_t width, int32_t height, int32_t depth, uint32_t flags,
                                              const D3DDISPLAYMODE& displayMode) {
    D3DPRESENT_PARAMETERS p;
    std::memset(&p, 0, sizeof p);
    p.BackBufferWidth = width != 0 ? static_cast<UINT>(width) : displayMode.Width;
    p.BackBufferHeight = height != 0 ? static_cast<UINT>(height) : displayMode.Height;
    p.BackBufferFormat = ScreenBackBufferFormat(depth, flags, displayMode);
    p.BackBufferCount = (flags & ScreenFlagTwoBackBuffers) ? 2 : 1;
    if (flags & ScreenFlagMultisampleNonmaskable) {
        p.MultiSampleType = D3DMULTISAMPLE_NONMASKABLE;
    } else if (flags & ScreenFlagMultisample2) {
        p.MultiSampleType = D3DMULTISAMPLE_2_SAMPLES;
    } else if (flags & ScreenFlagMultisample3) {
        p.MultiSampleType = D3DMULTISAMPLE_3_SAMPLES;
    } else if (flags & ScreenFlagMultisample4) {
        p.MultiSampleType = D3DMULTISAMPLE_4_SAMPLES;
    } else {
        p.MultiSampleType = D3DMULTISAMPLE_NONE;
    }
    p.MultiSampleQuality = 0;
    p.SwapEffect = (flags & ScreenFlagCopySwap) ? D3DSWAPEFFECT_COPY : D3DSWAPEFFECT_DISCARD;
    p.hDeviceWindow = nullptr;
    p.Windowed = (flags & ScreenFlagWindowed) ? TRUE : FALSE;
    p.EnableAutoDepthStencil = FALSE;
    p.AutoDepthStencilFormat = D3DFMT_D16;
    p.Flags = p.MultiSampleType == D3DMULTISAMPLE_NONE ? D3DPRESENTFLAG_LOCKABLE_BACKBUFFER : 0;
    p.FullScreen_RefreshRateInHz = 0;
    p.PresentationInterval = (flags & ScreenFlagImmediate) ? D3DPRESENT_INTERVAL_IMMEDIATE : D3DPRESENT_INTERVAL_ONE;
    return p;
}

void ScreenCleanup() {
    ReleaseField(GraphicsState.sprite);
    ReleaseField(GraphicsState.backBuffer);
    ReleaseField(GraphicsState.device);
    if (GraphicsState.ownWindow != 0) {
        ScreenWindowClose(GraphicsState.ownWindow);
        GraphicsState.ownWindow = 0;
    }
}

int32_t ScreenOpen(int32_t width, int32_t height, int32_t depth, const void* hostOrTitle, uint32_t flags) {
    CreateSpriteFunction createSprite = Entry<CreateSpriteFunction>(D3DXEntryCreateSprite);
    if (!GraphicsState.direct3d || !createSprite) return 0;
    // A second surface replaces the first.
    ScreenCleanup();

    GraphicsState.presentParameters =
        ScreenPresentParameters(width, height, depth, flags, GraphicsState.displayMode);
    GraphicsState.surfaceWidth = static_cast<int32_t>(GraphicsState.presentParameters.BackBufferWidth);
    GraphicsState.surfaceHeight = static_cast<int32_t>(GraphicsState.presentParameters.BackBufferHeight);

    HWND host;
    if (flags & ScreenFlagWindowed) {
        host = static_cast<HWND>(const_cast<void*>(hostOrTitle));
        if (!host) {
            ScreenCleanup();
            return 0;
        }
    } else {
        intptr_t id = ScreenWindowOpen(static_cast<int32_t>(GraphicsState.presentParameters.BackBufferWidth), height,
                                       static_cast<const char*>(hostOrTitle));
        if (id == 0) {
            ScreenCleanup();
            return 0;
        }
        GraphicsState.ownWindow = id;
        host = ScreenWindowHandle(id);
    }
    GraphicsState.presentParameters.hDeviceWindow = host;

    D3DDEVTYPE type = (flags & ScreenFlagReferenceDevice) ? D3DDEVTYPE_REF : D3DDEVTYPE_HAL;
    if (FAILED(GraphicsState.direct3d->CreateDevice(D3DADAPTER_DEFAULT, type, host,
                                                    D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                                    &GraphicsState.presentParameters, &GraphicsState.device))) {
        GraphicsState.device = nullptr;
        ScreenCleanup();
        return 0;
    }
    IDirect3DDevice9* device = GraphicsState.device;
    if (flags & ScreenFlagAlpha) {
        device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
        device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
        device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_CURRENT);
        device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
        device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    }
    if (!(flags & ScreenFlagWindowed)) ShowCursor(FALSE);
    if (FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &GraphicsState.backBuffer))) {
        GraphicsState.backBuffer = nullptr;
        ScreenCleanup();
        return 0;
    }
    if (FAILED(createSprite(device, &GraphicsState.sprite))) {
        GraphicsState.sprite = nullptr;
        ScreenCleanup();
        return 0;
    }
    return 1;
}

HRESULT ScreenFlip() {
    if (!GraphicsState.device) return D3DERR_INVALIDCALL;
    return GraphicsState.device->Present(nullptr, nullptr, nullptr, nullptr);
}

IDirect3DDevice9* GraphicsDevice() { return GraphicsState.device; }

// ------------------------------------------------------------------- images

BlitImage* BlitImageCatch(const void* data, int32_t size) {
    GetImageInfoFunction getInfo = Entry<GetImageInfoFunction>(D3DXEntryGetImageInfoFromFileInMemory);
    LoadSurfaceFunction load = Entry<LoadSurfaceFunction>(D3DXEntryLoadSurfaceFromFileInMemory);
    if (!GraphicsState.device || !getInfo || !load || !GraphicsState.heap) return nullptr;
    BlitImage* image = static_cast<BlitImage*>(HeapAlloc(GraphicsState.heap, HEAP_ZERO_MEMORY, sizeof(BlitImage)));
    if (!image) return nullptr;
    if (FAILED(getInfo(data, static_cast<UINT>(size), &image->info))) return nullptr;
    if (FAILED(GraphicsState.device->CreateOffscreenPlainSurface(image->info.Width, image->info.Height,
                                                                 GraphicsState.presentParameters.BackBufferFormat,
                                                                 D3DPOOL_SYSTEMMEM, &image->surface, nullptr))) {
        return nullptr;
    }
    if (FAILED(load(image->surface, nullptr, nullptr, data, static_cast<UINT>(size), nullptr, D3DX_DEFAULT,
                    0xFF000000u, nullptr))) {
        return nullptr;
    }
    return image;
}

int32_t BlitImageWidth(BlitImage* image) {
    return image ? static_cast<int32_t>(image->info.Width) : kNoImageExtent;
}

int32_t BlitImageHeight(BlitImage* image) {
    return image ? static_cast<int32_t>(image->info.Height) : kNoImageExtent;
}

QuadImage* QuadImageCatch(const void* data, int32_t size) {
    CreateTextureFunction create = Entry<CreateTextureFunction>(D3DXEntryCreateTextureFromFileInMemoryEx);
    if (!GraphicsState.device || !create || !GraphicsState.heap) return nullptr;
    QuadImage* image = static_cast<QuadImage*>(HeapAlloc(GraphicsState.heap, HEAP_ZERO_MEMORY, sizeof(QuadImage)));
    if (!image) return nullptr;
    if (FAILED(create(GraphicsState.device, data, static_cast<UINT>(size), D3DX_DEFAULT, D3DX_DEFAULT,
                      D3DX_DEFAULT, 0, D3DFMT_UNKNOWN, D3DPOOL_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0xFF000000u,
                      &image->info, nullptr, &image->texture))) {
        return nullptr;
    }
    QuadTransform* transform =
        static_cast<QuadTransform*>(HeapAlloc(GraphicsState.heap, HEAP_ZERO_MEMORY, sizeof(QuadTransform)));
    if (!transform) return nullptr;
    transform->sprite = GraphicsState.sprite;
    SetIdentity(&transform->matrix);
    SetIdentity(&transform->rotationMatrix);
    transform->zoomX = 1.0f;
    transform->zoomY = 1.0f;
    transform->origin.x = -static_cast<float>(image->info.Width) / 2.0f;
    transform->origin.y = -static_cast<float>(image->info.Height) / 2.0f;
    transform->origin.z = 0.0f;
    image->transform = transform;
    return image;
}

int32_t QuadImageWidth(QuadImage* image) { return image ? static_cast<int32_t>(image->info.Width) : 0; }

int32_t QuadImageHeight(QuadImage* image) { return image ? static_cast<int32_t>(image->info.Height) : 0; }

IDirect3DTexture9* QuadImageTexture(QuadImage* image) { return image ? image->texture : nullptr; }

// ------------------------------------------------------------------ drawing

void BlitImageDraw(BlitImage* image, int32_t x, int32_t y) {
    if (!image || !GraphicsState.device || !GraphicsState.backBuffer) return;
    // Only corners inside the back buffer are copied: the copy is clipped at
    // the right and bottom edges and never starts outside.
    if (x < 0 || y < 0 || x >= GraphicsState.surfaceWidth || y >= GraphicsState.surfaceHeight) return;
    uint32_t w = static_cast<uint32_t>(GraphicsState.surfaceWidth - x);
    if (w > image->info.Width) w = image->info.Width;
    uint32_t h = static_cast<uint32_t>(GraphicsState.surfaceHeight - y);
    if (h > image->info.Height) h = image->info.Height;
    RECT source = {0, 0, static_cast<LONG>(w), static_cast<LONG>(h)};
    POINT at = {x, y};
    GraphicsState.device->UpdateSurface(image->surface, &source, GraphicsState.backBuffer, &at);
}

void QuadPassBegin() {
    if (!GraphicsState.device || !GraphicsState.sprite) return;
    GraphicsState.device->BeginScene();
    GraphicsState.sprite->Begin(0);
    // The sprite turns the alpha test on, which would drop every pixel of
    // the particles whose texture-factor alpha is 0 (scorch marks and
    // fireballs); their looks rely on blend factors alone.
    GraphicsState.device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
}

void QuadPassEnd() {
    if (!GraphicsState.device || !GraphicsState.sprite) return;
    GraphicsState.sprite->End();
    GraphicsState.device->EndScene();
}

void QuadImageZoom(QuadImage* image, float zoomX, float zoomY) {
    if (!image) return;
    image->transform->zoomX = zoomX;
    image->transform->zoomY = zoomY;
    QuadTransformRebuild(image->transform);
}

void QuadImageRotate(QuadImage* image, float angle) {
    RotationZFunction rotation = Entry<RotationZFunction>(D3DXEntryMatrixRotationZ);
    if (!image || !rotation) return;
    rotation(&image->transform->rotationMatrix, angle);
    QuadTransformRebuild(image->transform);
}

void QuadBlendMode(int32_t enable, int32_t source, int32_t destination) {
    if (!GraphicsState.device || !GraphicsState.sprite) return;
    GraphicsState.sprite->Flush();
    GraphicsState.device->SetRenderState(D3DRS_ALPHABLENDENABLE, static_cast<DWORD>(enable));
    GraphicsState.device->SetRenderState(D3DRS_SRCBLEND, static_cast<DWORD>(source));
    GraphicsState.device->SetRenderState(D3DRS_DESTBLEND, static_cast<DWORD>(destination));
}

void QuadImageDraw(QuadImage* image, float x, float y) {
    if (!image || !GraphicsState.sprite) return;
    QuadTransform* transform = image->transform;
    transform->matrix._41 = x - transform->origin.x * transform->zoomX;
    transform->matrix._42 = y - transform->origin.y * transform->zoomY;
    GraphicsState.sprite->SetTransform(&transform->matrix);
    GraphicsState.sprite->Draw(image->texture, nullptr, nullptr, &transform->origin, 0xFFFFFFFFu);
}
