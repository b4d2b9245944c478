// The program's Windows resources, as Windows finds them in a module that
// links them: icon 1 in 32 by 32 pixels and 16 colours, the manifest as
// resource type 24 identifier 1, and its effect, Common Controls 6.
#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>

extern const unsigned char IconFile[];
extern const int32_t IconFileSize;
extern const unsigned char ManifestFile[];
extern const int32_t ManifestFileSize;

namespace {

struct Resource {
    const unsigned char* bytes = nullptr;
    DWORD size = 0;
};

Resource Find(int id, int type) {
    Resource r;
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(type));
    if (!found) return r;
    HGLOBAL loaded = LoadResource(module, found);
    r.bytes = static_cast<const unsigned char*>(LockResource(loaded));
    r.size = SizeofResource(module, found);
    return r;
}

uint32_t Le16(const unsigned char* p) { return static_cast<uint32_t>(p[0] | p[1] << 8); }
uint32_t Le32(const unsigned char* p) { return Le16(p) | Le16(p + 2) << 16; }

TEST(Resources, ManifestIsType24Id1) {
    const Resource manifest = Find(1, 24);
    ASSERT_NE(manifest.bytes, nullptr);
    ASSERT_EQ(manifest.size, static_cast<DWORD>(ManifestFileSize));
    EXPECT_EQ(std::memcmp(manifest.bytes, ManifestFile, manifest.size), 0);
}

// Group icon 1 lists one 32 by 32 image in 16 colours at 4 bits, and the
// image it names is the icon file's bitmap.
TEST(Resources, IconGroup1Is32By32In16Colours) {
    const Resource group = Find(1, 14);  // RT_GROUP_ICON
    ASSERT_NE(group.bytes, nullptr);
    ASSERT_EQ(group.size, 6u + 14u);
    EXPECT_EQ(Le16(group.bytes + 2), 1u);
    ASSERT_EQ(Le16(group.bytes + 4), 1u);
    const unsigned char* entry = group.bytes + 6;
    EXPECT_EQ(entry[0], 32);
    EXPECT_EQ(entry[1], 32);
    EXPECT_EQ(entry[2], 16);
    EXPECT_EQ(Le16(entry + 4), 1u);
    EXPECT_EQ(Le16(entry + 6), 4u);
    const Resource image = Find(static_cast<int>(Le16(entry + 12)), 3);  // RT_ICON
    ASSERT_NE(image.bytes, nullptr);
    ASSERT_EQ(image.size, Le32(entry + 8));
    ASSERT_EQ(image.size, static_cast<DWORD>(IconFileSize) - 22);
    EXPECT_EQ(std::memcmp(image.bytes, IconFile + 22, image.size), 0);
}

TEST(Resources, LoadIconFindsIcon1) {
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP mask{};
    ASSERT_NE(GetObjectA(info.hbmMask, sizeof mask, &mask), 0);
    EXPECT_EQ(mask.bmWidth, 32);
    if (info.hbmColor) {
        BITMAP colour{};
        ASSERT_NE(GetObjectA(info.hbmColor, sizeof colour, &colour), 0);
        EXPECT_EQ(colour.bmWidth, 32);
        EXPECT_EQ(colour.bmHeight, 32);
        DeleteObject(info.hbmColor);
    } else {
        EXPECT_EQ(mask.bmHeight, 64);  // monochrome: image and mask stacked
    }
    DeleteObject(info.hbmMask);
}

// The manifest makes the process use Common Controls version 6: the
// process's activation context redirects "comctl32.dll", and loading it
// yields the version 6 assembly from the side-by-side store (version 5 is
// the one in the system folder). DllGetVersion is not asked: Wine's answers
// 5 even for the version 6 assembly.
TEST(Resources, ManifestBindsCommonControls6) {
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof data;
    EXPECT_TRUE(FindActCtxSectionStringA(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, "comctl32.dll", &data));

    HMODULE comctl = LoadLibraryA("comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    char path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(comctl, path, MAX_PATH), 0u);
    std::string lower(path);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_NE(lower.find("\\winsxs\\x86_microsoft.windows.common-controls_6595b64144ccf1df_6.0."), std::string::npos)
        << path;
    FreeLibrary(comctl);
}

}  // namespace
