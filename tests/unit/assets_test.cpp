// The embedded assets as the program receives them: file formats read byte
// by byte (PNG headers, the WAVE layout that the sound layer relies on, the
// icon), the lengths, and the sound's shape.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "assets/assets.h"

// The icon and the manifest, embedded for these tests only (the program
// carries them as resources on win32).
extern const unsigned char IconFile[];
extern const int32_t IconFileSize;
extern const unsigned char ManifestFile[];
extern const int32_t ManifestFileSize;

namespace {

uint32_t Le16(const unsigned char* p) { return static_cast<uint32_t>(p[0] | p[1] << 8); }
uint32_t Le32(const unsigned char* p) { return Le16(p) | Le16(p + 2) << 16; }
uint32_t Be32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 | p[3];
}
std::string Id(const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p), 4); }

struct Picture {
    const char* name;
    const unsigned char* bytes;
    const int32_t* size;
    int32_t fileSize;  // of the file in assets/, measured by the build
    uint32_t width, height, colourType;
};

void PrintTo(const Picture& picture, std::ostream* out) { *out << picture.name; }

class PngHeader : public ::testing::TestWithParam<Picture> {};

// Signature, then IHDR as the first chunk: size, depth, colour type, no
// interlacing; and the stream ends with IEND exactly at the embedded length.
TEST_P(PngHeader, FormatAndLength) {
    const Picture& p = GetParam();
    ASSERT_EQ(*p.size, p.fileSize);
    ASSERT_GT(*p.size, 8 + 25 + 12);
    const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    ASSERT_EQ(std::memcmp(p.bytes, signature, 8), 0);
    EXPECT_EQ(Be32(p.bytes + 8), 13u);
    EXPECT_EQ(Id(p.bytes + 12), "IHDR");
    EXPECT_EQ(Be32(p.bytes + 16), p.width);
    EXPECT_EQ(Be32(p.bytes + 20), p.height);
    EXPECT_EQ(p.bytes[24], 8) << "bit depth";
    EXPECT_EQ(p.bytes[25], p.colourType);
    EXPECT_EQ(p.bytes[26], 0) << "compression";
    EXPECT_EQ(p.bytes[27], 0) << "filter";
    EXPECT_EQ(p.bytes[28], 0) << "interlace";

    // Walk the chunks: no time stamp (the generator is deterministic), and
    // IEND is the last chunk, ending at the last embedded byte.
    size_t at = 8;
    std::string last;
    while (at + 12 <= static_cast<size_t>(*p.size)) {
        const uint32_t length = Be32(p.bytes + at);
        last = Id(p.bytes + at + 4);
        EXPECT_NE(last, "tIME");
        at += 12 + length;
        if (last == "IEND") break;
    }
    EXPECT_EQ(last, "IEND");
    EXPECT_EQ(at, static_cast<size_t>(*p.size));
}

INSTANTIATE_TEST_SUITE_P(Assets, PngHeader,
                         ::testing::Values(Picture{"ground", GroundPng, &GroundPngSize, GROUND_PNG_FILE_SIZE, 256, 256, 2},
                                           Picture{"smoke", SmokePng, &SmokePngSize, SMOKE_PNG_FILE_SIZE, 64, 64, 6},
                                           Picture{"fire", FirePng, &FirePngSize, FIRE_PNG_FILE_SIZE, 64, 64, 6},
                                           Picture{"scorch", ScorchPng, &ScorchPngSize, SCORCH_PNG_FILE_SIZE, 64, 64, 6}),
                         [](const ::testing::TestParamInfo<Picture>& info) { return std::string(info.param.name); });

// The WAVE layout that the sound layer reads: "fmt " first at offset 12 with
// 16 bytes of plain PCM, "data" right after it, then a "LIST" chunk that
// ends the file.
TEST(ExplosionWav, LayoutByteByByte) {
    const unsigned char* w = ExplosionWav;
    ASSERT_EQ(ExplosionWavSize, EXPLOSION_WAV_FILE_SIZE);
    ASSERT_EQ(ExplosionWavSize, 87808);
    EXPECT_EQ(Id(w), "RIFF");
    EXPECT_EQ(Le32(w + 4), 87808u - 8);
    EXPECT_EQ(Id(w + 8), "WAVE");
    EXPECT_EQ(Id(w + 12), "fmt ");
    EXPECT_EQ(Le32(w + 16), 16u);
    EXPECT_EQ(Le16(w + 20), 1u) << "wFormatTag PCM";
    EXPECT_EQ(Le16(w + 22), 1u) << "nChannels";
    EXPECT_EQ(Le32(w + 24), 22050u) << "nSamplesPerSec";
    EXPECT_EQ(Le32(w + 28), 44100u) << "nAvgBytesPerSec";
    EXPECT_EQ(Le16(w + 32), 2u) << "nBlockAlign";
    EXPECT_EQ(Le16(w + 34), 16u) << "wBitsPerSample";
    EXPECT_EQ(Id(w + 36), "data");
    EXPECT_EQ(Le32(w + 40), 87682u);
    const size_t list = 44 + 87682;
    EXPECT_EQ(Id(w + list), "LIST");
    const uint32_t listSize = Le32(w + list + 4);
    EXPECT_EQ(list + 8 + listSize, 87808u);
    EXPECT_EQ(Id(w + list + 8), "INFO");
    // Each INFO entry fits inside the list and has an even size.
    size_t at = list + 12;
    while (at < 87808) {
        ASSERT_LE(at + 8, 87808u);
        const uint32_t size = Le32(w + at + 4);
        EXPECT_EQ(size % 2, 0u);
        at += 8 + size;
    }
    EXPECT_EQ(at, 87808u);
}

std::vector<double> Samples() {
    std::vector<double> samples;
    for (int i = 0; i < 87682 / 2; ++i) samples.push_back(static_cast<int16_t>(Le16(ExplosionWav + 44 + 2 * i)));
    return samples;
}

double Rms(const std::vector<double>& s, size_t from, size_t to) {
    double sum = 0.0;
    for (size_t i = from; i < to; ++i) sum += s[i] * s[i];
    return std::sqrt(sum / static_cast<double>(to - from));
}

// A bang: loud, peaking within the first tenth of a second, dying away to
// silence at the end, and dull rather than hissing.
TEST(ExplosionWav, SoundsLikeABang) {
    const std::vector<double> s = Samples();
    const size_t peak = static_cast<size_t>(
        std::max_element(s.begin(), s.end(), [](double a, double b) { return std::fabs(a) < std::fabs(b); }) - s.begin());
    EXPECT_GE(std::fabs(s[peak]), 20000.0);
    EXPECT_LT(peak, 2205u) << "the peak comes within 0.1 s";
    EXPECT_LT(std::fabs(s[0]), 2000.0) << "starts from near silence";

    const double first = Rms(s, 0, 5512);                    // first quarter second
    const double middle = Rms(s, 11025, 16537);              // from 0.5 s
    const double end = Rms(s, s.size() - 5512, s.size());    // last quarter second
    EXPECT_GT(first, 3000.0);
    EXPECT_GT(first, 3.0 * middle);
    EXPECT_GT(middle, end);
    EXPECT_LT(std::fabs(s.back()), 50.0) << "ends without a click";

    // Low-passed: neighbouring samples differ little compared with the
    // samples themselves (about 1.4 for white noise).
    double change = 0.0, level = 0.0;
    for (size_t i = 1; i < 11025; ++i) {
        change += std::fabs(s[i] - s[i - 1]);
        level += std::fabs(s[i]);
    }
    EXPECT_LT(change / level, 0.4);

    // A low thump: over the first 0.3 s, much of the sound passes a two-pole
    // low-pass at 150 Hz (about 0.1 of it for white noise).
    const double k = 1.0 - std::exp(-2 * 3.14159265358979 * 150.0 / 22050);
    double low1 = 0.0, low2 = 0.0, all = 0.0, low = 0.0;
    for (size_t i = 0; i < 6615; ++i) {
        low1 += k * (s[i] - low1);
        low2 += k * (low1 - low2);
        all += s[i] * s[i];
        low += low2 * low2;
    }
    EXPECT_GT(std::sqrt(low / all), 0.35);
}

// Icon: one 32 by 32 image in 16 colours, a 4-bit BMP with its mask.
TEST(ExplosionIcon, OneImage32By32In16Colours) {
    const unsigned char* f = IconFile;
    ASSERT_EQ(IconFileSize, ICON_FILE_SIZE);
    ASSERT_GE(IconFileSize, 22 + 40);
    EXPECT_EQ(Le16(f), 0u);
    EXPECT_EQ(Le16(f + 2), 1u) << "icon";
    ASSERT_EQ(Le16(f + 4), 1u) << "image count";
    EXPECT_EQ(f[6], 32) << "width";
    EXPECT_EQ(f[7], 32) << "height";
    EXPECT_EQ(f[8], 16) << "colours";
    EXPECT_EQ(Le16(f + 10), 1u) << "planes";
    EXPECT_EQ(Le16(f + 12), 4u) << "bits per pixel";
    const uint32_t bytes = Le32(f + 14), offset = Le32(f + 18);
    EXPECT_EQ(offset, 22u);
    EXPECT_EQ(offset + bytes, static_cast<uint32_t>(IconFileSize));

    const unsigned char* bmp = f + offset;
    EXPECT_EQ(Le32(bmp), 40u);
    EXPECT_EQ(Le32(bmp + 4), 32u);
    EXPECT_EQ(Le32(bmp + 8), 64u) << "colour image and mask";
    EXPECT_EQ(Le16(bmp + 12), 1u);
    EXPECT_EQ(Le16(bmp + 14), 4u);
    EXPECT_EQ(Le32(bmp + 16), 0u) << "uncompressed";
    const uint32_t colours = Le32(bmp + 32) == 0 ? 16 : Le32(bmp + 32);
    EXPECT_EQ(colours, 16u);
    EXPECT_EQ(bytes, 40 + colours * 4 + 32 * 16 + 32 * 4);

    // The mask (1 = transparent) leaves the corners clear and the middle
    // drawn, so the icon is a shape and not a square.
    const unsigned char* mask = bmp + 40 + colours * 4 + 32 * 16;
    auto clear = [&](int x, int y) { return (mask[(31 - y) * 4 + x / 8] >> (7 - x % 8) & 1) != 0; };
    EXPECT_TRUE(clear(0, 0));
    EXPECT_TRUE(clear(31, 31));
    EXPECT_FALSE(clear(16, 16));
    // Several colours of the palette are used.
    const unsigned char* pixels = bmp + 40 + colours * 4;
    std::vector<bool> used(16);
    for (int i = 0; i < 32 * 16; ++i) {
        used[pixels[i] >> 4] = true;
        used[pixels[i] & 15] = true;
    }
    EXPECT_GE(std::count(used.begin(), used.end(), true), 5);
}

// Manifest: the dependency on Common Controls 6 for X86, with every
// attribute of the assembly identity.
TEST(ApplicationManifest, DeclaresCommonControls6ForX86) {
    const std::string text(reinterpret_cast<const char*>(ManifestFile), static_cast<size_t>(ManifestFileSize));
    EXPECT_EQ(text.rfind("<?xml", 0), 0u);
    const size_t dependency = text.find("<dependentAssembly>");
    ASSERT_NE(dependency, std::string::npos);
    const size_t start = text.find("<assemblyIdentity", dependency);
    ASSERT_NE(start, std::string::npos);
    const std::string identity = text.substr(start, text.find("/>", start) - start);
    for (const char* attribute :
         {"type=\"win32\"", "name=\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\"",
          "processorArchitecture=\"X86\"", "publicKeyToken=\"6595b64144ccf1df\"", "language=\"*\""})
        EXPECT_NE(identity.find(attribute), std::string::npos) << attribute;
    EXPECT_NE(text.find("</assembly>"), std::string::npos);
}

}  // namespace
