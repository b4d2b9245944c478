// The mixer of the DirectSound stand-in: adds every playing buffer, of any
// PCM format, into one interleaved 16-bit output stream.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

namespace dsound {

// The playback state of one secondary buffer. Everything but `data`'s bytes
// is guarded by the mixer's lock.
struct Voice {
    uint16_t channels = 1;        // 1 or 2
    uint16_t bitsPerSample = 16;  // 8 (unsigned) or 16 (signed)
    uint32_t rate = 22050;        // frames per second
    uint32_t frameBytes = 2;      // bytes of one frame, all channels
    uint32_t frames = 0;          // whole frames in data
    std::vector<uint8_t> data;
    uint64_t position = 0;  // in frames, 32.32 fixed point
    bool playing = false;
    bool looping = false;
};

class Mixer {
public:
    Mixer(uint32_t rate, uint16_t channels);

    uint32_t Rate() const { return rate_; }
    uint16_t Channels() const { return channels_; }

    // Guards the voices' playback state; the mixer holds it while it renders.
    std::mutex& Lock() { return lock_; }

    // Called with the lock held.
    void Add(Voice* voice);
    void Remove(Voice* voice);

    // Renders `frames` output frames into `out` (frames * channels samples):
    // the sum of all playing voices, resampled to the output rate and
    // clipped to 16 bits. Voices that reach their end stop or wrap around.
    void Render(int16_t* out, uint32_t frames);

private:
    uint32_t rate_;
    uint16_t channels_;
    std::mutex lock_;
    std::vector<Voice*> voices_;
    std::vector<int32_t> sum_;
};

}  // namespace dsound
