// WAVE file images built in memory for the sound tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace sound_images {

struct Format {
    uint16_t tag = 1;  // PCM
    uint16_t channels = 1;
    uint32_t rate = 22050;
    uint16_t bits = 16;
};

inline void Put16(std::vector<uint8_t>& image, uint32_t value) {
    image.push_back(static_cast<uint8_t>(value));
    image.push_back(static_cast<uint8_t>(value >> 8));
}

inline void Put32(std::vector<uint8_t>& image, uint32_t value) {
    Put16(image, value & 0xFFFF);
    Put16(image, value >> 16);
}

inline void PutId(std::vector<uint8_t>& image, const char* id) { image.insert(image.end(), id, id + 4); }

inline void PutChunk(std::vector<uint8_t>& image, const char* id, const std::vector<uint8_t>& bytes) {
    PutId(image, id);
    Put32(image, static_cast<uint32_t>(bytes.size()));
    image.insert(image.end(), bytes.begin(), bytes.end());
}

// The format chunk's data: the 16 bytes of a plain format, then `extra`
// bytes (the first two are cbSize when present).
inline std::vector<uint8_t> FormatBytes(const Format& f, const std::vector<uint8_t>& extra = {}) {
    std::vector<uint8_t> bytes;
    const uint16_t align = static_cast<uint16_t>(f.channels * f.bits / 8);
    Put16(bytes, f.tag);
    Put16(bytes, f.channels);
    Put32(bytes, f.rate);
    Put32(bytes, f.rate * align);
    Put16(bytes, align);
    Put16(bytes, f.bits);
    bytes.insert(bytes.end(), extra.begin(), extra.end());
    return bytes;
}

// "RIFF" <size> "WAVE" "fmt " <format> then the given chunks in order.
struct Chunk {
    const char* id;
    std::vector<uint8_t> bytes;
};

inline std::vector<uint8_t> Wave(const std::vector<uint8_t>& format, const std::vector<Chunk>& chunks) {
    std::vector<uint8_t> body;
    PutId(body, "WAVE");
    PutChunk(body, "fmt ", format);
    for (const Chunk& chunk : chunks) PutChunk(body, chunk.id, chunk.bytes);
    std::vector<uint8_t> image;
    PutId(image, "RIFF");
    Put32(image, static_cast<uint32_t>(body.size()));
    image.insert(image.end(), body.begin(), body.end());
    return image;
}

// Deterministic sample bytes that vary from byte to byte.
inline std::vector<uint8_t> Samples(size_t count, uint32_t seed = 1) {
    std::vector<uint8_t> bytes(count);
    uint32_t state = seed * 2654435761u + 12345u;
    for (uint8_t& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<uint8_t>(state >> 16);
    }
    return bytes;
}

// 16-bit samples as little-endian bytes.
inline std::vector<uint8_t> Samples16(const std::vector<int16_t>& values) {
    std::vector<uint8_t> bytes;
    for (int16_t value : values) Put16(bytes, static_cast<uint16_t>(value));
    return bytes;
}

// The demo's kind of sound: 16-bit mono PCM at 22050 Hz, 87682 sample bytes,
// followed by a "LIST" chunk.
constexpr uint32_t kDemoSampleBytes = 87682;

inline std::vector<uint8_t> DemoSamples() { return Samples(kDemoSampleBytes, 7); }

inline std::vector<uint8_t> DemoWave() {
    return Wave(FormatBytes(Format{}), {{"data", DemoSamples()}, {"LIST", Samples(26, 3)}});
}

}  // namespace sound_images
