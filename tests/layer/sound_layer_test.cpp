// The sound layer on either target: the device steps, SoundWindow, the
// SoundTable and playback of numbered sounds. Where the platform has no
// sound device (Wine without a sound card), the cases check that the layer
// runs silent instead: nothing is made and nothing is played.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "sound/sound.h"
#include "sound_images.h"
#include "support/main_heap.h"

namespace {

using namespace sound_images;

class SoundLayerTest : public MainHeapTest {
protected:
    void SetUp() override {
        MainHeapTest::SetUp();
        ResetLayer();
    }
    void TearDown() override {
        SoundShutdown();
        ResetLayer();
        MainHeapTest::TearDown();
    }
    // The layer's state as at program start, except SoundWindow, which the
    // layer makes once per process.
    static void ResetLayer() {
        const HWND window = SoundLayer.window;
        const bool windowCreated = SoundLayer.windowCreated;
        SoundLayer = SoundState{};
        SoundLayer.window = window;
        SoundLayer.windowCreated = windowCreated;
    }
    static bool TableIsEmpty() {
        for (int32_t n = 0; n <= SoundLayer.table.capacity; ++n)
            if (SoundLayer.table.entries[n] != nullptr) return false;
        return true;
    }
};

TEST_F(SoundLayerTest, InitMakesTableWindowAndDeviceOrReportsWhichIsMissing) {
    const int32_t ready = SoundInit();
    EXPECT_EQ(SoundLayer.table.capacity, 50);
    ASSERT_NE(SoundLayer.table.entries, nullptr);
    EXPECT_TRUE(TableIsEmpty());
    EXPECT_EQ(HeapSize(MainHeap, 0, SoundLayer.table.entries), 51 * sizeof(IDirectSoundBuffer*));
    for (int32_t number : {0, 50, 51}) EXPECT_EQ(SoundEntryFind(number), nullptr) << number;

    EXPECT_TRUE(SoundLayer.windowCreated);
    EXPECT_TRUE(IsWindow(SoundLayer.window));
    // Both targets have the library and its entry; whether a device comes
    // out depends on the sound hardware.
    EXPECT_NE(SoundLayer.library, nullptr);
    EXPECT_NE(SoundLayer.create, nullptr);
    if (ready != 0)
        EXPECT_NE(SoundLayer.device, nullptr);
    else
        EXPECT_EQ(SoundLayer.device, nullptr) << "only DirectSoundCreate can fail here";
}

TEST_F(SoundLayerTest, SoundWindowIsAHiddenPopupOfItsOwnClass) {
    SoundInit();
    ASSERT_TRUE(SoundLayer.windowCreated);
    const HWND window = SoundLayer.window;
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    EXPECT_STREQ(name, "MultimediaBase Class");
    EXPECT_FALSE(IsWindowVisible(window));
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU), static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(style & WS_VISIBLE, 0u);
    EXPECT_EQ(GetParent(window), nullptr);
    char title[16] = "x";
    EXPECT_EQ(GetWindowTextA(window, title, sizeof(title)), 0);
    EXPECT_EQ(GetClassLongPtrA(window, GCLP_HBRBACKGROUND), reinterpret_cast<ULONG_PTR>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(GetClassLongPtrA(window, GCL_STYLE), 0u);
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&SoundWindowProc));

    // A second SoundInit keeps the window it made.
    SoundShutdown();
    ResetLayer();
    SoundInit();
    EXPECT_EQ(SoundLayer.window, window);
}

TEST_F(SoundLayerTest, WindowProcedureAnswersPaintEraseAndActivateItself) {
    SoundInit();
    const HWND window = SoundLayer.window;
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ(SendMessageA(window, WM_ERASEBKGND, 0, 0), 1);
    EXPECT_EQ(SendMessageA(window, WM_PAINT, 0, 0), 1);
    EXPECT_EQ(SendMessageA(window, WM_ACTIVATE, WA_ACTIVE, 0), 0);
    EXPECT_EQ(SoundWindowProc(window, WM_ERASEBKGND, 0, 0), 1);
    EXPECT_EQ(SoundWindowProc(window, WM_ACTIVATE, WA_INACTIVE, 0), 0);
    // Everything else is the default procedure's: the empty title, and the
    // text that WM_GETTEXT copies.
    EXPECT_EQ(SoundWindowProc(window, WM_GETTEXTLENGTH, 0, 0), DefWindowProcA(window, WM_GETTEXTLENGTH, 0, 0));
    EXPECT_EQ(SoundWindowProc(window, WM_GETTEXTLENGTH, 0, 0), 0);
    EXPECT_TRUE(SoundWindowProc(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("set")));
    char text[8] = {};
    EXPECT_EQ(SoundWindowProc(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text)), 3);
    EXPECT_STREQ(text, "set");
    SoundWindowProc(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
}

struct Growth {
    int32_t from;      // capacity before
    int32_t number;    // SoundEntryFor's number
    int32_t capacity;  // capacity after
};

class SoundTableGrowthTest : public SoundLayerTest, public ::testing::WithParamInterface<Growth> {};

TEST_P(SoundTableGrowthTest, GrowsToNumberPlusTenKeepingEntries) {
    const Growth growth = GetParam();
    SoundInit();
    if (growth.from != 50) {
        ASSERT_NE(SoundEntryFor(growth.from - 10), nullptr);
    }
    ASSERT_EQ(SoundLayer.table.capacity, growth.from);
    // Marks in every entry; they are not buffers and are cleared again
    // before SoundShutdown could release them.
    std::vector<IDirectSoundBuffer*> marks;
    for (int32_t n = 0; n <= growth.from; ++n) {
        marks.push_back(reinterpret_cast<IDirectSoundBuffer*>(static_cast<uintptr_t>(0x1000 + 16 * n)));
        SoundLayer.table.entries[n] = marks.back();
    }
    IDirectSoundBuffer** entry = SoundEntryFor(growth.number);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(SoundLayer.table.capacity, growth.capacity);
    EXPECT_EQ(entry, &SoundLayer.table.entries[growth.number]);
    EXPECT_EQ(HeapSize(MainHeap, 0, SoundLayer.table.entries),
              static_cast<SIZE_T>(growth.capacity + 1) * sizeof(IDirectSoundBuffer*));
    for (int32_t n = 0; n <= growth.capacity; ++n) {
        IDirectSoundBuffer* expected = n <= growth.from ? marks[static_cast<size_t>(n)] : nullptr;
        EXPECT_EQ(SoundLayer.table.entries[n], expected) << "entry " << n;
    }
    for (int32_t n = 0; n <= SoundLayer.table.capacity; ++n) SoundLayer.table.entries[n] = nullptr;
}

INSTANTIATE_TEST_SUITE_P(Numbers, SoundTableGrowthTest,
                         ::testing::Values(Growth{50, 0, 50}, Growth{50, 49, 50}, Growth{50, 50, 60},
                                           Growth{50, 63, 73}, Growth{60, 59, 60}, Growth{60, 60, 70},
                                           Growth{60, 63, 73}, Growth{50, 1000, 1010}));

TEST_F(SoundLayerTest, NumbersZeroToSixtyThreeLeaveCapacitySeventy) {
    SoundInit();
    for (int32_t n = 0; n <= 63; ++n) ASSERT_NE(SoundEntryFor(n), nullptr);
    EXPECT_EQ(SoundLayer.table.capacity, 70);
}

TEST_F(SoundLayerTest, NumbersOutsideTheTableHoldNoSound) {
    SoundInit();
    IDirectSoundBuffer* mark = reinterpret_cast<IDirectSoundBuffer*>(static_cast<uintptr_t>(0x2000));
    SoundLayer.table.entries[50] = mark;
    EXPECT_EQ(SoundEntryFind(50), mark);  // capacity itself addresses an entry
    SoundLayer.table.entries[50] = nullptr;
    for (int32_t number : {-1, -50, 51, 52, 1000, INT32_MAX, INT32_MIN}) {
        EXPECT_EQ(SoundEntryFind(number), nullptr) << number;
        SoundEntryRelease(number);  // nothing to release
        EXPECT_EQ(SoundPlay(number, 0), 0) << number;
    }
    EXPECT_EQ(SoundEntryFor(-1), nullptr);
    EXPECT_EQ(SoundEntryFor(INT32_MAX), nullptr);
    EXPECT_EQ(SoundLayer.table.capacity, 50);
    EXPECT_TRUE(TableIsEmpty());
}

TEST_F(SoundLayerTest, ShutdownIsSafeWithNothingMadeAndTwice) {
    SoundShutdown();
    SoundShutdown();
    EXPECT_EQ(SoundLayer.device, nullptr);
    EXPECT_EQ(SoundLayer.library, nullptr);
    SoundInit();
    SoundShutdown();
    SoundShutdown();
    EXPECT_EQ(SoundLayer.device, nullptr);
    EXPECT_EQ(SoundLayer.library, nullptr);
}

TEST_F(SoundLayerTest, CatchingTheDemoSoundUnderSixtyFourNumbers) {
    const int32_t ready = SoundInit();
    const std::vector<uint8_t> image = DemoWave();
    for (int32_t n = 0; n <= 63; ++n) {
        IDirectSoundBuffer* buffer = SoundCatch(n, image.data(), static_cast<uint32_t>(image.size()));
        if (SoundLayer.device == nullptr) {
            EXPECT_EQ(buffer, nullptr) << "no device, no sound";
            continue;
        }
        ASSERT_NE(buffer, nullptr) << n;
        EXPECT_EQ(SoundEntryFind(n), buffer);
    }
    if (SoundLayer.device == nullptr) {
        // Silent: the table is untouched and playing does nothing.
        EXPECT_EQ(ready, 0);
        EXPECT_EQ(SoundLayer.table.capacity, 50);
        EXPECT_TRUE(TableIsEmpty());
        for (int32_t n = 0; n <= 63; ++n) EXPECT_EQ(SoundPlay(n, 0), 0);
        return;
    }
    EXPECT_EQ(SoundLayer.table.capacity, 70);
    IDirectSoundBuffer* buffer = SoundEntryFind(0);
    DSBCAPS caps{};
    caps.dwSize = sizeof(caps);
    ASSERT_EQ(buffer->GetCaps(&caps), DS_OK);
    EXPECT_EQ(caps.dwBufferBytes, kDemoSampleBytes);
    WAVEFORMATEX format{};
    ASSERT_EQ(buffer->GetFormat(&format, sizeof(format), nullptr), DS_OK);
    EXPECT_EQ(format.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(format.nChannels, 1);
    EXPECT_EQ(format.nSamplesPerSec, 22050u);
    EXPECT_EQ(format.nAvgBytesPerSec, 44100u);
    EXPECT_EQ(format.nBlockAlign, 2);
    EXPECT_EQ(format.wBitsPerSample, 16);
    LPVOID region1 = nullptr;
    LPVOID region2 = nullptr;
    DWORD bytes1 = 0;
    DWORD bytes2 = 0;
    ASSERT_EQ(buffer->Lock(0, kDemoSampleBytes, &region1, &bytes1, &region2, &bytes2, 0), DS_OK);
    ASSERT_EQ(bytes1, kDemoSampleBytes);
    EXPECT_EQ(bytes2, 0u);
    const std::vector<uint8_t> samples = DemoSamples();
    EXPECT_EQ(std::memcmp(region1, samples.data(), samples.size()), 0);
    buffer->Unlock(region1, bytes1, region2, bytes2);
    // Played once or looping, SoundPlay passes Play's result on.
    EXPECT_EQ(SoundPlay(0, 0), DS_OK);
    EXPECT_EQ(SoundPlay(1, 5), DS_OK);
    DWORD status = 0;
    ASSERT_EQ(SoundEntryFind(1)->GetStatus(&status), DS_OK);
    EXPECT_NE(status & DSBSTATUS_LOOPING, 0u);
}

TEST_F(SoundLayerTest, RefusedImagesCreateNothing) {
    SoundInit();
    const std::vector<uint8_t> good = DemoWave();
    std::vector<uint8_t> notRiff = good;
    std::memcpy(notRiff.data(), "RIFX", 4);
    std::vector<uint8_t> listFirst = Wave(FormatBytes(Format{}), {{"data", Samples(64)}});
    std::memcpy(listFirst.data() + 12, "LIST", 4);
    for (const std::vector<uint8_t>* image : {&notRiff, &listFirst}) {
        EXPECT_EQ(SoundCatch(3, image->data()), nullptr);
        EXPECT_EQ(SoundCatch(3, image->data(), static_cast<uint32_t>(image->size())), nullptr);
    }
    EXPECT_EQ(SoundCatch(3, nullptr), nullptr);
    EXPECT_EQ(SoundCatch(3, nullptr, 100), nullptr);
    EXPECT_EQ(SoundCatch(3, good.data(), static_cast<uint32_t>(good.size() - 35)), nullptr);
    EXPECT_EQ(SoundEntryFind(3), nullptr);
    EXPECT_EQ(SoundLayer.table.capacity, 50);
}

}  // namespace
