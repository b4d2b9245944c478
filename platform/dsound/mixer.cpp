#include "mixer.h"

#include <algorithm>

namespace dsound {

namespace {

template <int Bits>
inline int32_t ReadSample(const uint8_t* p) {
    if constexpr (Bits == 8)
        return (static_cast<int32_t>(p[0]) - 128) * 256;
    else
        return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
}

// Adds one voice into `sum` (frames * OutChannels samples) with linear
// interpolation between neighbouring frames. At a step of exactly one frame
// the fraction stays 0 and the samples pass unchanged.
template <int Bits, int InChannels, int OutChannels>
void MixVoice(Voice& voice, int32_t* sum, uint32_t frames, uint64_t step) {
    constexpr uint32_t sampleBytes = Bits / 8;
    const uint8_t* data = voice.data.data();
    const uint32_t count = voice.frames;
    const uint64_t end = static_cast<uint64_t>(count) << 32;
    uint64_t position = voice.position;
    for (uint32_t f = 0; f < frames; ++f) {
        const uint32_t index = static_cast<uint32_t>(position >> 32);
        const int64_t fraction = static_cast<uint32_t>(position);
        uint32_t next = index + 1;
        if (next >= count) next = voice.looping ? 0 : index;
        const uint8_t* a = data + static_cast<size_t>(index) * voice.frameBytes;
        const uint8_t* b = data + static_cast<size_t>(next) * voice.frameBytes;
        int32_t value[InChannels];
        for (int c = 0; c < InChannels; ++c) {
            const int32_t s0 = ReadSample<Bits>(a + c * sampleBytes);
            const int32_t s1 = ReadSample<Bits>(b + c * sampleBytes);
            value[c] = s0 + static_cast<int32_t>(((s1 - s0) * fraction) >> 32);
        }
        if constexpr (OutChannels == 2) {
            sum[2 * f] += value[0];
            sum[2 * f + 1] += value[InChannels - 1];
        } else if constexpr (InChannels == 2) {
            sum[f] += (value[0] + value[1]) / 2;
        } else {
            sum[f] += value[0];
        }
        position += step;
        if (position >= end) {
            if (!voice.looping) {
                voice.playing = false;
                voice.position = 0;
                return;
            }
            position %= end;
        }
    }
    voice.position = position;
}

template <int Bits, int InChannels>
void MixVoiceTo(Voice& voice, int32_t* sum, uint32_t frames, uint64_t step, int outChannels) {
    if (outChannels == 2)
        MixVoice<Bits, InChannels, 2>(voice, sum, frames, step);
    else
        MixVoice<Bits, InChannels, 1>(voice, sum, frames, step);
}

}  // namespace

Mixer::Mixer(uint32_t rate, uint16_t channels) : rate_(rate), channels_(channels == 1 ? 1 : 2) {}

void Mixer::Add(Voice* voice) { voices_.push_back(voice); }

void Mixer::Remove(Voice* voice) { voices_.erase(std::remove(voices_.begin(), voices_.end(), voice), voices_.end()); }

void Mixer::Render(int16_t* out, uint32_t frames) {
    std::lock_guard<std::mutex> guard(lock_);
    const size_t samples = static_cast<size_t>(frames) * channels_;
    if (sum_.size() < samples) sum_.resize(samples);
    std::fill(sum_.begin(), sum_.begin() + static_cast<std::ptrdiff_t>(samples), 0);
    for (Voice* voice : voices_) {
        if (!voice->playing || voice->frames == 0) continue;
        const uint64_t step = (static_cast<uint64_t>(voice->rate) << 32) / rate_;
        const bool wide = voice->bitsPerSample == 16;
        if (voice->channels == 2) {
            if (wide)
                MixVoiceTo<16, 2>(*voice, sum_.data(), frames, step, channels_);
            else
                MixVoiceTo<8, 2>(*voice, sum_.data(), frames, step, channels_);
        } else {
            if (wide)
                MixVoiceTo<16, 1>(*voice, sum_.data(), frames, step, channels_);
            else
                MixVoiceTo<8, 1>(*voice, sum_.data(), frames, step, channels_);
        }
    }
    for (size_t i = 0; i < samples; ++i) out[i] = static_cast<int16_t>(std::clamp(sum_[i], -32768, 32767));
}

}  // namespace dsound
