// Rotate-and-add lagged generator over 17 pairs of 32-bit words.
#include "runtime.h"

namespace {

struct RandomState {
    uint32_t words[34];
    int32_t stepIndex;
    int32_t lagIndex;
    bool seeded;
};

RandomState State;

inline uint32_t RotateLeft(uint32_t value, int bits) { return (value << bits) | (value >> (32 - bits)); }

}  // namespace

uint64_t RandomStep() {
    const int32_t p = State.stepIndex;
    const int32_t q = State.lagIndex;
    const uint32_t x = State.words[2 * p];
    const uint32_t y = State.words[2 * p + 1];
    const uint32_t low = RotateLeft(y, 27) + State.words[2 * q + 1];
    const uint32_t high = RotateLeft(x, 19) + State.words[2 * q];
    State.words[2 * p] = low;
    State.words[2 * p + 1] = high;
    State.stepIndex = p == 0 ? 16 : p - 1;
    State.lagIndex = q == 0 ? 16 : q - 1;
    return (static_cast<uint64_t>(high) << 32) | low;
}

void RandomStart(uint32_t seed) {
    // A generator started by hand counts as seeded, so that RandomInt keeps
    // the chosen sequence instead of seeding itself from the clock.
    State.seeded = true;
    uint32_t x = seed;
    for (uint32_t& word : State.words) {
        x = x * 2891336453u + 1u;
        word = x;
    }
    State.stepIndex = 0;
    State.lagIndex = 10;
    for (int i = 0; i < 31; ++i) RandomStep();
}

int32_t RandomInt(int32_t max) {
    if (!State.seeded) {
        State.seeded = true;
        RandomStart(GetTickCount());
    }
    const uint64_t draw = RandomStep();
    if (max < 0) return INT32_MIN;
    const uint64_t range = static_cast<uint32_t>(max) + 1u;
    const uint64_t t = ((draw & 0xFFFFFFFFu) * range) >> 32;
    const uint64_t u = (draw >> 32) * range;
    return static_cast<int32_t>((u + t) >> 32);
}
