// The sound layer over the native stand-in, heard through the mixer's
// memory output at 22050 Hz mono: the device steps and their failures,
// ownership of the buffers, and what SoundPlay sounds like.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "sound/sound.h"
#include "sound_images.h"
#include "support/main_heap.h"
#include "testing.h"

namespace {

using namespace sound_images;

std::vector<const void*> released;

class SoundPlaybackTest : public MainHeapTest {
protected:
    void SetUp() override {
        MainHeapTest::SetUp();
        ResetLayer();
        PlatformSoundUseMemoryOutput(22050, 1);
        released.clear();
        PlatformSoundOnRelease([](const void* object) { released.push_back(object); });
    }
    void TearDown() override {
        SoundShutdown();
        PlatformSoundOnRelease(nullptr);
        PlatformModulesRestore();
        ResetLayer();
        EXPECT_EQ(PlatformSoundBufferCount(), 0);
        EXPECT_EQ(PlatformSoundDeviceCount(), 0);
        MainHeapTest::TearDown();
    }
    static void ResetLayer() {
        const HWND window = SoundLayer.window;
        const bool windowCreated = SoundLayer.windowCreated;
        SoundLayer = SoundState{};
        SoundLayer.window = window;
        SoundLayer.windowCreated = windowCreated;
    }
    static std::vector<int16_t> Render(DWORD frames) {
        std::vector<int16_t> out(frames, 12345);
        EXPECT_TRUE(PlatformSoundRender(out.data(), frames));
        return out;
    }
    static IDirectSoundBuffer* Catch(int32_t number, const std::vector<uint8_t>& image) {
        return SoundCatch(number, image.data(), static_cast<uint32_t>(image.size()));
    }
};

std::vector<int16_t> Values(size_t count, int seed, int amplitude) {
    std::vector<int16_t> values(count);
    uint32_t state = static_cast<uint32_t>(seed) * 747796405u + 1u;
    for (int16_t& value : values) {
        state = state * 1664525u + 1013904223u;
        value = static_cast<int16_t>(static_cast<int32_t>(state >> 8) % (amplitude + 1) *
                                     ((state >> 31) != 0 ? 1 : -1));
    }
    return values;
}

std::vector<uint8_t> Sound16(const std::vector<int16_t>& values) {
    return Wave(FormatBytes(Format{}), {{"data", Samples16(values)}});
}

std::vector<int16_t> Slice(const std::vector<int16_t>& values, size_t from, size_t count) {
    std::vector<int16_t> part(count, 0);
    for (size_t i = 0; i < count && from + i < values.size(); ++i) part[i] = values[from + i];
    return part;
}

TEST_F(SoundPlaybackTest, InitStopsAtTheFirstMissingPiece) {
    struct Case {
        const char* name;
        void (*arrange)();
        bool library, entry, device;
    };
    const Case cases[] = {
        {"everything there", [] {}, true, true, true},
        {"no DSOUND.DLL", [] { PlatformModuleWithdraw("DSOUND.DLL"); }, false, false, false},
        {"no DirectSoundCreate", [] { PlatformModuleWithdrawEntry("DSOUND.DLL", "DirectSoundCreate"); }, true, false,
         false},
        {"no sound output", [] { PlatformSoundUseNoOutput(); }, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.arrange();
        const int32_t ready = SoundInit();
        EXPECT_EQ(ready != 0, c.device);
        EXPECT_EQ(SoundLayer.table.capacity, 50);
        EXPECT_TRUE(SoundLayer.windowCreated);
        EXPECT_TRUE(IsWindow(SoundLayer.window));
        EXPECT_EQ(SoundLayer.library != nullptr, c.library);
        EXPECT_EQ(SoundLayer.create != nullptr, c.entry);
        EXPECT_EQ(SoundLayer.device != nullptr, c.device);
        EXPECT_EQ(PlatformModuleLoadCount("DSOUND.DLL"), c.library ? 1 : 0);
        // Without a device nothing is made, and the demo runs silent.
        IDirectSoundBuffer* buffer = Catch(0, DemoWave());
        EXPECT_EQ(buffer != nullptr, c.device);
        EXPECT_EQ(SoundPlay(0, 0), c.device ? DS_OK : 0);
        SoundShutdown();
        EXPECT_EQ(PlatformModuleLoadCount("DSOUND.DLL"), 0);
        EXPECT_EQ(PlatformSoundDeviceCount(), 0);
        EXPECT_EQ(PlatformSoundBufferCount(), 0);
        PlatformModulesRestore();
        PlatformSoundUseMemoryOutput(22050, 1);
        ResetLayer();
    }
}

TEST_F(SoundPlaybackTest, ShutdownReleasesInNumberOrderThenTheDevice) {
    ASSERT_NE(SoundInit(), 0);
    const void* device = SoundLayer.device;
    const std::vector<uint8_t> image = Sound16(Values(100, 1, 1000));
    std::vector<const void*> expected(5, nullptr);
    const int32_t order[] = {7, 2, 55, 40, 0};  // made out of order
    const int32_t sorted[] = {0, 2, 7, 40, 55};
    for (int32_t number : order) ASSERT_NE(Catch(number, image), nullptr);
    for (size_t i = 0; i < expected.size(); ++i) expected[i] = SoundEntryFind(sorted[i]);
    expected.push_back(device);
    EXPECT_EQ(SoundLayer.table.capacity, 65);
    SoundShutdown();
    EXPECT_EQ(released, expected);
    for (int32_t number : sorted) EXPECT_EQ(SoundEntryFind(number), nullptr);
    EXPECT_EQ(SoundLayer.device, nullptr);
    EXPECT_EQ(PlatformModuleLoadCount("DSOUND.DLL"), 0);
}

TEST_F(SoundPlaybackTest, ReplacingANumberReleasesItsOldSound) {
    ASSERT_NE(SoundInit(), 0);
    const std::vector<int16_t> first = Values(50, 1, 3000);
    const std::vector<int16_t> second = Values(80, 2, 3000);
    IDirectSoundBuffer* old = Catch(3, Sound16(first));
    ASSERT_NE(old, nullptr);
    ASSERT_EQ(SoundPlay(3, 1), DS_OK);  // even a playing sound is replaced
    IDirectSoundBuffer* replacement = Catch(3, Sound16(second));
    ASSERT_NE(replacement, nullptr);
    EXPECT_EQ(released, std::vector<const void*>{old});
    EXPECT_EQ(SoundEntryFind(3), replacement);
    EXPECT_EQ(PlatformSoundBufferCount(), 1);
    EXPECT_EQ(Render(10), std::vector<int16_t>(10, 0)) << "the old sound went silent";
    ASSERT_EQ(SoundPlay(3, 0), DS_OK);
    EXPECT_EQ(Render(90), Slice(second, 0, 90));
}

TEST_F(SoundPlaybackTest, FailedCatchKeepsTheOldSound) {
    ASSERT_NE(SoundInit(), 0);
    const std::vector<int16_t> kept = Values(40, 3, 2000);
    IDirectSoundBuffer* buffer = Catch(3, Sound16(kept));
    ASSERT_NE(buffer, nullptr);
    std::vector<uint8_t> notRiff = Sound16(kept);
    notRiff[0] = 'X';
    std::vector<uint8_t> cutShort = Sound16(Values(40, 4, 2000));
    cutShort.pop_back();
    struct Case {
        const char* name;
        std::vector<uint8_t> image;
    };
    const Case cases[] = {
        {"not RIFF", notRiff},
        {"cut short", cutShort},
        {"a format the device refuses", Wave(FormatBytes(Format{1, 1, 22050, 24}), {{"data", Samples(30)}})},
        {"no samples", Wave(FormatBytes(Format{}), {{"data", {}}})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Catch(3, c.image), nullptr) << c.name;
        EXPECT_EQ(SoundEntryFind(3), buffer) << c.name;
        EXPECT_EQ(PlatformSoundBufferCount(), 1) << c.name << ": nothing made is kept";
    }
    EXPECT_EQ(SoundCatch(3, nullptr), nullptr);
    // Negative numbers hold no sound; the buffer made for one is let go.
    EXPECT_EQ(Catch(-1, Sound16(kept)), nullptr);
    EXPECT_EQ(PlatformSoundBufferCount(), 1);
    EXPECT_TRUE(released.size() == 1 && released[0] != buffer);
    ASSERT_EQ(SoundPlay(3, 0), DS_OK);
    EXPECT_EQ(Render(40), kept);
}

TEST_F(SoundPlaybackTest, TheSamplesComeOutUnchanged) {
    ASSERT_NE(SoundInit(), 0);
    const std::vector<int16_t> values = Values(kDemoSampleBytes / 2, 5, 32767);
    // The two-argument form reads the same sound from the same image.
    const std::vector<uint8_t> image = Sound16(values);
    ASSERT_NE(SoundCatch(0, image.data()), nullptr);
    ASSERT_EQ(SoundPlay(0, 0), DS_OK);
    EXPECT_EQ(Render(static_cast<DWORD>(values.size() + 100)), Slice(values, 0, values.size() + 100));
}

TEST_F(SoundPlaybackTest, PlayRestartsFromTheFirstSampleAndAgainAfterTheEnd) {
    ASSERT_NE(SoundInit(), 0);
    const std::vector<int16_t> values = Values(300, 6, 20000);
    ASSERT_NE(Catch(0, Sound16(values)), nullptr);
    ASSERT_EQ(SoundPlay(0, 0), DS_OK);
    EXPECT_EQ(Render(120), Slice(values, 0, 120));
    ASSERT_EQ(SoundPlay(0, 0), DS_OK);  // cut off and started again
    EXPECT_EQ(Render(400), Slice(values, 0, 400));
    DWORD status = 1;
    ASSERT_EQ(SoundEntryFind(0)->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, 0u) << "a sound played once stops at its end";
    ASSERT_EQ(SoundPlay(0, 0), DS_OK);
    EXPECT_EQ(Render(400), Slice(values, 0, 400));
}

TEST_F(SoundPlaybackTest, AnyNonzeroFlagsLoop) {
    ASSERT_NE(SoundInit(), 0);
    const std::vector<int16_t> values = Values(64, 7, 20000);
    ASSERT_NE(Catch(0, Sound16(values)), nullptr);
    for (uint32_t flags : {1u, 2u, 5u, 0x80000000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(flags);
        ASSERT_EQ(SoundPlay(0, flags), DS_OK);
        const std::vector<int16_t> out = Render(64 * 3 + 10);
        for (size_t i = 0; i < out.size(); ++i) ASSERT_EQ(out[i], values[i % 64]) << "frame " << i;
        DWORD status = 0;
        ASSERT_EQ(SoundEntryFind(0)->GetStatus(&status), DS_OK);
        EXPECT_EQ(status, static_cast<DWORD>(DSBSTATUS_PLAYING | DSBSTATUS_LOOPING));
    }
    // Flags 0 plays once, from the start, even after looping.
    ASSERT_EQ(SoundPlay(0, 0), DS_OK);
    EXPECT_EQ(Render(100), Slice(values, 0, 100));
}

TEST_F(SoundPlaybackTest, NumbersWithoutASoundDoNothing) {
    ASSERT_NE(SoundInit(), 0);
    const std::vector<int16_t> values = Values(50, 8, 1000);
    ASSERT_NE(Catch(1, Sound16(values)), nullptr);
    for (int32_t number : {0, 2, 50, 51, 1000, -1}) EXPECT_EQ(SoundPlay(number, 0), 0) << number;
    EXPECT_EQ(Render(10), std::vector<int16_t>(10, 0));
    EXPECT_EQ(SoundLayer.table.capacity, 50);
}

TEST_F(SoundPlaybackTest, OverlappingSoundsAddAndClip) {
    ASSERT_NE(SoundInit(), 0);
    const std::vector<int16_t> a = Values(200, 9, 30000);
    const std::vector<int16_t> b = Values(150, 10, 30000);
    ASSERT_NE(Catch(0, Sound16(a)), nullptr);
    ASSERT_NE(Catch(1, Sound16(b)), nullptr);
    ASSERT_EQ(SoundPlay(0, 0), DS_OK);
    std::vector<int16_t> out = Render(30);
    ASSERT_EQ(SoundPlay(1, 0), DS_OK);
    const std::vector<int16_t> rest = Render(220);
    out.insert(out.end(), rest.begin(), rest.end());
    int clipped = 0;
    for (size_t t = 0; t < out.size(); ++t) {
        int32_t sum = (t < a.size() ? a[t] : 0) + (t >= 30 && t - 30 < b.size() ? b[t - 30] : 0);
        if (sum > 32767 || sum < -32768) ++clipped;
        ASSERT_EQ(out[t], std::clamp(sum, -32768, 32767)) << "frame " << t;
    }
    EXPECT_GT(clipped, 0) << "the case should exercise clipping";
}

// The demo's use: 64 copies of an 87682-byte 16-bit mono sound at 22050 Hz,
// started one after another and all overlapping. Every output frame is the
// exact sum of the copies sounding at that moment: no copy drops out.
TEST_F(SoundPlaybackTest, SixtyFourOverlappingCopiesMixCompletely) {
    ASSERT_NE(SoundInit(), 0);
    const std::vector<int16_t> values = Values(kDemoSampleBytes / 2, 11, 400);
    const std::vector<uint8_t> image = Sound16(values);
    ASSERT_EQ(image.size(), 44u + kDemoSampleBytes);
    for (int32_t n = 0; n < 64; ++n) ASSERT_NE(Catch(n, image), nullptr);
    EXPECT_EQ(SoundLayer.table.capacity, 70);
    constexpr size_t kGap = 512;  // frames between starts: all 64 overlap
    const size_t total = 63 * kGap + values.size() + 1000;
    std::vector<int16_t> out;
    for (int32_t n = 0; n < 64; ++n) {
        ASSERT_EQ(SoundPlay(n, 0), DS_OK);
        const std::vector<int16_t> block = Render(static_cast<DWORD>(kGap));
        out.insert(out.end(), block.begin(), block.end());
    }
    const std::vector<int16_t> rest = Render(static_cast<DWORD>(total - out.size()));
    out.insert(out.end(), rest.begin(), rest.end());
    for (size_t t = 0; t < out.size(); ++t) {
        int32_t sum = 0;
        for (size_t n = 0; n < 64; ++n) {
            const size_t start = n * kGap;
            if (t >= start && t - start < values.size()) sum += values[t - start];
        }
        ASSERT_EQ(out[t], sum) << "frame " << t;
    }
    EXPECT_EQ(PlatformSoundBufferCount(), 64);
}

}  // namespace
