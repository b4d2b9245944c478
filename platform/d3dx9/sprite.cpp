// The D3DX sprite: queues textured quads and draws them through the device
// at Flush and End under the device state in force at that moment.
#include <d3dx9.h>

#include <new>
#include <vector>

#include "d3d9/internal.h"
#include "d3dx9/internal.h"

namespace d3dx9 {

namespace {

struct RenderSetting {
    D3DRENDERSTATETYPE state;
    DWORD value;
};
struct StageSetting {
    DWORD stage;
    D3DTEXTURESTAGESTATETYPE state;
    DWORD value;
};
struct SamplerSetting {
    D3DSAMPLERSTATETYPE state;
    DWORD value;
};

// What Begin sets on the device, as the platform's sprite does.
const RenderSetting kRenderSettings[] = {
    {D3DRS_ALPHABLENDENABLE, TRUE},
    {D3DRS_ALPHAFUNC, D3DCMP_GREATER},
    {D3DRS_ALPHAREF, 0},
    // The device's alpha comparison capabilities (all eight), as the
    // platform's sprite writes them; any nonzero value turns the test on.
    {D3DRS_ALPHATESTENABLE, 0xff},
    {D3DRS_BLENDOP, D3DBLENDOP_ADD},
    {D3DRS_CLIPPING, TRUE},
    {D3DRS_COLORWRITEENABLE, 0xf},
    {D3DRS_CULLMODE, D3DCULL_NONE},
    {D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA},
    {D3DRS_FILLMODE, 3},
    {D3DRS_FOGENABLE, FALSE},
    {D3DRS_LIGHTING, FALSE},
    {D3DRS_SEPARATEALPHABLENDENABLE, FALSE},
    {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},
    {D3DRS_ZENABLE, FALSE},
};
const StageSetting kStageSettings[] = {
    {0, D3DTSS_COLOROP, D3DTOP_MODULATE},
    {0, D3DTSS_COLORARG1, D3DTA_TEXTURE},
    {0, D3DTSS_COLORARG2, D3DTA_DIFFUSE},
    {0, D3DTSS_ALPHAOP, D3DTOP_MODULATE},
    {0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE},
    {0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE},
    {0, D3DTSS_TEXCOORDINDEX, 0},
    {0, D3DTSS_TEXTURETRANSFORMFLAGS, 0},
    {1, D3DTSS_COLOROP, D3DTOP_DISABLE},
    {1, D3DTSS_ALPHAOP, D3DTOP_DISABLE},
};
const SamplerSetting kSamplerSettings[] = {
    {D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP}, {D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP},
    {D3DSAMP_MAGFILTER, D3DTEXF_LINEAR},   {D3DSAMP_MINFILTER, D3DTEXF_LINEAR},
    {D3DSAMP_MIPFILTER, D3DTEXF_LINEAR},   {D3DSAMP_MAXMIPLEVEL, 0},
    {D3DSAMP_MIPMAPLODBIAS, 0},
};
constexpr size_t kRenderCount = sizeof kRenderSettings / sizeof kRenderSettings[0];
constexpr size_t kStageCount = sizeof kStageSettings / sizeof kStageSettings[0];
constexpr size_t kSamplerCount = sizeof kSamplerSettings / sizeof kSamplerSettings[0];

D3DXMATRIX Identity() {
    D3DXMATRIX m;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m.m[r][c] = r == c ? 1.0f : 0.0f;
    return m;
}

struct QueuedQuad {
    IDirect3DTexture9* texture;
    d3d9::QuadVertex corners[4];
    D3DCOLOR colour;
};

class Sprite final : public ID3DXSprite, public d3d9::Object {
public:
    explicit Sprite(IDirect3DDevice9* device) : device_(device), transform_(Identity()) { device_->AddRef(); }
    ~Sprite() override {
        Discard();
        device_->Release();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        if (object) *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return AddRefCount(); }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseCount(); }

    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** device) override {
        if (!device) return D3DERR_INVALIDCALL;
        *device = device_;
        device_->AddRef();
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTransform(D3DXMATRIX* transform) override {
        if (!transform) return D3DERR_INVALIDCALL;
        *transform = transform_;
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE SetTransform(const D3DXMATRIX* transform) override {
        if (!transform) return D3DERR_INVALIDCALL;
        transform_ = *transform;
        return D3D_OK;
    }

    HRESULT STDMETHODCALLTYPE Begin(DWORD flags) override {
        if (begun_) return D3DERR_INVALIDCALL;
        flags_ = flags;
        if (!(flags & D3DXSPRITE_DONOTSAVESTATE)) {
            for (size_t i = 0; i < kRenderCount; ++i)
                device_->GetRenderState(kRenderSettings[i].state, &savedRender_[i]);
            for (size_t i = 0; i < kStageCount; ++i)
                device_->GetTextureStageState(kStageSettings[i].stage, kStageSettings[i].state, &savedStage_[i]);
            for (size_t i = 0; i < kSamplerCount; ++i)
                device_->GetSamplerState(0, kSamplerSettings[i].state, &savedSampler_[i]);
            device_->GetTexture(0, &savedTexture_);
        }
        if (!(flags & D3DXSPRITE_DONOTMODIFY_RENDERSTATE)) {
            for (const RenderSetting& s : kRenderSettings) device_->SetRenderState(s.state, s.value);
            for (const StageSetting& s : kStageSettings) device_->SetTextureStageState(s.stage, s.state, s.value);
            for (const SamplerSetting& s : kSamplerSettings) device_->SetSamplerState(0, s.state, s.value);
        }
        begun_ = true;
        return D3D_OK;
    }

    HRESULT STDMETHODCALLTYPE Draw(IDirect3DTexture9* texture, const RECT* sourceRect, const D3DXVECTOR3* center,
                                   const D3DXVECTOR3* position, D3DCOLOR colour) override {
        if (!begun_ || !texture) return D3DERR_INVALIDCALL;
        D3DSURFACE_DESC desc;
        if (FAILED(texture->GetLevelDesc(0, &desc))) return D3DERR_INVALIDCALL;
        RECT area = {0, 0, static_cast<LONG>(desc.Width), static_cast<LONG>(desc.Height)};
        if (sourceRect) area = *sourceRect;
        const float w = static_cast<float>(area.right - area.left), h = static_cast<float>(area.bottom - area.top);
        const float left = (position ? position->x : 0.0f) - (center ? center->x : 0.0f);
        const float top = (position ? position->y : 0.0f) - (center ? center->y : 0.0f);
        const float z = (position ? position->z : 0.0f) - (center ? center->z : 0.0f);
        const float px[4] = {left, left + w, left + w, left};
        const float py[4] = {top, top, top + h, top + h};
        const float tw = static_cast<float>(desc.Width), th = static_cast<float>(desc.Height);
        const float pu[4] = {area.left / tw, area.right / tw, area.right / tw, area.left / tw};
        const float pv[4] = {area.top / th, area.top / th, area.bottom / th, area.bottom / th};
        QueuedQuad quad;
        quad.texture = texture;
        quad.colour = colour;
        const D3DXMATRIX& m = transform_;
        for (int k = 0; k < 4; ++k) {
            quad.corners[k].x = px[k] * m._11 + py[k] * m._21 + z * m._31 + m._41;
            quad.corners[k].y = px[k] * m._12 + py[k] * m._22 + z * m._32 + m._42;
            quad.corners[k].u = pu[k];
            quad.corners[k].v = pv[k];
        }
        texture->AddRef();
        queue_.push_back(quad);
        return D3D_OK;
    }

    HRESULT STDMETHODCALLTYPE Flush() override {
        if (!begun_) return D3DERR_INVALIDCALL;
        d3d9::Device* device = static_cast<d3d9::Device*>(device_);
        for (QueuedQuad& quad : queue_) {
            device->SetTexture(0, quad.texture);
            device->DrawQuad(quad.corners, quad.colour);
        }
        Discard();
        return D3D_OK;
    }

    HRESULT STDMETHODCALLTYPE End() override {
        if (!begun_) return D3DERR_INVALIDCALL;
        Flush();
        if (!(flags_ & D3DXSPRITE_DONOTSAVESTATE)) {
            for (size_t i = 0; i < kRenderCount; ++i) device_->SetRenderState(kRenderSettings[i].state, savedRender_[i]);
            for (size_t i = 0; i < kStageCount; ++i)
                device_->SetTextureStageState(kStageSettings[i].stage, kStageSettings[i].state, savedStage_[i]);
            for (size_t i = 0; i < kSamplerCount; ++i)
                device_->SetSamplerState(0, kSamplerSettings[i].state, savedSampler_[i]);
            device_->SetTexture(0, savedTexture_);
            if (savedTexture_) savedTexture_->Release();
            savedTexture_ = nullptr;
        }
        begun_ = false;
        return D3D_OK;
    }

private:
    void Discard() {
        for (QueuedQuad& quad : queue_) quad.texture->Release();
        queue_.clear();
    }

    IDirect3DDevice9* device_;
    D3DXMATRIX transform_;
    bool begun_ = false;
    DWORD flags_ = 0;
    std::vector<QueuedQuad> queue_;
    DWORD savedRender_[kRenderCount] = {};
    DWORD savedStage_[kStageCount] = {};
    DWORD savedSampler_[kSamplerCount] = {};
    IDirect3DBaseTexture9* savedTexture_ = nullptr;
};

}  // namespace

HRESULT CreateSprite(IDirect3DDevice9* device, ID3DXSprite** sprite) {
    if (!device || !sprite) return D3DERR_INVALIDCALL;
    *sprite = new (std::nothrow) Sprite(device);
    return *sprite ? D3D_OK : E_OUTOFMEMORY;
}

}  // namespace d3dx9
