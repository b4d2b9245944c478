// GraphicsInit's search order and failure cases, with libraries and entries
// withdrawn from or added to the stand-in's module table.
#include "graphics_support.h"
#include "testing.h"

namespace {

class GraphicsInitModulesTest : public ::testing::Test {
protected:
    void SetUp() override { GraphicsReset(); }
    void TearDown() override {
        GraphicsReset();
        PlatformModulesRestore();
    }
};

struct SearchCase {
    const char* name;
    std::vector<const char*> present;  // D3DX9 libraries in the table besides none
    const char* chosen;                // nullptr: GraphicsInit fails
};

class GraphicsSearchOrderTest : public GraphicsInitModulesTest, public ::testing::WithParamInterface<SearchCase> {};

TEST_P(GraphicsSearchOrderTest, PicksTheHighestVersionPresent) {
    const SearchCase& c = GetParam();
    for (const char* name : {"D3DX9_26.dll", "D3DX9_25.dll", "D3DX9_24.dll"}) {
        for (const char* wanted : c.present)
            if (std::string(wanted) == name) {
                ASSERT_TRUE(PlatformModuleAddCopy(name, "D3DX9_27.dll"));
            }
    }
    bool keep27 = false;
    for (const char* wanted : c.present) keep27 = keep27 || std::string(wanted) == "D3DX9_27.dll";
    if (!keep27) {
        ASSERT_TRUE(PlatformModuleWithdraw("D3DX9_27.dll"));
    }

    int32_t result = GraphicsInit();
    if (!c.chosen) {
        EXPECT_EQ(result, 0);
        EXPECT_EQ(GraphicsState.d3dxLibrary, nullptr);
        EXPECT_NE(GraphicsState.direct3d, nullptr);
        return;
    }
    EXPECT_NE(result, 0);
    EXPECT_EQ(GraphicsState.d3dxLibrary, GetModuleHandleA(c.chosen));
    for (const char* other : {"D3DX9_27.dll", "D3DX9_26.dll", "D3DX9_25.dll", "D3DX9_24.dll"}) {
        if (std::string(other) != c.chosen) {
            EXPECT_EQ(PlatformModuleLoadCount(other), 0) << other;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Libraries, GraphicsSearchOrderTest,
    ::testing::Values(SearchCase{"only27", {"D3DX9_27.dll"}, "D3DX9_27.dll"},
                      SearchCase{"only24", {"D3DX9_24.dll"}, "D3DX9_24.dll"},
                      SearchCase{"all", {"D3DX9_27.dll", "D3DX9_26.dll", "D3DX9_25.dll", "D3DX9_24.dll"},
                                 "D3DX9_27.dll"},
                      SearchCase{"below27", {"D3DX9_26.dll", "D3DX9_25.dll", "D3DX9_24.dll"}, "D3DX9_26.dll"},
                      SearchCase{"25and24", {"D3DX9_25.dll", "D3DX9_24.dll"}, "D3DX9_25.dll"},
                      SearchCase{"none", {}, nullptr}),
    [](const ::testing::TestParamInfo<SearchCase>& info) { return std::string(info.param.name); });

TEST_F(GraphicsInitModulesTest, WithoutD3d9NoD3dxLibraryIsTried) {
    ASSERT_TRUE(PlatformModuleWithdraw("D3D9.dll"));
    EXPECT_EQ(GraphicsInit(), 0);
    EXPECT_NE(GraphicsState.heap, nullptr);
    EXPECT_EQ(GraphicsState.d3d9Library, nullptr);
    EXPECT_EQ(GraphicsState.direct3d, nullptr);
    EXPECT_EQ(PlatformModuleLoadCount("D3DX9_27.dll"), 0);
}

TEST_F(GraphicsInitModulesTest, WithoutDirect3DCreate9ItFails) {
    ASSERT_TRUE(PlatformModuleWithdrawEntry("D3D9.dll", "Direct3DCreate9"));
    EXPECT_EQ(GraphicsInit(), 0);
    EXPECT_NE(GraphicsState.d3d9Library, nullptr);
    EXPECT_EQ(GraphicsState.direct3d, nullptr);
    EXPECT_EQ(PlatformModuleLoadCount("D3DX9_27.dll"), 0);
}

TEST_F(GraphicsInitModulesTest, WithoutMatrixMultiplyItFailsButKeepsTheLibrary) {
    ASSERT_TRUE(PlatformModuleWithdrawEntry("D3DX9_27.dll", "D3DXMatrixMultiply"));
    EXPECT_EQ(GraphicsInit(), 0);
    EXPECT_EQ(GraphicsState.d3dxLibrary, GetModuleHandleA("D3DX9_27.dll"));
    EXPECT_EQ(GraphicsState.d3dxEntries[D3DXEntryMatrixMultiply], nullptr);
    EXPECT_NE(GraphicsState.d3dxEntries[D3DXEntryMatrixScaling], nullptr);
}

TEST_F(GraphicsInitModulesTest, WithoutCreateFontItSucceedsWithThatSlotEmpty) {
    ASSERT_TRUE(PlatformModuleWithdrawEntry("D3DX9_27.dll", "D3DXCreateFontA"));
    EXPECT_NE(GraphicsInit(), 0);
    EXPECT_EQ(GraphicsState.d3dxEntries[D3DXEntryCreateFontA], nullptr);
    EXPECT_NE(GraphicsState.d3dxEntries[D3DXEntryCreateLine], nullptr);
    EXPECT_NE(GraphicsState.d3dxEntries[D3DXEntryMatrixRotationZ], nullptr);
}

TEST_F(GraphicsInitModulesTest, WithoutCreateSpriteScreenOpenFails) {
    ASSERT_TRUE(PlatformModuleWithdrawEntry("D3DX9_27.dll", "D3DXCreateSprite"));
    ASSERT_NE(GraphicsInit(), 0);
    HWND window = CreateHostWindow(64, 64);
    EXPECT_EQ(ScreenOpen(64, 64, 0, window, 0x282), 0);
    EXPECT_EQ(GraphicsDevice(), nullptr);
    GraphicsReset();
    DestroyHostWindow(window);
}

}  // namespace
