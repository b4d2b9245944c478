// The native DirectSound stand-in: device creation, buffer rules, Lock
// regions, playback state and the mixer's output heard in memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <dsound.h>

#include "testing.h"

namespace {

WAVEFORMATEX Pcm(WORD channels, DWORD rate, WORD bits) {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = channels;
    format.nSamplesPerSec = rate;
    format.wBitsPerSample = bits;
    format.nBlockAlign = static_cast<WORD>(channels * bits / 8);
    format.nAvgBytesPerSec = rate * format.nBlockAlign;
    return format;
}

std::vector<uint8_t> Bytes16(const std::vector<int16_t>& values) {
    std::vector<uint8_t> bytes(values.size() * 2);
    std::memcpy(bytes.data(), values.data(), bytes.size());
    return bytes;
}

class MemoryDevice {
public:
    MemoryDevice(DWORD rate, WORD channels) : channels_(channels) {
        PlatformSoundUseMemoryOutput(rate, channels);
        result_ = DirectSoundCreate(nullptr, &device_, nullptr);
    }
    ~MemoryDevice() {
        for (IDirectSoundBuffer* buffer : buffers_) buffer->Release();
        if (device_ != nullptr) device_->Release();
        PlatformSoundUseMemoryOutput(22050, 1);
    }
    HRESULT Result() const { return result_; }
    IDirectSound* Device() { return device_; }

    IDirectSoundBuffer* Buffer(const WAVEFORMATEX& format, const std::vector<uint8_t>& content) {
        WAVEFORMATEX copy = format;
        DSBUFFERDESC description{};
        description.dwSize = sizeof(DSBUFFERDESC1);
        description.dwFlags = DSBCAPS_CTRLVOLUME | DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2;
        description.dwBufferBytes = static_cast<DWORD>(content.size());
        description.lpwfxFormat = &copy;
        IDirectSoundBuffer* buffer = nullptr;
        EXPECT_EQ(device_->CreateSoundBuffer(&description, &buffer, nullptr), DS_OK);
        if (buffer == nullptr) return nullptr;
        LPVOID region1 = nullptr;
        DWORD bytes1 = 0;
        EXPECT_EQ(buffer->Lock(0, 0, &region1, &bytes1, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
        std::memcpy(region1, content.data(), content.size());
        EXPECT_EQ(buffer->Unlock(region1, bytes1, nullptr, 0), DS_OK);
        buffers_.push_back(buffer);
        return buffer;
    }

    std::vector<int16_t> Render(DWORD frames) {
        std::vector<int16_t> out(static_cast<size_t>(frames) * channels_, 12345);
        EXPECT_TRUE(PlatformSoundRender(out.data(), frames));
        return out;
    }

private:
    WORD channels_;
    HRESULT result_ = E_FAIL;
    IDirectSound* device_ = nullptr;
    std::vector<IDirectSoundBuffer*> buffers_;
};

std::vector<int16_t> Silence(size_t samples) { return std::vector<int16_t>(samples, 0); }

std::vector<int16_t> Join(std::vector<int16_t> a, const std::vector<int16_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(SoundDevice, CreationRules) {
    IDirectSound* device = reinterpret_cast<IDirectSound*>(1);
    PlatformSoundUseNoOutput();
    EXPECT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DSERR_NODRIVER);
    EXPECT_EQ(device, nullptr);
    PlatformSoundUseMemoryOutput(22050, 1);
    EXPECT_EQ(DirectSoundCreate(nullptr, nullptr, nullptr), DSERR_INVALIDPARAM);
    GUID other = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    EXPECT_EQ(DirectSoundCreate(&other, &device, nullptr), DSERR_NODRIVER);
    EXPECT_EQ(DirectSoundCreate(nullptr, &device, reinterpret_cast<LPUNKNOWN>(&other)), DSERR_NOAGGREGATION);
    EXPECT_EQ(device, nullptr);

    const int devices = PlatformSoundDeviceCount();
    ASSERT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DS_OK);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(PlatformSoundDeviceCount(), devices + 1);
    EXPECT_EQ(device->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DSERR_INVALIDPARAM);
    const HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x100));
    EXPECT_EQ(device->SetCooperativeLevel(window, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(device->SetCooperativeLevel(window, 5), DSERR_INVALIDPARAM);
    for (DWORD level : {DSSCL_NORMAL, DSSCL_PRIORITY, DSSCL_EXCLUSIVE, DSSCL_WRITEPRIMARY})
        EXPECT_EQ(device->SetCooperativeLevel(window, level), DS_OK) << level;
    EXPECT_EQ(device->AddRef(), 2u);
    EXPECT_EQ(device->Release(), 1u);
    EXPECT_EQ(PlatformSoundDeviceCount(), devices + 1);
    EXPECT_EQ(device->Release(), 0u);
    EXPECT_EQ(PlatformSoundDeviceCount(), devices);
}

TEST(SoundDevice, BufferDescriptionsAndFormats) {
    MemoryDevice sound(22050, 1);
    ASSERT_EQ(sound.Result(), DS_OK);
    struct Case {
        const char* name;
        DWORD size;
        DWORD flags;
        DWORD bytes;
        WAVEFORMATEX format;
        bool noFormat;
        HRESULT result;
    };
    const WAVEFORMATEX mono16 = Pcm(1, 22050, 16);
    WAVEFORMATEX badAlign = mono16;
    badAlign.nBlockAlign = 4;
    WAVEFORMATEX notPcm = mono16;
    notPcm.wFormatTag = 3;
    const Case cases[] = {
        {"first form", sizeof(DSBUFFERDESC1), 0, 100, mono16, false, DS_OK},
        {"full form", sizeof(DSBUFFERDESC), 0, 100, mono16, false, DS_OK},
        {"smallest", sizeof(DSBUFFERDESC1), 0, DSBSIZE_MIN, mono16, false, DS_OK},
        {"odd size", sizeof(DSBUFFERDESC1), 0, 101, mono16, false, DS_OK},
        {"every control the layer asks for", sizeof(DSBUFFERDESC1), 0x180E0, 100, mono16, false, DS_OK},
        {"8-bit stereo", sizeof(DSBUFFERDESC1), 0, 100, Pcm(2, 8000, 8), false, DS_OK},
        {"16-bit stereo at 96 kHz", sizeof(DSBUFFERDESC1), 0, 100, Pcm(2, 96000, 16), false, DS_OK},
        {"wrong dwSize", 16, 0, 100, mono16, false, DSERR_INVALIDPARAM},
        {"no format", sizeof(DSBUFFERDESC1), 0, 100, mono16, true, DSERR_INVALIDPARAM},
        {"too small", sizeof(DSBUFFERDESC1), 0, DSBSIZE_MIN - 1, mono16, false, DSERR_INVALIDPARAM},
        {"empty", sizeof(DSBUFFERDESC1), 0, 0, mono16, false, DSERR_INVALIDPARAM},
        {"too large", sizeof(DSBUFFERDESC1), 0, DSBSIZE_MAX + 1, mono16, false, DSERR_INVALIDPARAM},
        {"24-bit", sizeof(DSBUFFERDESC1), 0, 100, Pcm(1, 22050, 24), false, DSERR_BADFORMAT},
        {"three channels", sizeof(DSBUFFERDESC1), 0, 100, Pcm(3, 22050, 16), false, DSERR_BADFORMAT},
        {"block alignment off", sizeof(DSBUFFERDESC1), 0, 100, badAlign, false, DSERR_BADFORMAT},
        {"rate too low", sizeof(DSBUFFERDESC1), 0, 100, Pcm(1, 50, 16), false, DSERR_BADFORMAT},
        {"not PCM", sizeof(DSBUFFERDESC1), 0, 100, notPcm, false, DSERR_BADFORMAT},
        {"primary buffer", sizeof(DSBUFFERDESC1), DSBCAPS_PRIMARYBUFFER, 0, mono16, true, DSERR_UNSUPPORTED},
    };
    for (const Case& c : cases) {
        WAVEFORMATEX format = c.format;
        DSBUFFERDESC description{};
        description.dwSize = c.size;
        description.dwFlags = c.flags;
        description.dwBufferBytes = c.bytes;
        description.lpwfxFormat = c.noFormat ? nullptr : &format;
        IDirectSoundBuffer* buffer = reinterpret_cast<IDirectSoundBuffer*>(1);
        EXPECT_EQ(sound.Device()->CreateSoundBuffer(&description, &buffer, nullptr), c.result) << c.name;
        if (c.result != DS_OK) {
            EXPECT_EQ(buffer, nullptr) << c.name;
            continue;
        }
        ASSERT_NE(buffer, nullptr) << c.name;
        DSBCAPS caps{};
        caps.dwSize = sizeof(caps);
        EXPECT_EQ(buffer->GetCaps(&caps), DS_OK);
        EXPECT_EQ(caps.dwBufferBytes, c.bytes) << c.name;
        EXPECT_EQ(caps.dwFlags & c.flags, c.flags) << c.name;
        WAVEFORMATEX got{};
        DWORD written = 0;
        EXPECT_EQ(buffer->GetFormat(&got, sizeof(got), &written), DS_OK);
        EXPECT_EQ(got.nSamplesPerSec, c.format.nSamplesPerSec) << c.name;
        EXPECT_EQ(got.nChannels, c.format.nChannels) << c.name;
        EXPECT_EQ(got.wBitsPerSample, c.format.wBitsPerSample) << c.name;
        DWORD status = 99;
        EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
        EXPECT_EQ(status, 0u) << "a new buffer is stopped";
        EXPECT_EQ(buffer->Release(), 0u);
    }
    WAVEFORMATEX format = mono16;
    DSBUFFERDESC description{};
    description.dwSize = sizeof(DSBUFFERDESC1);
    description.dwBufferBytes = 100;
    description.lpwfxFormat = &format;
    IDirectSoundBuffer* buffer = nullptr;
    EXPECT_EQ(sound.Device()->CreateSoundBuffer(&description, &buffer, reinterpret_cast<LPUNKNOWN>(&format)),
              DSERR_NOAGGREGATION);
    EXPECT_EQ(sound.Device()->CreateSoundBuffer(nullptr, &buffer, nullptr), DSERR_INVALIDPARAM);
    EXPECT_EQ(sound.Device()->CreateSoundBuffer(&description, nullptr, nullptr), DSERR_INVALIDPARAM);
}

TEST(SoundBuffer, LockRegions) {
    MemoryDevice sound(22050, 1);
    IDirectSoundBuffer* buffer = sound.Buffer(Pcm(1, 22050, 16), std::vector<uint8_t>(10, 0));
    ASSERT_NE(buffer, nullptr);
    struct Case {
        DWORD offset, bytes, flags;
        HRESULT result;
        DWORD at1, bytes1, bytes2;  // region 1's offset; region 2 starts at 0
    };
    const Case cases[] = {
        {0, 10, 0, DS_OK, 0, 10, 0},         {2, 4, 0, DS_OK, 2, 4, 0},
        {6, 8, 0, DS_OK, 6, 4, 4},           {9, 10, 0, DS_OK, 9, 1, 9},
        {4, 0, DSBLOCK_ENTIREBUFFER, DS_OK, 4, 6, 4},
        {10, 1, 0, DSERR_INVALIDPARAM, 0, 0, 0}, {0, 11, 0, DSERR_INVALIDPARAM, 0, 0, 0},
        {0, 0, 0, DSERR_INVALIDPARAM, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "offset " << c.offset << " bytes " << c.bytes);
        LPVOID region1 = nullptr;
        LPVOID region2 = reinterpret_cast<LPVOID>(1);
        DWORD bytes1 = 77;
        DWORD bytes2 = 77;
        ASSERT_EQ(buffer->Lock(c.offset, c.bytes, &region1, &bytes1, &region2, &bytes2, c.flags), c.result);
        if (c.result != DS_OK) continue;
        LPVOID start = nullptr;
        DWORD all = 0;
        ASSERT_EQ(buffer->Lock(0, 10, &start, &all, nullptr, nullptr, 0), DS_OK);
        EXPECT_EQ(static_cast<uint8_t*>(region1), static_cast<uint8_t*>(start) + c.at1);
        EXPECT_EQ(bytes1, c.bytes1);
        EXPECT_EQ(bytes2, c.bytes2);
        EXPECT_EQ(region2, c.bytes2 == 0 ? nullptr : start);
        EXPECT_EQ(buffer->Unlock(region1, bytes1, region2, bytes2), DS_OK);
        EXPECT_EQ(buffer->Unlock(start, all, nullptr, 0), DS_OK);
    }
    int outside[4];
    EXPECT_EQ(buffer->Unlock(outside, 4, nullptr, 0), DSERR_INVALIDPARAM);
}

// One buffer at the output's own rate: each PCM format converted to the
// output's channels without any resampling.
struct Conversion {
    const char* name;
    WORD bits, inChannels, outChannels;
    std::vector<uint8_t> input;
    std::vector<int16_t> output;
};

std::vector<Conversion> Conversions() {
    const std::vector<int16_t> mono = {0, 1, -1, 32767, -32768, 1234, -4321, 7};
    const std::vector<int16_t> stereo = {100, -100, 32767, -32768, 5, 8, -7, 2};
    return {
        {"16-bit mono", 16, 1, 1, Bytes16(mono), mono},
        {"16-bit mono to stereo", 16, 1, 2, Bytes16(mono),
         {0, 0, 1, 1, -1, -1, 32767, 32767, -32768, -32768, 1234, 1234, -4321, -4321, 7, 7}},
        {"16-bit stereo", 16, 2, 2, Bytes16(stereo), stereo},
        {"16-bit stereo to mono", 16, 2, 1, Bytes16(stereo), {0, 0, 6, -2}},
        {"8-bit mono", 8, 1, 1, {0, 64, 128, 129, 255}, {-32768, -16384, 0, 256, 32512}},
        {"8-bit stereo", 8, 2, 2, {0, 255, 128, 127}, {-32768, 32512, 0, -256}},
        {"8-bit stereo to mono", 8, 2, 1, {0, 255, 100, 160}, {-128, 512}},
    };
}

TEST(SoundMixer, FormatsPassUnchangedAtTheOutputRate) {
    for (const Conversion& c : Conversions()) {
        SCOPED_TRACE(c.name);
        for (DWORD rate : {8000u, 22050u, 44100u}) {
            MemoryDevice sound(rate, c.outChannels);
            IDirectSoundBuffer* buffer = sound.Buffer(Pcm(c.inChannels, rate, c.bits), c.input);
            ASSERT_NE(buffer, nullptr);
            ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
            const DWORD frames = static_cast<DWORD>(c.output.size() / c.outChannels);
            EXPECT_EQ(sound.Render(frames + 3), Join(c.output, Silence(3u * c.outChannels))) << rate;
        }
    }
}

TEST(SoundMixer, ResamplesToTheOutputRate) {
    {
        // Half the output rate: every other output frame lies halfway.
        MemoryDevice sound(22050, 1);
        IDirectSoundBuffer* buffer = sound.Buffer(Pcm(1, 11025, 16), Bytes16({0, 1000, -2000, 4000}));
        ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
        EXPECT_EQ(sound.Render(10), (std::vector<int16_t>{0, 500, 1000, -500, -2000, 1000, 4000, 4000, 0, 0}));
    }
    {
        // Twice the output rate: every other input frame.
        MemoryDevice sound(22050, 2);
        IDirectSoundBuffer* buffer = sound.Buffer(Pcm(1, 44100, 16), Bytes16({1, 2, 3, 4, 5, 6}));
        ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
        EXPECT_EQ(sound.Render(4), (std::vector<int16_t>{1, 1, 3, 3, 5, 5, 0, 0}));
    }
    // A second of sound lasts a second at any output rate.
    struct Rates {
        DWORD in, out;
    };
    for (const Rates rates : {Rates{22050, 44100}, Rates{22050, 48000}, Rates{44100, 22050}, Rates{8000, 44100},
                              Rates{48000, 44100}}) {
        SCOPED_TRACE(testing::Message() << rates.in << " Hz into " << rates.out << " Hz");
        MemoryDevice sound(rates.out, 1);
        IDirectSoundBuffer* buffer =
            sound.Buffer(Pcm(1, rates.in, 16), Bytes16(std::vector<int16_t>(rates.in, 1000)));
        ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
        const std::vector<int16_t> out = sound.Render(rates.out + 100);
        const auto firstSilent = std::find(out.begin(), out.end(), 0) - out.begin();
        EXPECT_NEAR(static_cast<double>(firstSilent), rates.out, 1.0);
        EXPECT_TRUE(std::all_of(out.begin(), out.begin() + firstSilent, [](int16_t s) { return s == 1000; }));
        EXPECT_TRUE(std::all_of(out.begin() + firstSilent, out.end(), [](int16_t s) { return s == 0; }));
    }
}

TEST(SoundMixer, OverlappingBuffersAddAndClip) {
    MemoryDevice sound(22050, 2);
    IDirectSoundBuffer* a = sound.Buffer(Pcm(1, 22050, 16), Bytes16({30000, -30000, 100, 5, 20000}));
    IDirectSoundBuffer* b = sound.Buffer(Pcm(2, 22050, 16), Bytes16({10000, 2767, -10000, -2768, -100, 0, 5, -5}));
    IDirectSoundBuffer* c = sound.Buffer(Pcm(1, 22050, 8), {128 + 64, 128, 128, 128});
    ASSERT_EQ(a->Play(0, 0, 0), DS_OK);
    ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
    ASSERT_EQ(c->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(sound.Render(6), (std::vector<int16_t>{32767, 32767, -32768, -32768, 0, 100, 10, 0, 20000, 20000, 0, 0}));
}

TEST(SoundBuffer, PlayStopPositionAndLooping) {
    MemoryDevice sound(22050, 1);
    IDirectSoundBuffer* buffer = sound.Buffer(Pcm(1, 22050, 16), Bytes16({1, 2, 3}));
    DWORD status = 0;
    DWORD play = 0;
    DWORD write = 0;
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, static_cast<DWORD>(DSBSTATUS_PLAYING | DSBSTATUS_LOOPING));
    EXPECT_EQ(sound.Render(7), (std::vector<int16_t>{1, 2, 3, 1, 2, 3, 1}));
    EXPECT_EQ(buffer->GetCurrentPosition(&play, &write), DS_OK);
    EXPECT_EQ(play, 2u);
    // Stopping keeps the position; playing once resumes from it to the end.
    ASSERT_EQ(buffer->Stop(), DS_OK);
    EXPECT_EQ(sound.Render(2), (std::vector<int16_t>{0, 0}));
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, static_cast<DWORD>(DSBSTATUS_PLAYING));
    EXPECT_EQ(sound.Render(4), (std::vector<int16_t>{2, 3, 0, 0}));
    EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, 0u) << "played once, it stops by itself at its end";
    // Positions are bytes, rounded down to whole frames.
    ASSERT_EQ(buffer->SetCurrentPosition(3), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(sound.Render(3), (std::vector<int16_t>{2, 3, 0}));
    EXPECT_EQ(buffer->SetCurrentPosition(6), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Play(1, 0, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->GetStatus(nullptr), DSERR_INVALIDPARAM);
}

TEST(SoundBuffer, ReleaseSilencesAPlayingBuffer) {
    MemoryDevice sound(22050, 1);
    static std::vector<const void*> released;
    released.clear();
    PlatformSoundOnRelease([](const void* object) { released.push_back(object); });
    const int buffers = PlatformSoundBufferCount();
    WAVEFORMATEX format = Pcm(1, 22050, 16);
    DSBUFFERDESC description{};
    description.dwSize = sizeof(DSBUFFERDESC1);
    description.dwBufferBytes = 8;
    description.lpwfxFormat = &format;
    IDirectSoundBuffer* buffer = nullptr;
    ASSERT_EQ(sound.Device()->CreateSoundBuffer(&description, &buffer, nullptr), DS_OK);
    EXPECT_EQ(PlatformSoundBufferCount(), buffers + 1);
    LPVOID region = nullptr;
    DWORD bytes = 0;
    ASSERT_EQ(buffer->Lock(0, 8, &region, &bytes, nullptr, nullptr, 0), DS_OK);
    EXPECT_EQ(std::vector<uint8_t>(static_cast<uint8_t*>(region), static_cast<uint8_t*>(region) + 8),
              std::vector<uint8_t>(8, 0))
        << "a new buffer holds silence";
    const std::vector<uint8_t> loud = Bytes16({9000, 9000, 9000, 9000});
    std::memcpy(region, loud.data(), 8);
    buffer->Unlock(region, bytes, nullptr, 0);
    buffer->Play(0, 0, DSBPLAY_LOOPING);
    EXPECT_EQ(sound.Render(2), (std::vector<int16_t>{9000, 9000}));
    void* same = nullptr;
    const GUID unknown = {0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    ASSERT_EQ(buffer->QueryInterface(unknown, &same), S_OK);
    EXPECT_EQ(same, static_cast<void*>(buffer));
    EXPECT_EQ(buffer->Release(), 1u);
    EXPECT_TRUE(released.empty());
    EXPECT_EQ(buffer->Release(), 0u);
    EXPECT_EQ(released, std::vector<const void*>{buffer});
    EXPECT_EQ(PlatformSoundBufferCount(), buffers);
    EXPECT_EQ(sound.Render(2), (std::vector<int16_t>{0, 0}));
    PlatformSoundOnRelease(nullptr);
}

// The system output through SDL2, with SDL's driver chosen by its
// environment variable: the dummy driver plays without sound hardware, an
// unknown driver stands for a machine without any output.
TEST(SoundSystemOutput, PlaysThroughSdlOrFailsWithoutAnOutput) {
    const char* saved = std::getenv("SDL_AUDIODRIVER");
    const std::string before = saved != nullptr ? saved : "";
    PlatformSoundUseSystemOutput();

    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    IDirectSound* device = nullptr;
    EXPECT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DSERR_NODRIVER);
    EXPECT_EQ(device, nullptr);

    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DS_OK);
    ASSERT_NE(device, nullptr);
    int16_t probe = 0;
    EXPECT_FALSE(PlatformSoundRender(&probe, 1)) << "the system output is not rendered by tests";
    WAVEFORMATEX format = Pcm(1, 22050, 16);
    DSBUFFERDESC description{};
    description.dwSize = sizeof(DSBUFFERDESC1);
    description.dwBufferBytes = 2 * 2205;  // a tenth of a second
    description.lpwfxFormat = &format;
    IDirectSoundBuffer* buffer = nullptr;
    ASSERT_EQ(device->CreateSoundBuffer(&description, &buffer, nullptr), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    // SDL's audio thread runs the mixer: the sound ends by itself.
    DWORD status = DSBSTATUS_PLAYING;
    for (int i = 0; i < 500 && status != 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        buffer->GetStatus(&status);
    }
    EXPECT_EQ(status, 0u);
    buffer->Release();
    device->Release();

    if (saved != nullptr)
        setenv("SDL_AUDIODRIVER", before.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
    PlatformSoundUseMemoryOutput(22050, 1);
}

}  // namespace
