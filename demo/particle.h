// Particles: the record, the particle pass, motion and fading, drawing and
// the explosion recipe.
#pragma once

#include <cstdint>

#include "runtime/runtime.h"

struct QuadImage;  // an image of the graphics layer, known here by its handle
struct ParticleBody;

// Every particle callback gets the particle's body and returns a signed
// 32-bit result; for `update`, 0 means remove.
typedef int32_t (*ParticleCallback)(ParticleBody* body);

struct ParticleBody {
    QuadImage* image;
    int32_t blendSource;  // D3DBLEND values
    int32_t blendDest;
    float x;
    float y;
    float velocityX;      // pixels per update
    float velocityY;
    float accelerationX;  // hundredths of a pixel per update, per update
    float accelerationY;
    float friction;       // velocity divisor per update; 0 = none
    uint32_t bornTick;    // GetTickCount at creation
    int32_t lifeTime;     // milliseconds before fading starts; 0 = never
    float drift;          // how strongly Wind moves the particle
    int32_t width;
    int32_t height;
    int32_t rotation;     // radians, whole numbers; 0 = keep the image's angle
    int32_t alpha;        // 0 to 255
    int32_t alphaStep;    // alpha lost per update while fading
    ParticleCallback spawn;
    int32_t spawnCount;
};

struct Particle {
    ParticleCallback update;
    ParticleCallback draw;
    ParticleBody body;
};

struct WindVector {
    int32_t x;
    int32_t y;
};

// All live particles, in drawing order.
extern List ParticleList;
extern WindVector Wind;

// The images the recipe gives its particles.
extern QuadImage* SmokeImage;
extern QuadImage* FireImage;
extern QuadImage* ScorchImage;

// The particle of a list element and the element's body.
inline Particle* ParticleOf(ListElement* element) { return static_cast<Particle*>(ListPayload(element)); }

// One pass over ParticleList: update every particle, then draw or delete it.
void ParticlePass();

int32_t ParticleUpdate(ParticleBody* body);
int32_t ParticleDraw(ParticleBody* body);

// Adds the 56 particles of one explosion at (x, y); returns 0.
int32_t Explode(int32_t x, int32_t y);
// A spark's spawn callback: two trail-smoke particles right behind it.
int32_t SpawnTrailSmoke(ParticleBody* spark);

// The recipe's friction and drift constants, stored with these exact bits.
extern const float FrictionLargeFireball;  // 1.1
extern const float FrictionSmallFireball;  // 1.15
extern const float FrictionSmokePuff;      // 1.28
extern const float FrictionSpark;          // 1.18000007, one step above the nearest float to 1.18
extern const float DriftSmoke;             // 0.049999997, one step below the nearest float to 0.05
