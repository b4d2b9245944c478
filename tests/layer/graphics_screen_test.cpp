// The render surface: presentation parameters, ScreenOpen's failure cases,
// ScreenFlip and the sprite's device states around a quad pass.
#include <cstring>

#include "graphics_support.h"
#include "runtime/runtime.h"
#include "window/window.h"

namespace {

D3DDISPLAYMODE Desktop() {
    D3DDISPLAYMODE mode;
    mode.Width = 1024;
    mode.Height = 768;
    mode.RefreshRate = 60;
    mode.Format = D3DFMT_X8R8G8B8;
    return mode;
}

TEST(ScreenPresentParameters, TheProgramsCall) {
    D3DPRESENT_PARAMETERS p = ScreenPresentParameters(600, 580, 0, 0x282, Desktop());
    EXPECT_EQ(p.BackBufferWidth, 600u);
    EXPECT_EQ(p.BackBufferHeight, 580u);
    EXPECT_EQ(p.BackBufferFormat, D3DFMT_X8R8G8B8);
    EXPECT_EQ(p.BackBufferCount, 1u);
    EXPECT_EQ(p.MultiSampleType, D3DMULTISAMPLE_NONE);
    EXPECT_EQ(p.MultiSampleQuality, 0u);
    EXPECT_EQ(p.SwapEffect, D3DSWAPEFFECT_DISCARD);
    EXPECT_EQ(p.hDeviceWindow, nullptr);
    EXPECT_EQ(p.Windowed, TRUE);
    EXPECT_EQ(p.EnableAutoDepthStencil, FALSE);
    EXPECT_EQ(p.AutoDepthStencilFormat, D3DFMT_D16);
    EXPECT_EQ(p.Flags, static_cast<DWORD>(D3DPRESENTFLAG_LOCKABLE_BACKBUFFER));
    EXPECT_EQ(p.FullScreen_RefreshRateInHz, 0u);
    EXPECT_EQ(p.PresentationInterval, static_cast<UINT>(D3DPRESENT_INTERVAL_IMMEDIATE));
}

struct ParameterCase {
    const char* name;
    int32_t width, height, depth;
    uint32_t flags;
    UINT backBufferWidth, backBufferHeight;
    D3DFORMAT format;
    UINT count;
    D3DMULTISAMPLE_TYPE multisample;
    D3DSWAPEFFECT swap;
    BOOL windowed;
    DWORD presentFlags;
    UINT interval;
};

class ScreenParameterTable : public ::testing::TestWithParam<ParameterCase> {};

TEST_P(ScreenParameterTable, Fields) {
    const ParameterCase& c = GetParam();
    D3DPRESENT_PARAMETERS p = ScreenPresentParameters(c.width, c.height, c.depth, c.flags, Desktop());
    EXPECT_EQ(p.BackBufferWidth, c.backBufferWidth);
    EXPECT_EQ(p.BackBufferHeight, c.backBufferHeight);
    EXPECT_EQ(p.BackBufferFormat, c.format);
    EXPECT_EQ(p.BackBufferCount, c.count);
    EXPECT_EQ(p.MultiSampleType, c.multisample);
    EXPECT_EQ(p.SwapEffect, c.swap);
    EXPECT_EQ(p.Windowed, c.windowed);
    EXPECT_EQ(p.Flags, c.presentFlags);
    EXPECT_EQ(p.PresentationInterval, c.interval);
}

constexpr DWORD kLockable = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
constexpr UINT kOne = D3DPRESENT_INTERVAL_ONE;
constexpr UINT kNow = D3DPRESENT_INTERVAL_IMMEDIATE;

INSTANTIATE_TEST_SUITE_P(
    Cases, ScreenParameterTable,
    ::testing::Values(
        ParameterCase{"height0", 600, 0, 0, 0x282, 600, 768, D3DFMT_X8R8G8B8, 1, D3DMULTISAMPLE_NONE,
                      D3DSWAPEFFECT_DISCARD, TRUE, kLockable, kNow},
        ParameterCase{"width0", 0, 580, 0, 0x282, 1024, 580, D3DFMT_X8R8G8B8, 1, D3DMULTISAMPLE_NONE,
                      D3DSWAPEFFECT_DISCARD, TRUE, kLockable, kNow},
        ParameterCase{"depth64", 10, 10, 64, 0, 10, 10, D3DFMT_UNKNOWN, 1, D3DMULTISAMPLE_NONE,
                      D3DSWAPEFFECT_DISCARD, FALSE, kLockable, kOne},
        ParameterCase{"depth64alpha", 10, 10, 64, 0x2, 10, 10, D3DFMT_A16B16G16R16, 1, D3DMULTISAMPLE_NONE,
                      D3DSWAPEFFECT_DISCARD, FALSE, kLockable, kOne},
        ParameterCase{"mask18", 10, 10, 32, 0x18, 10, 10, D3DFMT_X8R8G8B8, 1, D3DMULTISAMPLE_NONMASKABLE,
                      D3DSWAPEFFECT_DISCARD, FALSE, 0, kOne},
        ParameterCase{"mask0", 10, 10, 32, 0, 10, 10, D3DFMT_X8R8G8B8, 1, D3DMULTISAMPLE_NONE,
                      D3DSWAPEFFECT_DISCARD, FALSE, kLockable, kOne},
        ParameterCase{"mask60", 10, 10, 16, 0x60, 10, 10, D3DFMT_R5G6B5, 1, D3DMULTISAMPLE_3_SAMPLES,
                      D3DSWAPEFFECT_DISCARD, FALSE, 0, kOne},
        ParameterCase{"mask40", 10, 10, 16, 0x42, 10, 10, D3DFMT_A4R4G4B4, 1, D3DMULTISAMPLE_4_SAMPLES,
                      D3DSWAPEFFECT_DISCARD, FALSE, 0, kOne},
        ParameterCase{"twoCopy", 10, 10, 8, 0x5, 10, 10, D3DFMT_R3G3B2, 2, D3DMULTISAMPLE_NONE,
                      D3DSWAPEFFECT_COPY, FALSE, kLockable, kOne},
        ParameterCase{"depth24", 10, 10, 24, 0x12, 10, 10, D3DFMT_R8G8B8, 1, D3DMULTISAMPLE_2_SAMPLES,
                      D3DSWAPEFFECT_DISCARD, FALSE, 0, kOne},
        ParameterCase{"depth32alpha", 10, 10, 32, 0x2, 10, 10, D3DFMT_A8R8G8B8, 1, D3DMULTISAMPLE_NONE,
                      D3DSWAPEFFECT_DISCARD, FALSE, kLockable, kOne},
        ParameterCase{"depth7", 10, 10, 7, 0x2, 10, 10, D3DFMT_UNKNOWN, 1, D3DMULTISAMPLE_NONE,
                      D3DSWAPEFFECT_DISCARD, FALSE, kLockable, kOne}),
    [](const ::testing::TestParamInfo<ParameterCase>& info) { return std::string(info.param.name); });

class ScreenOpenTest : public ::testing::Test {
protected:
    void SetUp() override {
        GraphicsReset();
        ASSERT_NE(GraphicsInit(), 0);
    }
    void TearDown() override { GraphicsReset(); }
};

TEST_F(ScreenOpenTest, HostWindowZeroCreatesNothing) {
    EXPECT_EQ(ScreenOpen(600, 580, 0, nullptr, 0x282), 0);
    EXPECT_EQ(GraphicsDevice(), nullptr);
    EXPECT_EQ(GraphicsState.backBuffer, nullptr);
    EXPECT_EQ(GraphicsState.sprite, nullptr);
    // The frame loop's calls with no surface do nothing.
    EXPECT_NE(ScreenFlip(), S_OK);
    BlitImageDraw(nullptr, 0, 0);
    QuadPassBegin();
    QuadBlendMode(1, D3DBLEND_ONE, D3DBLEND_ONE);
    QuadImageDraw(nullptr, 0, 0);
    QuadPassEnd();
    EXPECT_EQ(BlitImageCatch("x", 1), nullptr);
    EXPECT_EQ(QuadImageCatch("x", 1), nullptr);
}

TEST_F(ScreenOpenTest, TheProgramsSurface) {
    HWND window = CreateHostWindow(600, 580);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(ScreenOpen(600, 580, 0, window, 0x282), 1);
    EXPECT_NE(GraphicsDevice(), nullptr);
    EXPECT_EQ(GraphicsState.surfaceWidth, 600);
    EXPECT_EQ(GraphicsState.surfaceHeight, 580);
    EXPECT_EQ(GraphicsState.presentParameters.hDeviceWindow, window);
    EXPECT_EQ(GraphicsState.presentParameters.BackBufferFormat, GraphicsState.displayMode.Format);
    D3DSURFACE_DESC desc;
    ASSERT_EQ(GraphicsState.backBuffer->GetDesc(&desc), S_OK);
    EXPECT_EQ(desc.Width, 600u);
    EXPECT_EQ(desc.Height, 580u);
    // The six alpha states of the alpha flag.
    DWORD value = 0;
    GraphicsDevice()->GetTextureStageState(0, D3DTSS_ALPHAARG2, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTA_CURRENT));
    GraphicsDevice()->GetRenderState(D3DRS_DESTBLEND, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DBLEND_ONE));
    GraphicsDevice()->GetRenderState(D3DRS_ALPHABLENDENABLE, &value);
    EXPECT_EQ(value, 1u);
    EXPECT_EQ(ScreenFlip(), S_OK);
    GraphicsReset();
    DestroyHostWindow(window);
}

TEST_F(ScreenOpenTest, HeightZeroTakesTheDesktopHeight) {
    HWND window = CreateHostWindow(100, 100);
    ASSERT_EQ(ScreenOpen(100, 0, 0, window, 0x282), 1);
    EXPECT_EQ(static_cast<UINT>(GraphicsState.surfaceHeight), GraphicsState.displayMode.Height);
    EXPECT_EQ(GraphicsState.surfaceWidth, 100);
    GraphicsReset();
    DestroyHostWindow(window);
}

// The device states the sprite sets at Begin and restores at End, and the
// alpha test that QuadPassBegin turns off again.
TEST_F(ScreenOpenTest, QuadPassStates) {
    HWND window = CreateHostWindow(64, 64);
    ASSERT_EQ(ScreenOpen(64, 64, 0, window, 0x282), 1);
    IDirect3DDevice9* device = GraphicsDevice();
    DWORD value = 0;
    device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    device->BeginScene();
    GraphicsState.sprite->Begin(0);
    device->GetRenderState(D3DRS_ALPHATESTENABLE, &value);
    EXPECT_NE(value, 0u) << "the sprite turns the alpha test on";
    device->GetRenderState(D3DRS_ALPHAFUNC, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DCMP_GREATER));
    device->GetRenderState(D3DRS_ALPHAREF, &value);
    EXPECT_EQ(value, 0u);
    device->GetRenderState(D3DRS_SRCBLEND, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DBLEND_SRCALPHA));
    device->GetRenderState(D3DRS_DESTBLEND, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DBLEND_INVSRCALPHA));
    device->GetTextureStageState(0, D3DTSS_COLOROP, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTOP_MODULATE));
    GraphicsState.sprite->End();
    device->EndScene();
    device->GetRenderState(D3DRS_ALPHATESTENABLE, &value);
    EXPECT_EQ(value, 0u);
    device->GetRenderState(D3DRS_SRCBLEND, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DBLEND_ONE));

    QuadPassBegin();
    device->GetRenderState(D3DRS_ALPHATESTENABLE, &value);
    EXPECT_EQ(value, 0u) << "QuadPassBegin turns the alpha test off";
    QuadPassEnd();
    GraphicsReset();
    DestroyHostWindow(window);
}

}  // namespace

// The four-argument form: a full-screen surface in a window of the layer's
// own, with the mouse cursor hidden; GraphicsShutdown closes that window.
namespace {

class ScreenFullTest : public ::testing::Test {
protected:
    void SetUp() override {
        GraphicsReset();
        MainHeap = HeapCreate(0, 4000, 0);
        ObjectHeapCreate();
        WindowInit();
        ASSERT_NE(GraphicsInit(), 0);
    }
    void TearDown() override {
        GraphicsReset();
        WindowShutdown();
        ObjectHeapDestroy();
        HeapDestroy(MainHeap);
        MainHeap = nullptr;
    }
};

TEST_F(ScreenFullTest, OpensItsOwnWindowAndHidesTheCursor) {
    ASSERT_EQ(ScreenOpen(0, 0, 0, "full screen"), 1);
    EXPECT_NE(GraphicsState.ownWindow, 0);
    HWND own = WindowHandle(GraphicsState.ownWindow);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(GraphicsState.presentParameters.hDeviceWindow, own);
    EXPECT_EQ(GraphicsState.presentParameters.Windowed, FALSE);
    EXPECT_EQ(GraphicsState.presentParameters.PresentationInterval, static_cast<UINT>(D3DPRESENT_INTERVAL_ONE));
    EXPECT_EQ(static_cast<UINT>(GraphicsState.surfaceWidth), GraphicsState.displayMode.Width);
    EXPECT_EQ(static_cast<UINT>(GraphicsState.surfaceHeight), GraphicsState.displayMode.Height);
    EXPECT_NE(GraphicsDevice(), nullptr);
    // One ShowCursor(FALSE) happened: showing it once brings the count to 0.
    EXPECT_EQ(ShowCursor(TRUE), 0);
    GraphicsShutdown();
    EXPECT_EQ(GraphicsState.ownWindow, 0);
    EXPECT_FALSE(IsWindow(own));
}

}  // namespace
