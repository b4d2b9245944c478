// The explosion recipe: one scorch mark and eleven groups of fireballs,
// smoke puffs and a spark, and the trail smoke that sparks leave behind.
#include "particle.h"

namespace {

// D3DBLEND values.
constexpr int32_t BlendZero = 1;
constexpr int32_t BlendOne = 2;
constexpr int32_t BlendSourceColor = 3;
constexpr int32_t BlendInverseSourceAlpha = 6;
constexpr int32_t BlendInverseDestAlpha = 8;

int32_t R(int32_t max) { return RandomInt(max); }

// A new zero-filled particle behind the cursor, with the two callbacks that
// every particle has; null when no memory is left.
ParticleBody* NewParticle() {
    ListElement* element = ListAdd(ParticleList);
    if (element == nullptr) return nullptr;
    Particle* particle = ParticleOf(element);
    particle->update = ParticleUpdate;
    particle->draw = ParticleDraw;
    return &particle->body;
}

bool MakeScorchMark(int32_t x, int32_t y) {
    ParticleBody* p = NewParticle();
    if (p == nullptr) return false;
    p->image = ScorchImage;
    p->blendSource = BlendZero;
    p->blendDest = BlendSourceColor;
    p->x = static_cast<float>(x);
    p->y = static_cast<float>(y);
    p->width = 64;
    p->height = 64;
    p->rotation = R(359);
    return true;
}

bool MakeFireball(int32_t x, int32_t y, int32_t speed, float friction, int32_t lifeBase, int32_t size) {
    ParticleBody* p = NewParticle();
    if (p == nullptr) return false;
    p->image = FireImage;
    p->blendSource = BlendSourceColor;
    p->blendDest = BlendOne;
    p->x = static_cast<float>(x);
    p->y = static_cast<float>(y);
    p->velocityX = static_cast<float>(R(2 * speed) - speed);
    p->velocityY = static_cast<float>(R(2 * speed) - speed);
    p->friction = friction;
    p->bornTick = GetTickCount();
    p->lifeTime = R(50) + lifeBase;
    p->width = size;
    p->height = size;
    p->rotation = R(359);
    return true;
}

bool MakeSmokePuff(int32_t x, int32_t y) {
    ParticleBody* p = NewParticle();
    if (p == nullptr) return false;
    p->image = SmokeImage;
    p->blendSource = BlendInverseDestAlpha;
    p->blendDest = BlendInverseSourceAlpha;
    p->x = static_cast<float>(static_cast<double>(x + R(10)) - 5.0);
    p->y = static_cast<float>(static_cast<double>(y + R(10)) - 5.0);
    p->velocityX = static_cast<float>(R(20) - 10);
    p->velocityY = static_cast<float>(R(20) - 10);
    p->alpha = R(100) + 150;
    p->alphaStep = 2;
    p->friction = FrictionSmokePuff;
    p->drift = DriftSmoke;
    p->bornTick = GetTickCount();
    p->lifeTime = R(2500) + 500;
    p->width = 64;
    p->height = 64;
    p->rotation = R(359);
    return true;
}

bool MakeSpark(int32_t x, int32_t y) {
    ParticleBody* p = NewParticle();
    if (p == nullptr) return false;
    p->image = FireImage;
    p->blendSource = BlendSourceColor;
    p->blendDest = BlendOne;
    p->x = static_cast<float>(x);
    p->y = static_cast<float>(y);
    p->velocityX = static_cast<float>(R(50) - 25);
    p->velocityY = static_cast<float>(R(50) - 25);
    p->alpha = 60;
    p->alphaStep = 2;
    p->friction = FrictionSpark;
    p->bornTick = GetTickCount();
    p->lifeTime = R(500) + 200;
    p->width = 16;
    p->height = 16;
    p->rotation = R(359);
    p->spawn = SpawnTrailSmoke;
    p->spawnCount = 35;
    return true;
}

bool MakeTrailSmoke(const ParticleBody* spark) {
    ParticleBody* p = NewParticle();
    if (p == nullptr) return false;
    p->image = SmokeImage;
    p->blendSource = BlendInverseDestAlpha;
    p->blendDest = BlendInverseSourceAlpha;
    p->x = spark->x;
    p->y = spark->y;
    p->velocityX = static_cast<float>(R(4) - 2);
    p->velocityY = static_cast<float>(R(4) - 2);
    p->alpha = R(100) + 150;
    p->alphaStep = 1;
    p->friction = FrictionSpark;
    p->drift = DriftSmoke;
    p->bornTick = GetTickCount();
    const int32_t extra = R(200);
    // What is left of the spark's life, negative once it has begun to fade.
    const uint32_t sparkAge = GetTickCount() - spark->bornTick;
    const uint32_t remaining = static_cast<uint32_t>(spark->lifeTime) - sparkAge;
    p->lifeTime = static_cast<int32_t>(static_cast<uint32_t>(extra) + remaining);
    p->width = 16;
    p->height = 16;
    p->rotation = R(359);
    return true;
}

}  // namespace

const float FrictionLargeFireball = 1.1f;
const float FrictionSmallFireball = 1.15f;
const float FrictionSmokePuff = 1.28f;
// Written in hexadecimal so that the stored bits are exactly these: one unit
// in the last place above 1.18f (bits 0x3F970A3E) and below 0.05f (0x3D4CCCCC).
const float FrictionSpark = 0x1.2e147cp+0f;
const float DriftSmoke = 0x1.999998p-5f;

QuadImage* SmokeImage;
QuadImage* FireImage;
QuadImage* ScorchImage;

int32_t Explode(int32_t x, int32_t y) {
    // A particle that cannot be allocated ends the recipe early; what was
    // made so far stays in the list.
    if (!MakeScorchMark(x, y)) return 0;
    for (int group = 0; group <= 10; ++group) {
        if (!MakeFireball(x, y, 3, FrictionLargeFireball, 150, 64)) return 0;
        if (!MakeFireball(x, y, 6, FrictionSmallFireball, 100, 32)) return 0;
        if (!MakeSmokePuff(x, y)) return 0;
        if (!MakeSmokePuff(x, y)) return 0;
        if (!MakeSpark(x, y)) return 0;
    }
    return 0;
}

int32_t SpawnTrailSmoke(ParticleBody* spark) {
    for (int i = 0; i < 2; ++i) {
        if (!MakeTrailSmoke(spark)) return 0;
        ListPrevious(ParticleList);
    }
    return 0;
}
