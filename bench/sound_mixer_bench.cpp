// Mixer benchmark: 64 overlapping copies of the demo's sound (87682 bytes of
// 16-bit mono PCM at 22050 Hz), mixed block by block into memory. Prints the
// time per output block against the block's playing time; a block that
// takes longer than it plays would be a drop-out on the real output.
#include <dsound.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "testing.h"

namespace {

constexpr DWORD kSoundBytes = 87682;
constexpr int kVoices = 64;

void Run(DWORD rate, WORD channels, DWORD blockFrames) {
    PlatformSoundUseMemoryOutput(rate, channels);
    IDirectSound* device = nullptr;
    if (DirectSoundCreate(nullptr, &device, nullptr) != DS_OK) {
        std::printf("no device\n");
        return;
    }
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = 22050;
    format.nAvgBytesPerSec = 44100;
    format.nBlockAlign = 2;
    format.wBitsPerSample = 16;
    DSBUFFERDESC description{};
    description.dwSize = sizeof(DSBUFFERDESC1);
    description.dwFlags = 0x180E0;
    description.dwBufferBytes = kSoundBytes;
    description.lpwfxFormat = &format;
    std::vector<IDirectSoundBuffer*> buffers;
    uint32_t state = 1;
    for (int i = 0; i < kVoices; ++i) {
        IDirectSoundBuffer* buffer = nullptr;
        device->CreateSoundBuffer(&description, &buffer, nullptr);
        LPVOID region = nullptr;
        DWORD bytes = 0;
        buffer->Lock(0, kSoundBytes, &region, &bytes, nullptr, nullptr, 0);
        uint8_t* p = static_cast<uint8_t*>(region);
        for (DWORD b = 0; b < bytes; ++b) p[b] = static_cast<uint8_t>((state = state * 1103515245u + 12345u) >> 16);
        buffer->Unlock(region, bytes, nullptr, 0);
        // Loop, so that all 64 stay audible for the whole run.
        buffer->SetCurrentPosition(static_cast<DWORD>(i) * 1000 % kSoundBytes & ~1u);
        buffer->Play(0, 0, DSBPLAY_LOOPING);
        buffers.push_back(buffer);
    }
    std::vector<int16_t> out(static_cast<size_t>(blockFrames) * channels);
    const int blocks = static_cast<int>(10.0 * rate / blockFrames);  // ten seconds of output
    double total = 0;
    double worst = 0;
    for (int b = 0; b < blocks; ++b) {
        const auto start = std::chrono::steady_clock::now();
        PlatformSoundRender(out.data(), blockFrames);
        const double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
        total += us;
        worst = std::max(worst, us);
    }
    const double blockUs = 1e6 * blockFrames / rate;
    std::printf("%d voices -> %u Hz %s, %u-frame blocks (%.0f us each): mean %.1f us, worst %.1f us, "
                "%.2f%% of real time\n",
                kVoices, static_cast<unsigned>(rate), channels == 2 ? "stereo" : "mono",
                static_cast<unsigned>(blockFrames), blockUs, total / blocks, worst, 100.0 * total / blocks / blockUs);
    for (IDirectSoundBuffer* buffer : buffers) buffer->Release();
    device->Release();
}

}  // namespace

int main() {
    Run(44100, 2, 1024);  // the system output's format: resampled 2:1
    Run(48000, 2, 1024);  // an uneven ratio
    Run(22050, 1, 512);   // the sound's own format: no resampling
    return 0;
}
