#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "support/particle_fixture.h"

namespace {

uint32_t Bits(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

enum Kind { Scorch, LargeFireball, SmallFireball, SmokePuff, Spark };

// The kinds in the order Explode makes them.
std::vector<Kind> RecipeOrder() {
    std::vector<Kind> kinds{Scorch};
    for (int i = 0; i < 11; ++i)
        for (Kind kind : {LargeFireball, SmallFireball, SmokePuff, SmokePuff, Spark}) kinds.push_back(kind);
    return kinds;
}

// The random maxima each kind draws, in the order of its fields.
std::vector<int32_t> Draws(Kind kind) {
    switch (kind) {
        case Scorch: return {359};
        case LargeFireball: return {6, 6, 50, 359};
        case SmallFireball: return {12, 12, 50, 359};
        case SmokePuff: return {10, 10, 20, 20, 100, 2500, 359};
        case Spark: return {50, 50, 500, 359};
    }
    return {};
}

bool Whole(float value) { return value == std::floor(value); }

class ExplodeTest : public ParticleTest {};

TEST_F(ExplodeTest, ConstantsHaveTheirExactBits) {
    EXPECT_EQ(Bits(FrictionLargeFireball), 0x3F8CCCCDu);
    EXPECT_EQ(Bits(FrictionSmallFireball), 0x3F933333u);
    EXPECT_EQ(Bits(FrictionSmokePuff), 0x3FA3D70Au);
    EXPECT_EQ(Bits(FrictionSpark), 0x3F970A3Eu);
    EXPECT_EQ(Bits(DriftSmoke), 0x3D4CCCCCu);
    // One unit in the last place away from the nearest float.
    EXPECT_EQ(Bits(FrictionSpark), Bits(1.18f) + 1);
    EXPECT_EQ(Bits(DriftSmoke), Bits(0.05f) - 1);
}

TEST_F(ExplodeTest, FiftySixParticlesInRecipeOrderWithEveryFieldInRange) {
    RandomStart(2024);
    const uint32_t before = GetTickCount();
    EXPECT_EQ(Explode(100, 200), 0);
    const uint32_t after = GetTickCount();
    const std::vector<Particle*> particles = Particles();
    const std::vector<Kind> kinds = RecipeOrder();
    ASSERT_EQ(particles.size(), 56u);
    for (size_t i = 0; i < particles.size(); ++i) {
        SCOPED_TRACE("particle " + std::to_string(i));
        const Particle& particle = *particles[i];
        const ParticleBody& b = particle.body;
        EXPECT_EQ(particle.update, ParticleUpdate);
        EXPECT_EQ(particle.draw, ParticleDraw);
        EXPECT_EQ(b.accelerationX, 0.0f);
        EXPECT_EQ(b.accelerationY, 0.0f);
        EXPECT_GE(b.rotation, 0);
        EXPECT_LE(b.rotation, 359);
        EXPECT_TRUE(Whole(b.velocityX) && Whole(b.velocityY));
        const bool born = kinds[i] != Scorch;
        if (born) {
            EXPECT_GE(b.bornTick - before, 0u);
            EXPECT_LE(b.bornTick - before, after - before);
        }
        if (kinds[i] != SmokePuff) {
            EXPECT_EQ(b.x, 100.0f);
            EXPECT_EQ(b.y, 200.0f);
        }
        switch (kinds[i]) {
            case Scorch:
                EXPECT_EQ(b.image, ScorchImage);
                EXPECT_EQ(b.blendSource, 1);
                EXPECT_EQ(b.blendDest, 3);
                EXPECT_EQ(b.velocityX, 0.0f);
                EXPECT_EQ(b.velocityY, 0.0f);
                EXPECT_EQ(b.friction, 0.0f);
                EXPECT_EQ(b.bornTick, 0u);
                EXPECT_EQ(b.lifeTime, 0);
                EXPECT_EQ(b.alpha, 0);
                EXPECT_EQ(b.alphaStep, 0);
                EXPECT_EQ(b.width, 64);
                EXPECT_EQ(b.height, 64);
                break;
            case LargeFireball:
            case SmallFireball: {
                const bool large = kinds[i] == LargeFireball;
                const float speed = large ? 3.0f : 6.0f;
                EXPECT_EQ(b.image, FireImage);
                EXPECT_EQ(b.blendSource, 3);
                EXPECT_EQ(b.blendDest, 2);
                EXPECT_LE(std::fabs(b.velocityX), speed);
                EXPECT_LE(std::fabs(b.velocityY), speed);
                EXPECT_EQ(b.friction, large ? FrictionLargeFireball : FrictionSmallFireball);
                EXPECT_GE(b.lifeTime, large ? 150 : 100);
                EXPECT_LE(b.lifeTime, large ? 200 : 150);
                EXPECT_EQ(b.alpha, 0);
                EXPECT_EQ(b.alphaStep, 0);
                EXPECT_EQ(b.drift, 0.0f);
                EXPECT_EQ(b.width, large ? 64 : 32);
                EXPECT_EQ(b.height, large ? 64 : 32);
                break;
            }
            case SmokePuff:
                EXPECT_EQ(b.image, SmokeImage);
                EXPECT_EQ(b.blendSource, 8);
                EXPECT_EQ(b.blendDest, 6);
                EXPECT_TRUE(b.x >= 95.0f && b.x <= 105.0f && Whole(b.x)) << b.x;
                EXPECT_TRUE(b.y >= 195.0f && b.y <= 205.0f && Whole(b.y)) << b.y;
                EXPECT_LE(std::fabs(b.velocityX), 10.0f);
                EXPECT_LE(std::fabs(b.velocityY), 10.0f);
                EXPECT_GE(b.alpha, 150);
                EXPECT_LE(b.alpha, 250);
                EXPECT_EQ(b.alphaStep, 2);
                EXPECT_EQ(Bits(b.friction), Bits(FrictionSmokePuff));
                EXPECT_EQ(Bits(b.drift), 0x3D4CCCCCu);
                EXPECT_GE(b.lifeTime, 500);
                EXPECT_LE(b.lifeTime, 3000);
                EXPECT_EQ(b.width, 64);
                EXPECT_EQ(b.height, 64);
                break;
            case Spark:
                EXPECT_EQ(b.image, FireImage);
                EXPECT_EQ(b.blendSource, 3);
                EXPECT_EQ(b.blendDest, 2);
                EXPECT_LE(std::fabs(b.velocityX), 25.0f);
                EXPECT_LE(std::fabs(b.velocityY), 25.0f);
                EXPECT_EQ(b.alpha, 60);
                EXPECT_EQ(b.alphaStep, 2);
                EXPECT_EQ(Bits(b.friction), 0x3F970A3Eu);
                EXPECT_EQ(b.drift, 0.0f);
                EXPECT_GE(b.lifeTime, 200);
                EXPECT_LE(b.lifeTime, 700);
                EXPECT_EQ(b.width, 16);
                EXPECT_EQ(b.height, 16);
                break;
        }
        EXPECT_EQ(b.spawn, kinds[i] == Spark ? SpawnTrailSmoke : nullptr);
        EXPECT_EQ(b.spawnCount, kinds[i] == Spark ? 35 : 0);
    }
}

// Replaying the generator in the documented draw order gives every random
// field: x, y, velocities, alpha, life time, rotation, per particle in order.
TEST_F(ExplodeTest, RandomDrawsFollowTheFieldOrder) {
    RandomStart(99);
    Explode(250, 40);
    RandomStart(99);
    const std::vector<Particle*> particles = Particles();
    const std::vector<Kind> kinds = RecipeOrder();
    for (size_t i = 0; i < particles.size(); ++i) {
        SCOPED_TRACE("particle " + std::to_string(i));
        std::vector<int32_t> d;
        for (int32_t max : Draws(kinds[i])) d.push_back(RandomInt(max));
        const ParticleBody& b = particles[i]->body;
        switch (kinds[i]) {
            case Scorch: EXPECT_EQ(b.rotation, d[0]); break;
            case LargeFireball:
            case SmallFireball: {
                const int32_t speed = kinds[i] == LargeFireball ? 3 : 6;
                EXPECT_EQ(b.velocityX, static_cast<float>(d[0] - speed));
                EXPECT_EQ(b.velocityY, static_cast<float>(d[1] - speed));
                EXPECT_EQ(b.lifeTime, d[2] + (kinds[i] == LargeFireball ? 150 : 100));
                EXPECT_EQ(b.rotation, d[3]);
                break;
            }
            case SmokePuff:
                EXPECT_EQ(b.x, static_cast<float>(250 + d[0] - 5));
                EXPECT_EQ(b.y, static_cast<float>(40 + d[1] - 5));
                EXPECT_EQ(b.velocityX, static_cast<float>(d[2] - 10));
                EXPECT_EQ(b.velocityY, static_cast<float>(d[3] - 10));
                EXPECT_EQ(b.alpha, d[4] + 150);
                EXPECT_EQ(b.lifeTime, d[5] + 500);
                EXPECT_EQ(b.rotation, d[6]);
                break;
            case Spark:
                EXPECT_EQ(b.velocityX, static_cast<float>(d[0] - 25));
                EXPECT_EQ(b.velocityY, static_cast<float>(d[1] - 25));
                EXPECT_EQ(b.lifeTime, d[2] + 200);
                EXPECT_EQ(b.rotation, d[3]);
                break;
        }
    }
}

TEST_F(ExplodeTest, ExplosionsBetweenPassesAppendAfterOlderParticles) {
    RandomStart(5);
    Explode(10, 10);
    ListElement* lastOfFirst = ParticleList.header->last;
    Explode(590, 600);  // below the visible surface: still all 56
    const std::vector<Particle*> particles = Particles();
    ASSERT_EQ(particles.size(), 112u);
    EXPECT_EQ(ParticleOf(lastOfFirst), particles[55]);
    EXPECT_EQ(particles[56]->body.image, ScorchImage);
    EXPECT_EQ(particles[56]->body.y, 600.0f);
}

// SpawnTrailSmoke on the current spark: two trail smokes right behind it,
// the second first, and the cursor back on the spark.
TEST_F(ExplodeTest, TrailSmokeGoesBehindTheSparkAndTakesItsPosition) {
    Particle* spark = Append(ParticleUpdate, ParticleDraw);
    spark->body.x = 12.5f;
    spark->body.y = -3.25f;
    spark->body.lifeTime = 100000;
    spark->body.bornTick = GetTickCount();
    Particle* follower = Append(ParticleUpdate, ParticleDraw);
    ListReset(ParticleList);
    ListNext(ParticleList);
    ASSERT_EQ(ParticleOf(ParticleList.current), spark);

    RandomStart(8);
    EXPECT_EQ(SpawnTrailSmoke(&spark->body), 0);
    EXPECT_EQ(ParticleOf(ParticleList.current), spark);
    const std::vector<Particle*> particles = Particles();
    ASSERT_EQ(particles.size(), 4u);
    EXPECT_EQ(particles[0], spark);
    EXPECT_EQ(particles[3], follower);

    // First made (draws in field order), then second made.
    RandomStart(8);
    for (Particle* trail : {particles[2], particles[1]}) {
        const int32_t vx = RandomInt(4), vy = RandomInt(4), alpha = RandomInt(100), extra = RandomInt(200);
        const int32_t rotation = RandomInt(359);
        const ParticleBody& t = trail->body;
        EXPECT_EQ(trail->update, ParticleUpdate);
        EXPECT_EQ(trail->draw, ParticleDraw);
        EXPECT_EQ(t.image, SmokeImage);
        EXPECT_EQ(t.blendSource, 8);
        EXPECT_EQ(t.blendDest, 6);
        EXPECT_EQ(t.x, 12.5f);
        EXPECT_EQ(t.y, -3.25f);
        EXPECT_EQ(t.velocityX, static_cast<float>(vx - 2));
        EXPECT_EQ(t.velocityY, static_cast<float>(vy - 2));
        EXPECT_EQ(t.alpha, alpha + 150);
        EXPECT_EQ(t.alphaStep, 1);
        EXPECT_EQ(Bits(t.friction), 0x3F970A3Eu);
        EXPECT_EQ(Bits(t.drift), 0x3D4CCCCCu);
        // The spark's remaining life plus R(200); the spark is a few ms old at most.
        EXPECT_LE(t.lifeTime, 100000 + extra);
        EXPECT_GE(t.lifeTime, 100000 + extra - 1000);
        EXPECT_EQ(t.rotation, rotation);
        EXPECT_EQ(t.width, 16);
        EXPECT_EQ(t.height, 16);
        EXPECT_EQ(t.spawnCount, 0);
    }
}

}  // namespace
