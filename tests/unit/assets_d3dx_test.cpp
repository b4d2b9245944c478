// The embedded pictures as D3DX9 sees them: the image information that
// D3DXGetImageInfoFromFileInMemory of "D3DX9_27.dll" reports for each.
#include <gtest/gtest.h>
#include <windows.h>
#include <d3dx9.h>

#include <string>

#include "assets/assets.h"

namespace {

struct Picture {
    const char* name;
    const unsigned char* bytes;
    const int32_t* size;
    UINT width, height;
    bool alpha;
};

void PrintTo(const Picture& picture, std::ostream* out) { *out << picture.name; }

class D3dxImageInfo : public ::testing::TestWithParam<Picture> {};

TEST_P(D3dxImageInfo, SizeAndFormat) {
    using GetInfo = HRESULT(WINAPI*)(LPCVOID, UINT, D3DXIMAGE_INFO*);
    HMODULE d3dx = LoadLibraryA("D3DX9_27.dll");
    ASSERT_NE(d3dx, nullptr);
    auto get = reinterpret_cast<GetInfo>(reinterpret_cast<void*>(GetProcAddress(d3dx, "D3DXGetImageInfoFromFileInMemory")));
    ASSERT_NE(get, nullptr);
    const Picture& p = GetParam();
    D3DXIMAGE_INFO info{};
    ASSERT_EQ(get(p.bytes, static_cast<UINT>(*p.size), &info), D3D_OK);
    EXPECT_EQ(info.Width, p.width);
    EXPECT_EQ(info.Height, p.height);
    EXPECT_EQ(info.Depth, 1u);
    EXPECT_EQ(info.MipLevels, 1u);
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_PNG);
    EXPECT_EQ(info.ResourceType, D3DRTYPE_TEXTURE);
    if (p.alpha)
        EXPECT_EQ(info.Format, D3DFMT_A8R8G8B8);
    else  // 24-bit RGB; Wine's D3DX reports R8G8B8, the stand-in X8R8G8B8
        EXPECT_TRUE(info.Format == D3DFMT_R8G8B8 || info.Format == D3DFMT_X8R8G8B8) << info.Format;
    FreeLibrary(d3dx);
}

INSTANTIATE_TEST_SUITE_P(Assets, D3dxImageInfo,
                         ::testing::Values(Picture{"ground", GroundPng, &GroundPngSize, 256, 256, false},
                                           Picture{"smoke", SmokePng, &SmokePngSize, 64, 64, true},
                                           Picture{"fire", FirePng, &FirePngSize, 64, 64, true},
                                           Picture{"scorch", ScorchPng, &ScorchPngSize, 64, 64, true}),
                         [](const ::testing::TestParamInfo<Picture>& info) { return std::string(info.param.name); });

}  // namespace
