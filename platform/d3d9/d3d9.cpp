// The software Direct3D 9: the Direct3D object, the device, surfaces and
// textures. Pixels live in memory; Present hands the back buffer to the host.
#include "d3d9/internal.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <new>
#include <set>

#include "host/present.h"
#include "kernel32/modules.h"

namespace d3d9 {

namespace {

std::mutex& LiveLock() {
    static std::mutex lock;
    return lock;
}

std::set<Object*>& LiveObjects() {
    static std::set<Object*>* live = new std::set<Object*>();
    return *live;
}

bool RectInside(const RECT& rect, UINT width, UINT height) {
    return rect.left >= 0 && rect.top >= 0 && rect.left < rect.right && rect.top < rect.bottom &&
           static_cast<UINT>(rect.right) <= width && static_cast<UINT>(rect.bottom) <= height;
}

}  // namespace

Object::Object() {
    std::lock_guard<std::mutex> guard(LiveLock());
    LiveObjects().insert(this);
}

Object::~Object() {
    std::lock_guard<std::mutex> guard(LiveLock());
    LiveObjects().erase(this);
}

ULONG Object::AddRefCount() { return ++references_; }

ULONG Object::ReleaseCount() {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

bool FormatSupported(D3DFORMAT format) { return format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8; }

bool FormatHasAlpha(D3DFORMAT format) { return format == D3DFMT_A8R8G8B8; }

// ---------------------------------------------------------------- surfaces

Surface::Surface(Device* device, UINT width, UINT height, D3DFORMAT format, D3DPOOL pool, DWORD usage,
                 bool lockable, IUnknown* container, PixelStore* store)
    : device_(device), format_(format), pool_(pool), usage_(usage), lockable_(lockable), container_(container) {
    if (store) {
        store_ = store;
    } else {
        own_.width = width;
        own_.height = height;
        own_.pixels.assign(static_cast<size_t>(width) * height, FormatHasAlpha(format) ? 0u : 0xff000000u);
        store_ = &own_;
    }
    // Stand-alone resources keep their device alive, as on Windows.
    if (!container_ && device_) device_->AddRef();
}

Surface::~Surface() {
    if (!container_ && device_) device_->Release();
}

HRESULT Surface::QueryInterface(REFIID, void** object) {
    if (object) *object = nullptr;
    return E_NOINTERFACE;
}

ULONG Surface::AddRef() { return container_ ? container_->AddRef() : AddRefCount(); }

ULONG Surface::Release() { return container_ ? container_->Release() : ReleaseCount(); }

HRESULT Surface::GetDevice(IDirect3DDevice9** device) {
    if (!device) return D3DERR_INVALIDCALL;
    *device = device_;
    device_->AddRef();
    return D3D_OK;
}

HRESULT Surface::GetDesc(D3DSURFACE_DESC* desc) {
    if (!desc) return D3DERR_INVALIDCALL;
    desc->Format = format_;
    desc->Type = D3DRTYPE_SURFACE;
    desc->Usage = usage_;
    desc->Pool = pool_;
    desc->MultiSampleType = D3DMULTISAMPLE_NONE;
    desc->MultiSampleQuality = 0;
    desc->Width = store_->width;
    desc->Height = store_->height;
    return D3D_OK;
}

HRESULT Surface::LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD) {
    if (!locked || !lockable_ || locked_) return D3DERR_INVALIDCALL;
    RECT whole = {0, 0, static_cast<LONG>(store_->width), static_cast<LONG>(store_->height)};
    const RECT& area = rect ? *rect : whole;
    if (!RectInside(area, store_->width, store_->height)) return D3DERR_INVALIDCALL;
    locked->Pitch = static_cast<INT>(store_->width * 4);
    locked->pBits = store_->Row(static_cast<UINT>(area.top)) + area.left;
    locked_ = true;
    return D3D_OK;
}

HRESULT Surface::UnlockRect() {
    if (!locked_) return D3DERR_INVALIDCALL;
    locked_ = false;
    return D3D_OK;
}

// ---------------------------------------------------------------- textures

Texture::Texture(Device* device, UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                 D3DPOOL pool)
    : device_(device), format_(format), pool_(pool), usage_(usage) {
    UINT w = width, h = height;
    levels_.resize(levels);
    for (UINT i = 0; i < levels; ++i) {
        levels_[i].width = w;
        levels_[i].height = h;
        levels_[i].pixels.assign(static_cast<size_t>(w) * h, FormatHasAlpha(format) ? 0u : 0xff000000u);
        w = std::max(1u, w / 2);
        h = std::max(1u, h / 2);
    }
    // A texture in the default pool can be locked only when it is dynamic.
    bool lockable = pool != D3DPOOL_DEFAULT || (usage & D3DUSAGE_DYNAMIC);
    for (UINT i = 0; i < levels; ++i) {
        surfaces_.push_back(new Surface(device, 0, 0, format, pool, usage, lockable, this, &levels_[i]));
    }
    device_->AddRef();
}

Texture::~Texture() {
    for (Surface* surface : surfaces_) delete surface;
    device_->Release();
}

HRESULT Texture::QueryInterface(REFIID, void** object) {
    if (object) *object = nullptr;
    return E_NOINTERFACE;
}

ULONG Texture::AddRef() { return AddRefCount(); }

ULONG Texture::Release() { return ReleaseCount(); }

HRESULT Texture::GetDevice(IDirect3DDevice9** device) {
    if (!device) return D3DERR_INVALIDCALL;
    *device = device_;
    device_->AddRef();
    return D3D_OK;
}

HRESULT Texture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
    if (level >= Levels()) return D3DERR_INVALIDCALL;
    return surfaces_[level]->GetDesc(desc);
}

HRESULT Texture::GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) {
    if (!surface || level >= Levels()) return D3DERR_INVALIDCALL;
    *surface = surfaces_[level];
    AddRef();
    return D3D_OK;
}

HRESULT Texture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
    if (level >= Levels()) return D3DERR_INVALIDCALL;
    return surfaces_[level]->LockRect(locked, rect, flags);
}

HRESULT Texture::UnlockRect(UINT level) {
    if (level >= Levels()) return D3DERR_INVALIDCALL;
    return surfaces_[level]->UnlockRect();
}

void Texture::GenerateMipLevels() {
    bool alpha = FormatHasAlpha(format_);
    for (UINT i = 1; i < Levels(); ++i) {
        const PixelStore& src = levels_[i - 1];
        PixelStore& dst = levels_[i];
        for (UINT y = 0; y < dst.height; ++y) {
            UINT y0 = std::min(2 * y, src.height - 1), y1 = std::min(2 * y + 1, src.height - 1);
            for (UINT x = 0; x < dst.width; ++x) {
                UINT x0 = std::min(2 * x, src.width - 1), x1 = std::min(2 * x + 1, src.width - 1);
                uint32_t p[4] = {src.Row(y0)[x0], src.Row(y0)[x1], src.Row(y1)[x0], src.Row(y1)[x1]};
                uint32_t out = 0;
                for (int shift = 0; shift < 32; shift += 8) {
                    uint32_t sum = 2;
                    for (uint32_t q : p) sum += (q >> shift) & 0xff;
                    out |= (sum / 4) << shift;
                }
                if (!alpha) out |= 0xff000000u;
                dst.Row(y)[x] = out;
            }
        }
    }
}

// ------------------------------------------------------------------ device

namespace {

// The documented defaults of every state the device knows.
void DefaultStates(DWORD* render, DWORD (*stage)[Device::kStageStates], DWORD (*sampler)[Device::kSamplerStates]) {
    std::fill(render, render + Device::kRenderStates, 0u);
    render[D3DRS_ZENABLE] = 0;
    render[D3DRS_FILLMODE] = 3;
    render[D3DRS_SHADEMODE] = 2;
    render[D3DRS_ZWRITEENABLE] = 1;
    render[D3DRS_LASTPIXEL] = 1;
    render[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    render[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    render[D3DRS_CULLMODE] = D3DCULL_CCW;
    render[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
    render[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
    render[D3DRS_TEXTUREFACTOR] = 0xffffffffu;
    render[D3DRS_CLIPPING] = 1;
    render[D3DRS_LIGHTING] = 1;
    render[D3DRS_COLORWRITEENABLE] = 0xf;
    render[D3DRS_BLENDOP] = D3DBLENDOP_ADD;
    render[D3DRS_BLENDFACTOR] = 0xffffffffu;
    render[D3DRS_SRCBLENDALPHA] = D3DBLEND_ONE;
    render[D3DRS_DESTBLENDALPHA] = D3DBLEND_ZERO;
    render[D3DRS_BLENDOPALPHA] = D3DBLENDOP_ADD;
    for (int i = 0; i < Device::kStages; ++i) {
        std::fill(stage[i], stage[i] + Device::kStageStates, 0u);
        stage[i][D3DTSS_COLOROP] = i == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        stage[i][D3DTSS_COLORARG1] = D3DTA_TEXTURE;
        stage[i][D3DTSS_COLORARG2] = D3DTA_CURRENT;
        stage[i][D3DTSS_ALPHAOP] = i == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        stage[i][D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        stage[i][D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
        stage[i][D3DTSS_TEXCOORDINDEX] = static_cast<DWORD>(i);
        stage[i][D3DTSS_COLORARG0] = D3DTA_CURRENT;
        stage[i][D3DTSS_ALPHAARG0] = D3DTA_CURRENT;
        stage[i][D3DTSS_RESULTARG] = D3DTA_CURRENT;
        std::fill(sampler[i], sampler[i] + Device::kSamplerStates, 0u);
        sampler[i][D3DSAMP_ADDRESSU] = D3DTADDRESS_WRAP;
        sampler[i][D3DSAMP_ADDRESSV] = D3DTADDRESS_WRAP;
        sampler[i][D3DSAMP_ADDRESSW] = D3DTADDRESS_WRAP;
        sampler[i][D3DSAMP_MAGFILTER] = D3DTEXF_POINT;
        sampler[i][D3DSAMP_MINFILTER] = D3DTEXF_POINT;
        sampler[i][D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
        sampler[i][D3DSAMP_MAXANISOTROPY] = 1;
    }
}

}  // namespace

Device::Device(Direct3D* direct3d, HWND window, const D3DPRESENT_PARAMETERS& parameters)
    : direct3d_(direct3d), window_(window), parameters_(parameters) {
    DefaultStates(renderStates_, stageStates_, samplerStates_);
    std::fill(textures_, textures_ + kStages, nullptr);
    bool lockable = (parameters.Flags & D3DPRESENTFLAG_LOCKABLE_BACKBUFFER) != 0;
    backBuffer_ = new Surface(this, parameters.BackBufferWidth, parameters.BackBufferHeight,
                              parameters.BackBufferFormat, D3DPOOL_DEFAULT, D3DUSAGE_RENDERTARGET, lockable, this,
                              nullptr);
    direct3d_->AddRef();
}

Device::~Device() {
    for (IDirect3DBaseTexture9*& texture : textures_) {
        if (texture) texture->Release();
        texture = nullptr;
    }
    delete backBuffer_;
    direct3d_->Release();
}

HRESULT Device::QueryInterface(REFIID, void** object) {
    if (object) *object = nullptr;
    return E_NOINTERFACE;
}

ULONG Device::AddRef() { return AddRefCount(); }

ULONG Device::Release() { return ReleaseCount(); }

HRESULT Device::GetDirect3D(IDirect3D9** direct3d) {
    if (!direct3d) return D3DERR_INVALIDCALL;
    *direct3d = direct3d_;
    direct3d_->AddRef();
    return D3D_OK;
}

HRESULT Device::Present(const RECT*, const RECT*, HWND destWindow, const RGNDATA*) {
    if (inScene_) return D3DERR_INVALIDCALL;
    HWND window = destWindow ? destWindow : window_;
    PixelStore& store = backBuffer_->Store();
    if (!PlatformPresent(window, store.pixels.data(), static_cast<int>(store.width),
                         static_cast<int>(store.height), static_cast<int>(store.width * 4))) {
        return D3DERR_INVALIDCALL;
    }
    return D3D_OK;
}

HRESULT Device::GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type, IDirect3DSurface9** surface) {
    if (!surface) return D3DERR_INVALIDCALL;
    *surface = nullptr;
    if (swapChain != 0 || index >= std::max(1u, parameters_.BackBufferCount) || type != D3DBACKBUFFER_TYPE_MONO) {
        return D3DERR_INVALIDCALL;
    }
    // Every back buffer of the chain is the same memory: the device never
    // shows an older frame.
    *surface = backBuffer_;
    AddRef();
    return D3D_OK;
}

HRESULT Device::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                              IDirect3DTexture9** texture, HANDLE* sharedHandle) {
    if (!texture) return D3DERR_INVALIDCALL;
    *texture = nullptr;
    if (sharedHandle || width == 0 || height == 0 || width > 8192 || height > 8192) return D3DERR_INVALIDCALL;
    if (!FormatSupported(format)) return D3DERR_INVALIDCALL;
    UINT full = 1;
    for (UINT w = width, h = height; w > 1 || h > 1; w = std::max(1u, w / 2), h = std::max(1u, h / 2)) ++full;
    if (levels == 0 || levels > full) levels = full;
    Texture* created = new (std::nothrow) Texture(this, width, height, levels, usage, format, pool);
    if (!created) return E_OUTOFMEMORY;
    *texture = created;
    return D3D_OK;
}

HRESULT Device::UpdateSurface(IDirect3DSurface9* source, const RECT* sourceRect, IDirect3DSurface9* dest,
                              const POINT* destPoint) {
    if (!source || !dest) return D3DERR_INVALIDCALL;
    Surface* from = static_cast<Surface*>(source);
    Surface* to = static_cast<Surface*>(dest);
    if (from->Pool() != D3DPOOL_SYSTEMMEM || to->Pool() != D3DPOOL_DEFAULT) return D3DERR_INVALIDCALL;
    if (from->Format() != to->Format() || from->Locked() || to->Locked()) return D3DERR_INVALIDCALL;
    PixelStore& src = from->Store();
    PixelStore& dst = to->Store();
    RECT area = {0, 0, static_cast<LONG>(src.width), static_cast<LONG>(src.height)};
    if (sourceRect) area = *sourceRect;
    if (!RectInside(area, src.width, src.height)) return D3DERR_INVALIDCALL;
    POINT at = destPoint ? *destPoint : POINT{area.left, area.top};
    RECT target = {at.x, at.y, at.x + (area.right - area.left), at.y + (area.bottom - area.top)};
    if (!RectInside(target, dst.width, dst.height)) return D3DERR_INVALIDCALL;
    size_t bytes = static_cast<size_t>(area.right - area.left) * 4;
    for (LONG row = 0; row < area.bottom - area.top; ++row) {
        std::memcpy(dst.Row(static_cast<UINT>(target.top + row)) + target.left,
                    src.Row(static_cast<UINT>(area.top + row)) + area.left, bytes);
    }
    return D3D_OK;
}

HRESULT Device::CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                            IDirect3DSurface9** surface, HANDLE* sharedHandle) {
    if (!surface) return D3DERR_INVALIDCALL;
    *surface = nullptr;
    if (sharedHandle || width == 0 || height == 0 || width > 16384 || height > 16384) return D3DERR_INVALIDCALL;
    if (!FormatSupported(format) || pool == D3DPOOL_MANAGED) return D3DERR_INVALIDCALL;
    Surface* created = new (std::nothrow) Surface(this, width, height, format, pool, 0, true, nullptr, nullptr);
    if (!created) return E_OUTOFMEMORY;
    *surface = created;
    return D3D_OK;
}

HRESULT Device::BeginScene() {
    if (inScene_) return D3DERR_INVALIDCALL;
    inScene_ = true;
    return D3D_OK;
}

HRESULT Device::EndScene() {
    if (!inScene_) return D3DERR_INVALIDCALL;
    inScene_ = false;
    return D3D_OK;
}

HRESULT Device::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float, DWORD) {
    if (!(flags & D3DCLEAR_TARGET)) return D3D_OK;
    PixelStore& store = backBuffer_->Store();
    if (!FormatHasAlpha(parameters_.BackBufferFormat)) color |= 0xff000000u;
    D3DRECT whole = {0, 0, static_cast<LONG>(store.width), static_cast<LONG>(store.height)};
    if (count == 0 || !rects) {
        rects = &whole;
        count = 1;
    }
    for (DWORD i = 0; i < count; ++i) {
        LONG x1 = std::max<LONG>(rects[i].x1, 0), y1 = std::max<LONG>(rects[i].y1, 0);
        LONG x2 = std::min<LONG>(rects[i].x2, whole.x2), y2 = std::min<LONG>(rects[i].y2, whole.y2);
        for (LONG y = y1; y < y2; ++y) std::fill(store.Row(y) + x1, store.Row(y) + std::max(x1, x2), color);
    }
    return D3D_OK;
}

HRESULT Device::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    if (state < 0 || state >= kRenderStates) return D3DERR_INVALIDCALL;
    renderStates_[state] = value;
    return D3D_OK;
}

HRESULT Device::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
    if (!value || state < 0 || state >= kRenderStates) return D3DERR_INVALIDCALL;
    *value = renderStates_[state];
    return D3D_OK;
}

HRESULT Device::GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) {
    if (!texture || stage >= kStages) return D3DERR_INVALIDCALL;
    *texture = textures_[stage];
    if (*texture) (*texture)->AddRef();
    return D3D_OK;
}

HRESULT Device::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) {
    if (stage >= kStages) return D3DERR_INVALIDCALL;
    if (texture) texture->AddRef();
    if (textures_[stage]) textures_[stage]->Release();
    textures_[stage] = texture;
    return D3D_OK;
}

HRESULT Device::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) {
    if (!value || stage >= kStages || type < 0 || type >= kStageStates) return D3DERR_INVALIDCALL;
    *value = stageStates_[stage][type];
    return D3D_OK;
}

HRESULT Device::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    if (stage >= kStages || type < 0 || type >= kStageStates) return D3DERR_INVALIDCALL;
    stageStates_[stage][type] = value;
    return D3D_OK;
}

HRESULT Device::GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) {
    if (!value || sampler >= kStages || type < 0 || type >= kSamplerStates) return D3DERR_INVALIDCALL;
    *value = samplerStates_[sampler][type];
    return D3D_OK;
}

HRESULT Device::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
    if (sampler >= kStages || type < 0 || type >= kSamplerStates) return D3DERR_INVALIDCALL;
    samplerStates_[sampler][type] = value;
    return D3D_OK;
}

HRESULT Device::DrawQuad(const QuadVertex corners[4], D3DCOLOR diffuse) {
    if (!inScene_) return D3DERR_INVALIDCALL;
    IDirect3DBaseTexture9* bound = textures_[0];
    const Texture* texture =
        bound && bound->GetType() == D3DRTYPE_TEXTURE ? static_cast<const Texture*>(bound) : nullptr;
    RasterQuad(backBuffer_->Store(), FormatHasAlpha(parameters_.BackBufferFormat), corners, diffuse, texture,
               renderStates_, stageStates_[0], samplerStates_[0]);
    return D3D_OK;
}

// --------------------------------------------------------- Direct3D object

Direct3D::Direct3D(UINT width, UINT height) {
    mode_.Width = width;
    mode_.Height = height;
    mode_.RefreshRate = 60;
    mode_.Format = D3DFMT_X8R8G8B8;
}

HRESULT Direct3D::QueryInterface(REFIID, void** object) {
    if (object) *object = nullptr;
    return E_NOINTERFACE;
}

ULONG Direct3D::AddRef() { return AddRefCount(); }

ULONG Direct3D::Release() { return ReleaseCount(); }

HRESULT Direct3D::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) {
    if (adapter != D3DADAPTER_DEFAULT || !mode) return D3DERR_INVALIDCALL;
    *mode = mode_;
    return D3D_OK;
}

HRESULT Direct3D::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviour,
                               D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) {
    if (!device) return D3DERR_INVALIDCALL;
    *device = nullptr;
    if (adapter != D3DADAPTER_DEFAULT || !parameters) return D3DERR_INVALIDCALL;
    // There is one device type: the software rasteriser answering as HAL.
    if (type != D3DDEVTYPE_HAL) return D3DERR_NOTAVAILABLE;
    DWORD processing = behaviour & (D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_HARDWARE_VERTEXPROCESSING |
                                    D3DCREATE_MIXED_VERTEXPROCESSING);
    if (processing != D3DCREATE_SOFTWARE_VERTEXPROCESSING && processing != D3DCREATE_HARDWARE_VERTEXPROCESSING &&
        processing != D3DCREATE_MIXED_VERTEXPROCESSING) {
        return D3DERR_INVALIDCALL;
    }
    D3DPRESENT_PARAMETERS wanted = *parameters;
    HWND window = wanted.hDeviceWindow ? wanted.hDeviceWindow : focusWindow;
    if (!window) return D3DERR_INVALIDCALL;
    if (wanted.Windowed) {
        if (wanted.BackBufferFormat == D3DFMT_UNKNOWN) wanted.BackBufferFormat = mode_.Format;
        if (wanted.BackBufferWidth == 0) wanted.BackBufferWidth = mode_.Width;
        if (wanted.BackBufferHeight == 0) wanted.BackBufferHeight = mode_.Height;
    } else if (wanted.BackBufferWidth == 0 || wanted.BackBufferHeight == 0) {
        return D3DERR_INVALIDCALL;
    }
    if (!FormatSupported(wanted.BackBufferFormat)) return D3DERR_NOTAVAILABLE;
    if (wanted.MultiSampleType != D3DMULTISAMPLE_NONE) return D3DERR_NOTAVAILABLE;
    if ((wanted.Flags & D3DPRESENTFLAG_LOCKABLE_BACKBUFFER) && wanted.MultiSampleType != D3DMULTISAMPLE_NONE) {
        return D3DERR_INVALIDCALL;
    }
    if (wanted.BackBufferCount == 0) wanted.BackBufferCount = 1;
    if (wanted.BackBufferCount > 3 || wanted.SwapEffect < D3DSWAPEFFECT_DISCARD ||
        wanted.SwapEffect > D3DSWAPEFFECT_COPY) {
        return D3DERR_INVALIDCALL;
    }
    if (wanted.SwapEffect == D3DSWAPEFFECT_COPY && wanted.BackBufferCount != 1) return D3DERR_INVALIDCALL;
    if (wanted.BackBufferWidth > 16384 || wanted.BackBufferHeight > 16384) return D3DERR_NOTAVAILABLE;
    wanted.hDeviceWindow = window;
    Device* created = new (std::nothrow) Device(this, window, wanted);
    if (!created) return E_OUTOFMEMORY;
    // The caller sees the values the device filled in, as on Windows.
    *parameters = wanted;
    *device = created;
    return D3D_OK;
}

}  // namespace d3d9

IDirect3D9* WINAPI Direct3DCreate9(UINT sdkVersion) {
    if (sdkVersion != D3D_SDK_VERSION && sdkVersion != 32) return nullptr;
    int width = 0, height = 0;
    if (!PlatformDisplayMode(&width, &height)) return nullptr;
    return new (std::nothrow) d3d9::Direct3D(static_cast<UINT>(width), static_cast<UINT>(height));
}

namespace {

// An entry for the module table; void (*)() converts to any function type.
template <typename Function>
FARPROC Export(Function* function) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

}  // namespace

void PlatformD3D9Register() {
    static const PlatformExport exports[] = {
        {"Direct3DCreate9", Export(&Direct3DCreate9)},
    };
    PlatformModuleRegister("D3D9.dll", exports, sizeof exports / sizeof exports[0]);
}
