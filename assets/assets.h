// The demo's embedded assets: each file's bytes, compiled into the program,
// and its length in bytes.
#pragma once

#include <cstdint>

// 256 by 256 ground texture, PNG (8-bit RGB), tiles seamlessly.
extern const unsigned char GroundPng[];
extern const int32_t GroundPngSize;

// 64 by 64 particle pictures, PNG (8-bit RGBA).
extern const unsigned char SmokePng[];
extern const int32_t SmokePngSize;
extern const unsigned char FirePng[];
extern const int32_t FirePngSize;
extern const unsigned char ScorchPng[];
extern const int32_t ScorchPngSize;

// The explosion sound, WAVE: PCM mono, 22050 Hz, 16 bits.
extern const unsigned char ExplosionWav[];
extern const int32_t ExplosionWavSize;
