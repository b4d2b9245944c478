// Reading a WAVE image: where SoundCatch finds the format and the samples,
// and which images the length-checked form refuses.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "sound/sound.h"
#include "sound_images.h"

namespace {

using namespace sound_images;

uint32_t Size(const std::vector<uint8_t>& image) { return static_cast<uint32_t>(image.size()); }

void Set32(std::vector<uint8_t>& image, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) image[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

struct Layout {
    std::string name;
    std::vector<uint8_t> image;
    uint32_t formatBytes;    // expected F
    size_t sampleOffset;     // expected offset of the samples
    uint32_t sampleBytes;    // expected N
};

std::vector<Layout> Layouts() {
    std::vector<Layout> layouts;
    layouts.push_back({"demo sound", DemoWave(), 16, 44, kDemoSampleBytes});
    layouts.push_back({"data only", Wave(FormatBytes(Format{}), {{"data", Samples(100)}}), 16, 44, 100});
    // The chunk right after "fmt " supplies the samples, whatever its id.
    layouts.push_back({"chunk between fmt and data",
                       Wave(FormatBytes(Format{}), {{"fact", Samples(12)}, {"data", Samples(100)}}), 16, 44, 12});
    layouts.push_back({"format with cbSize 0", Wave(FormatBytes(Format{}, {0, 0}), {{"data", Samples(10)}}), 18, 46,
                       10});
    // No pad byte after an odd format size.
    layouts.push_back({"odd format size", Wave(FormatBytes(Format{}, {0, 0, 9}), {{"data", Samples(10)}}), 19, 47,
                       10});
    layouts.push_back({"format with extra bytes",
                       Wave(FormatBytes(Format{}, {2, 0, 0xAB, 0xCD}), {{"data", Samples(10)}}), 20, 48, 10});
    layouts.push_back({"stereo 8-bit", Wave(FormatBytes(Format{1, 2, 11025, 8}), {{"data", Samples(4)}}), 16, 44, 4});
    layouts.push_back({"no samples", Wave(FormatBytes(Format{}), {{"data", {}}}), 16, 44, 0});
    return layouts;
}

TEST(SoundWaveRead, FindsFormatAndTheChunkAfterIt) {
    for (const Layout& layout : Layouts()) {
        SCOPED_TRACE(layout.name);
        for (bool bounded : {false, true}) {
            SoundWave wave{};
            const bool read = bounded ? SoundWaveRead(layout.image.data(), Size(layout.image), wave)
                                      : SoundWaveRead(layout.image.data(), wave);
            ASSERT_TRUE(read) << (bounded ? "with length" : "without length");
            EXPECT_EQ(reinterpret_cast<const uint8_t*>(wave.format), layout.image.data() + 20);
            EXPECT_EQ(wave.formatBytes, layout.formatBytes);
            EXPECT_EQ(wave.samples, layout.image.data() + layout.sampleOffset);
            EXPECT_EQ(wave.sampleBytes, layout.sampleBytes);
        }
    }
}

TEST(SoundWaveRead, FormatFieldsReadInPlace) {
    const std::vector<uint8_t> image = Wave(FormatBytes(Format{1, 2, 48000, 16}), {{"data", Samples(8)}});
    SoundWave wave{};
    ASSERT_TRUE(SoundWaveRead(image.data(), Size(image), wave));
    EXPECT_EQ(wave.format->wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(wave.format->nChannels, 2);
    EXPECT_EQ(wave.format->nSamplesPerSec, 48000u);
    EXPECT_EQ(wave.format->nAvgBytesPerSec, 192000u);
    EXPECT_EQ(wave.format->nBlockAlign, 4);
    EXPECT_EQ(wave.format->wBitsPerSample, 16);
}

TEST(SoundWaveRead, RefusesImagesThatDoNotStartAsWave) {
    const std::vector<uint8_t> good = DemoWave();
    struct Case {
        const char* name;
        size_t offset;
        const char* bytes;
    };
    const Case cases[] = {
        {"not RIFF", 0, "RIFX"}, {"lower-case riff", 0, "riff"}, {"LIST first", 12, "LIST"},
        {"data first", 12, "data"}, {"fmt without its space", 12, "fmt\0"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> image = good;
        std::memcpy(image.data() + c.offset, c.bytes, 4);
        SoundWave wave{};
        EXPECT_FALSE(SoundWaveRead(image.data(), wave)) << c.name;
        EXPECT_FALSE(SoundWaveRead(image.data(), Size(image), wave)) << c.name;
    }
    SoundWave wave{};
    EXPECT_FALSE(SoundWaveRead(nullptr, wave));
    EXPECT_FALSE(SoundWaveRead(nullptr, 1000, wave));
    // The form type and the RIFF size are not examined.
    std::vector<uint8_t> image = good;
    std::memcpy(image.data() + 8, "AVI ", 4);
    Set32(image, 4, 3);
    EXPECT_TRUE(SoundWaveRead(image.data(), Size(image), wave));
}

// Every length short of the whole chunk layout is refused, on a copy of
// exactly that length so that a read past it would be caught by the
// sanitizer build.
TEST(SoundWaveRead, RefusesEveryCutShortImage) {
    for (const Layout& layout : Layouts()) {
        SCOPED_TRACE(layout.name);
        const size_t needed = layout.sampleOffset + layout.sampleBytes;
        const size_t step = needed > 4096 ? 97 : 1;
        for (size_t length = 0; length < needed; length += (length < 200 || length + 200 >= needed ? 1 : step)) {
            std::vector<uint8_t> cut(layout.image.begin(), layout.image.begin() + static_cast<std::ptrdiff_t>(length));
            SoundWave wave{};
            ASSERT_FALSE(SoundWaveRead(cut.empty() ? layout.image.data() : cut.data(), static_cast<uint32_t>(length),
                                       wave))
                << "length " << length;
        }
        SoundWave wave{};
        std::vector<uint8_t> exact(layout.image.begin(), layout.image.begin() + static_cast<std::ptrdiff_t>(needed));
        EXPECT_TRUE(SoundWaveRead(exact.data(), static_cast<uint32_t>(needed), wave));
    }
}

TEST(SoundWaveRead, RefusesSizesThatOverrunTheImage) {
    const std::vector<uint8_t> good = Wave(FormatBytes(Format{}), {{"data", Samples(100)}});
    struct Case {
        const char* name;
        size_t offset;  // of the 32-bit field to change
        uint32_t value;
    };
    const Case cases[] = {
        {"format size past the end", 16, 1000},
        {"format size leaves no room for the next header", 16, Size(good) - 20 - 7},
        {"format size that wraps", 16, 0xFFFFFFF0u},
        {"largest format size", 16, 0xFFFFFFFFu},
        {"sample size one past the end", 40, 101},
        {"sample size that wraps", 40, 0xFFFFFFF0u},
        {"largest sample size", 40, 0xFFFFFFFFu},
        {"format chunk too short for a format", 16, 14},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> image = good;
        Set32(image, c.offset, c.value);
        SoundWave wave{};
        EXPECT_FALSE(SoundWaveRead(image.data(), Size(image), wave)) << c.name;
    }
    // cbSize announcing more extra bytes than the format chunk holds.
    const std::vector<uint8_t> extra = Wave(FormatBytes(Format{}, {3, 0, 1, 2}), {{"data", Samples(10)}});
    SoundWave wave{};
    EXPECT_FALSE(SoundWaveRead(extra.data(), Size(extra), wave));
    // Bytes after the samples are never needed.
    std::vector<uint8_t> longer = good;
    longer.resize(longer.size() + 50, 0xEE);
    EXPECT_TRUE(SoundWaveRead(longer.data(), Size(longer), wave));
    EXPECT_EQ(wave.sampleBytes, 100u);
}

}  // namespace
