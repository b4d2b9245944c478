// GraphicsInit on the platform as it is: D3D9, the D3DX9 library found and
// the entry table. Under Wine, GRAPHICS_EXPECT_D3DX names the library that
// the test run left enabled (WINEDLLOVERRIDES), or "none".
#include <cstdlib>
#include <cstring>
#include <string>

#include "graphics_support.h"

namespace {

std::string ExpectedD3dx() {
    const char* expected = std::getenv("GRAPHICS_EXPECT_D3DX");
    return expected ? expected : "D3DX9_27.dll";
}

class GraphicsInitTest : public ::testing::Test {
protected:
    void SetUp() override { GraphicsReset(); }
    void TearDown() override { GraphicsReset(); }
};

TEST_F(GraphicsInitTest, LoadsD3d9AndTheHighestD3dxPresent) {
    const std::string expected = ExpectedD3dx();
    int32_t result = GraphicsInit();
    EXPECT_NE(GraphicsState.heap, nullptr);
    EXPECT_NE(GraphicsState.d3d9Library, nullptr);
    ASSERT_NE(GraphicsState.direct3d, nullptr);
    EXPECT_EQ(GraphicsState.device, nullptr);
    EXPECT_EQ(GraphicsState.sprite, nullptr);
    if (expected == "none") {
        EXPECT_EQ(result, 0);
        EXPECT_EQ(GraphicsState.d3dxLibrary, nullptr);
        for (FARPROC entry : GraphicsState.d3dxEntries) EXPECT_EQ(entry, nullptr);
        return;
    }
    EXPECT_NE(result, 0);
    EXPECT_EQ(GraphicsState.d3dxLibrary, GetModuleHandleA(expected.c_str()));
    for (int i = 0; i < D3DXEntryCount; ++i) {
        EXPECT_EQ(GraphicsState.d3dxEntries[i], GetProcAddress(GraphicsState.d3dxLibrary, D3DXEntryNames[i]))
            << D3DXEntryNames[i];
    }
    // The entries the layer calls are all there.
    for (D3DXEntry used : {D3DXEntryCreateSprite, D3DXEntryCreateTextureFromFileInMemoryEx,
                           D3DXEntryGetImageInfoFromFileInMemory, D3DXEntryLoadSurfaceFromFileInMemory,
                           D3DXEntryMatrixRotationZ, D3DXEntryMatrixScaling, D3DXEntryMatrixMultiply}) {
        EXPECT_NE(GraphicsState.d3dxEntries[used], nullptr) << D3DXEntryNames[used];
    }
    // The display mode is the desktop's.
    EXPECT_GT(GraphicsState.displayMode.Width, 0u);
    EXPECT_GT(GraphicsState.displayMode.Height, 0u);
    EXPECT_NE(GraphicsState.displayMode.Format, D3DFMT_UNKNOWN);
}

TEST_F(GraphicsInitTest, ShutdownGivesEverythingBackAndTwiceIsHarmless) {
    if (ExpectedD3dx() == "none") GTEST_SKIP() << "no D3DX9 library in this run";
    ASSERT_NE(GraphicsInit(), 0);
    GraphicsShutdown();
    EXPECT_EQ(GraphicsState.direct3d, nullptr);
    EXPECT_EQ(GraphicsState.d3d9Library, nullptr);
    EXPECT_EQ(GraphicsState.d3dxLibrary, nullptr);
    EXPECT_EQ(GraphicsState.heap, nullptr);
    GraphicsShutdown();
    EXPECT_EQ(GraphicsState.direct3d, nullptr);
}

TEST_F(GraphicsInitTest, ShutdownWithoutInitDoesNothing) {
    GraphicsShutdown();
    EXPECT_EQ(GraphicsState.heap, nullptr);
    EXPECT_EQ(GraphicsState.direct3d, nullptr);
}

}  // namespace
