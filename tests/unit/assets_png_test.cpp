// The embedded pictures decoded with libpng: sizes, and the properties that
// drawing relies on (tiling ground, the colours of transparent pixels, the
// smoke's highest alpha, the opaque fire).
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "assets/assets.h"

namespace {

struct Decoded {
    uint32_t width = 0, height = 0, channels = 0;
    std::vector<uint8_t> pixels;
    const uint8_t* At(int x, int y) const { return &pixels[(static_cast<size_t>(y) * width + x) * channels]; }
};

Decoded Decode(const unsigned char* bytes, int32_t size, bool alpha) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    Decoded out;
    if (!png_image_begin_read_from_memory(&image, bytes, static_cast<size_t>(size))) {
        ADD_FAILURE() << "libpng: " << image.message;
        return out;
    }
    // The file's own channel layout, so that nothing is added or dropped.
    EXPECT_EQ((image.format & PNG_FORMAT_FLAG_ALPHA) != 0, alpha);
    EXPECT_NE(image.format & PNG_FORMAT_FLAG_COLOR, 0u);
    image.format = alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    out.width = image.width;
    out.height = image.height;
    out.channels = alpha ? 4 : 3;
    out.pixels.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, out.pixels.data(), 0, nullptr)) {
        ADD_FAILURE() << "libpng: " << image.message;
        out.pixels.clear();
    }
    return out;
}

// Mean absolute difference, over all channels, between two columns (or rows).
double LineDifference(const Decoded& d, int a, int b, bool columns) {
    double sum = 0.0;
    const int n = static_cast<int>(columns ? d.height : d.width);
    for (int i = 0; i < n; ++i) {
        const uint8_t* p = columns ? d.At(a, i) : d.At(i, a);
        const uint8_t* q = columns ? d.At(b, i) : d.At(i, b);
        for (uint32_t c = 0; c < d.channels; ++c) sum += std::abs(p[c] - q[c]);
    }
    return sum / n;
}

TEST(GroundPng, DarkOliveGreenAndTilesSeamlessly) {
    const Decoded d = Decode(GroundPng, GroundPngSize, false);
    ASSERT_EQ(d.width, 256u);
    ASSERT_EQ(d.height, 256u);
    ASSERT_EQ(d.pixels.size(), 256u * 256 * 3);

    double r = 0, g = 0, b = 0;
    for (size_t i = 0; i < d.pixels.size(); i += 3) {
        r += d.pixels[i];
        g += d.pixels[i + 1];
        b += d.pixels[i + 2];
    }
    r /= 65536;
    g /= 65536;
    b /= 65536;
    EXPECT_GT(g, r) << "green over red";
    EXPECT_GT(r, b * 1.5) << "olive: yellowish, little blue";
    EXPECT_LT(g, 128) << "dark";
    EXPECT_GT(g, 40) << "not black";

    // Across the wrap (last line to first) the picture changes no more than
    // between neighbouring lines inside it, in both directions.
    for (bool columns : {true, false}) {
        double largest = 0.0, sum = 0.0;
        for (int i = 0; i + 1 < 256; ++i) {
            const double step = LineDifference(d, i, i + 1, columns);
            largest = std::max(largest, step);
            sum += step;
        }
        const double wrap = LineDifference(d, 255, 0, columns);
        EXPECT_LE(wrap, largest) << (columns ? "columns" : "rows");
        EXPECT_LE(wrap, 2.0 * sum / 255) << (columns ? "columns" : "rows");
        // And it is a texture, not a flat colour.
        EXPECT_GT(sum / 255, 1.0);
    }
}

TEST(SmokePng, GreyCloudWithBlackTransparentPixelsAndAlphaUpTo194) {
    const Decoded d = Decode(SmokePng, SmokePngSize, true);
    ASSERT_EQ(d.width, 64u);
    ASSERT_EQ(d.height, 64u);
    int highest = 0, clear = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const uint8_t* p = d.At(x, y);
            highest = std::max<int>(highest, p[3]);
            EXPECT_TRUE(p[0] == p[1] && p[1] == p[2]) << "grey at " << x << "," << y;
            if (p[3] == 0) {
                ++clear;
                EXPECT_EQ(p[0], 0) << "transparent pixel not black at " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(highest, 194);
    EXPECT_GT(clear, 0);
    // A cloud: dense in the middle, clear at the corners.
    EXPECT_GE(d.At(32, 32)[3], 120);
    for (int corner : {0, 63}) {
        EXPECT_EQ(d.At(corner, 0)[3], 0);
        EXPECT_EQ(d.At(corner, 63)[3], 0);
    }
}

TEST(FirePng, OpaqueWhiteHotCentreThroughOrangeToBlackEdges) {
    const Decoded d = Decode(FirePng, FirePngSize, true);
    ASSERT_EQ(d.width, 64u);
    ASSERT_EQ(d.height, 64u);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) ASSERT_EQ(d.At(x, y)[3], 255) << x << "," << y;
    for (int y = 31; y <= 32; ++y)
        for (int x = 31; x <= 32; ++x)
            for (int c = 0; c < 3; ++c) EXPECT_GE(d.At(x, y)[c], 235) << "centre " << x << "," << y;
    for (int i = 0; i < 64; ++i) {
        for (const uint8_t* p : {d.At(i, 0), d.At(i, 63), d.At(0, i), d.At(63, i)})
            for (int c = 0; c < 3; ++c) EXPECT_LE(p[c], 8) << "border " << i;
    }
    // Orange half way out: red strongest, then green, then blue.
    for (const uint8_t* p : {d.At(16, 32), d.At(48, 32), d.At(32, 16), d.At(32, 48)}) {
        EXPECT_GE(p[0], 200);
        EXPECT_GT(p[0], p[1] + 60);
        EXPECT_GT(p[1], p[2]);
    }
}

TEST(ScorchPng, BrownOpaqueStarWithWhiteTransparentPixels) {
    const Decoded d = Decode(ScorchPng, ScorchPngSize, true);
    ASSERT_EQ(d.width, 64u);
    ASSERT_EQ(d.height, 64u);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const uint8_t* p = d.At(x, y);
            if (p[3] == 0) {
                EXPECT_TRUE(p[0] == 255 && p[1] == 255 && p[2] == 255) << "transparent pixel not white at " << x << "," << y;
            }
        }
    }
    const uint8_t* centre = d.At(32, 32);
    EXPECT_EQ(centre[3], 255);
    EXPECT_LT(centre[0], 160) << "dark";
    EXPECT_GT(centre[0], centre[1]);
    EXPECT_GT(centre[1], centre[2]);
    EXPECT_GT(centre[0], centre[2] + 30) << "brown, not grey";
    for (int corner : {0, 63}) {
        EXPECT_EQ(d.At(corner, 0)[3], 0);
        EXPECT_EQ(d.At(corner, 63)[3], 0);
    }
    // A star: on a circle around the centre the mark comes and goes several
    // times (its points), where a round blot would be all in or all out.
    int changes = 0;
    bool previous = false;
    for (int step = 0; step <= 360; ++step) {
        const double a = step * 3.14159265358979 / 180;
        const uint8_t* p = d.At(static_cast<int>(32 + 22 * std::cos(a)), static_cast<int>(32 + 22 * std::sin(a)));
        const bool marked = p[0] < 235;
        if (step > 0 && marked != previous) ++changes;
        previous = marked;
    }
    EXPECT_GE(changes, 10) << "at least five points";
}

// The embedded bytes are the files in assets/.
TEST(EmbeddedAssets, EqualTheCommittedFiles) {
    struct File {
        const char* name;
        const unsigned char* bytes;
        int32_t size;
    };
    for (const File& f : {File{"ground.png", GroundPng, GroundPngSize}, File{"smoke.png", SmokePng, SmokePngSize},
                          File{"fire.png", FirePng, FirePngSize}, File{"scorch.png", ScorchPng, ScorchPngSize},
                          File{"explosion.wav", ExplosionWav, ExplosionWavSize}}) {
        const std::string path = std::string(ASSETS_DIR) + "/" + f.name;
        FILE* file = std::fopen(path.c_str(), "rb");
        ASSERT_NE(file, nullptr) << path;
        std::vector<unsigned char> bytes(static_cast<size_t>(f.size) + 1);
        const size_t read = std::fread(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
        EXPECT_EQ(read, static_cast<size_t>(f.size)) << f.name;
        EXPECT_EQ(std::memcmp(bytes.data(), f.bytes, std::min(read, static_cast<size_t>(f.size))), 0) << f.name;
    }
}

}  // namespace
