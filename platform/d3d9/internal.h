// The software Direct3D 9 device's objects, shared by the D3DX stand-in,
// which fills textures and hands quads to the device directly.
#pragma once

#include <d3d9.h>

#include <cstdint>
#include <vector>

namespace d3d9 {

class Device;

// Reference counting shared by every object. Live objects are listed so that
// objects that the system never releases stay reachable to leak checkers.
class Object {
public:
    Object();
    virtual ~Object();
    ULONG AddRefCount();
    ULONG ReleaseCount();

private:
    ULONG references_ = 1;
};

// Pixel memory: always 32 bits per pixel, A8R8G8B8 or X8R8G8B8 in a DWORD.
struct PixelStore {
    UINT width = 0;
    UINT height = 0;
    std::vector<uint32_t> pixels;
    uint32_t* Row(UINT y) { return pixels.data() + static_cast<size_t>(y) * width; }
    const uint32_t* Row(UINT y) const { return pixels.data() + static_cast<size_t>(y) * width; }
};

bool FormatSupported(D3DFORMAT format);
bool FormatHasAlpha(D3DFORMAT format);

class Surface final : public IDirect3DSurface9, public Object {
public:
    // A surface with its own pixels, or a level of a texture (`container`),
    // which then owns the pixels and the reference count.
    Surface(Device* device, UINT width, UINT height, D3DFORMAT format, D3DPOOL pool, DWORD usage, bool lockable,
            IUnknown* container, PixelStore* store);
    ~Surface() override;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** device) override;
    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_SURFACE; }
    HRESULT STDMETHODCALLTYPE GetDesc(D3DSURFACE_DESC* desc) override;
    HRESULT STDMETHODCALLTYPE LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE UnlockRect() override;

    PixelStore& Store() { return *store_; }
    D3DFORMAT Format() const { return format_; }
    D3DPOOL Pool() const { return pool_; }
    Device* OwnerDevice() const { return device_; }
    bool Locked() const { return locked_; }

private:
    Device* device_;
    D3DFORMAT format_;
    D3DPOOL pool_;
    DWORD usage_;
    bool lockable_;
    bool locked_ = false;
    IUnknown* container_;
    PixelStore own_;
    PixelStore* store_;
};

class Texture final : public IDirect3DTexture9, public Object {
public:
    Texture(Device* device, UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool);
    ~Texture() override;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** device) override;
    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_TEXTURE; }
    DWORD STDMETHODCALLTYPE GetLevelCount() override { return static_cast<DWORD>(levels_.size()); }
    HRESULT STDMETHODCALLTYPE GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
    HRESULT STDMETHODCALLTYPE GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) override;
    HRESULT STDMETHODCALLTYPE LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE UnlockRect(UINT level) override;

    UINT Levels() const { return static_cast<UINT>(levels_.size()); }
    PixelStore& Level(UINT level) { return levels_[level]; }
    const PixelStore& Level(UINT level) const { return levels_[level]; }
    D3DFORMAT Format() const { return format_; }
    // Rebuilds levels 1 and up from level 0 with a 2 by 2 box filter.
    void GenerateMipLevels();

private:
    Device* device_;
    D3DFORMAT format_;
    D3DPOOL pool_;
    DWORD usage_;
    std::vector<PixelStore> levels_;
    std::vector<Surface*> surfaces_;
};

// One corner of a screen-space quad as the sprite hands it over.
struct QuadVertex {
    float x;
    float y;
    float u;  // 0 to 1 across the texture
    float v;
};

class Direct3D;

class Device final : public IDirect3DDevice9, public Object {
public:
    Device(Direct3D* direct3d, HWND window, const D3DPRESENT_PARAMETERS& parameters);
    ~Device() override;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetDirect3D(IDirect3D9** direct3d) override;
    HRESULT STDMETHODCALLTYPE Present(const RECT* sourceRect, const RECT* destRect, HWND destWindow,
                                      const RGNDATA* dirtyRegion) override;
    HRESULT STDMETHODCALLTYPE GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type,
                                            IDirect3DSurface9** surface) override;
    HRESULT STDMETHODCALLTYPE CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                                            D3DPOOL pool, IDirect3DTexture9** texture,
                                            HANDLE* sharedHandle) override;
    HRESULT STDMETHODCALLTYPE UpdateSurface(IDirect3DSurface9* source, const RECT* sourceRect,
                                            IDirect3DSurface9* dest, const POINT* destPoint) override;
    HRESULT STDMETHODCALLTYPE CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                                          IDirect3DSurface9** surface,
                                                          HANDLE* sharedHandle) override;
    HRESULT STDMETHODCALLTYPE BeginScene() override;
    HRESULT STDMETHODCALLTYPE EndScene() override;
    HRESULT STDMETHODCALLTYPE Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                                    DWORD stencil) override;
    HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT STDMETHODCALLTYPE GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
    HRESULT STDMETHODCALLTYPE GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) override;
    HRESULT STDMETHODCALLTYPE SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override;
    HRESULT STDMETHODCALLTYPE GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                                   DWORD* value) override;
    HRESULT STDMETHODCALLTYPE SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                                   DWORD value) override;
    HRESULT STDMETHODCALLTYPE GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) override;
    HRESULT STDMETHODCALLTYPE SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override;

    // Draws one textured quad (corners in order around it) with the texture
    // of stage 0 and the current states; `diffuse` is the colour of all four
    // corners. Only between BeginScene and EndScene.
    HRESULT DrawQuad(const QuadVertex corners[4], D3DCOLOR diffuse);
    bool InScene() const { return inScene_; }

    static constexpr int kRenderStates = 256;
    static constexpr int kStages = 8;
    static constexpr int kStageStates = 33;
    static constexpr int kSamplerStates = 14;

private:
    Direct3D* direct3d_;
    HWND window_;
    D3DPRESENT_PARAMETERS parameters_;
    Surface* backBuffer_;
    bool inScene_ = false;
    DWORD renderStates_[kRenderStates];
    DWORD stageStates_[kStages][kStageStates];
    DWORD samplerStates_[kStages][kSamplerStates];
    IDirect3DBaseTexture9* textures_[kStages];
};

class Direct3D final : public IDirect3D9, public Object {
public:
    Direct3D(UINT width, UINT height);
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    UINT STDMETHODCALLTYPE GetAdapterCount() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override;
    HRESULT STDMETHODCALLTYPE CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviour,
                                           D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) override;

private:
    D3DDISPLAYMODE mode_;
};

// Rasterises one quad onto `target` (see Device::DrawQuad for the states).
void RasterQuad(PixelStore& target, bool targetHasAlpha, const QuadVertex corners[4], D3DCOLOR diffuse,
                const Texture* texture, const DWORD* renderStates, const DWORD* stage0, const DWORD* sampler0);

}  // namespace d3d9
