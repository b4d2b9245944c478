// Motion and fading against the real clock: ages are set relative to
// GetTickCount() so that the cases hold on every target.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "support/particle_fixture.h"

namespace {

uint32_t Bits(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

ParticleBody Expired(int32_t alpha, int32_t alphaStep) {
    ParticleBody body{};
    body.lifeTime = 100;
    body.bornTick = GetTickCount() - 100000;  // long past its life time
    body.alpha = alpha;
    body.alphaStep = alphaStep;
    return body;
}

struct FadeCase {
    int32_t alpha;
    int32_t alphaStep;
    std::vector<int32_t> alphas;  // alpha after each update that returns 1; then one update returns 0
};

class Fading : public ::testing::TestWithParam<FadeCase> {};

TEST_P(Fading, AlphaFallsByItsStepClampsAtZeroAndTheNextUpdateRemoves) {
    const FadeCase& c = GetParam();
    ParticleBody body = Expired(c.alpha, c.alphaStep);
    body.velocityX = 1.0f;
    for (size_t i = 0; i < c.alphas.size(); ++i) {
        ASSERT_EQ(ParticleUpdate(&body), 1) << "update " << i + 1;
        ASSERT_EQ(body.alpha, c.alphas[i]) << "update " << i + 1;
    }
    const float x = body.x;
    EXPECT_EQ(ParticleUpdate(&body), 0);
    EXPECT_EQ(body.x, x) << "the removing update does not move the particle";
}

std::vector<int32_t> Countdown(int32_t from, int32_t step) {
    std::vector<int32_t> values;
    for (int32_t a = from - step; a >= 0; a -= step) values.push_back(a);
    return values;
}

INSTANTIATE_TEST_SUITE_P(Cases, Fading,
                         ::testing::Values(FadeCase{60, 2, Countdown(60, 2)},  // 58 .. 0: 30 updates
                                           FadeCase{3, 2, {1, 0}},             // clamped, not -1
                                           FadeCase{0, 0, {}},                 // fireballs
                                           FadeCase{10, 0, {}},                // no step: removed at once
                                           FadeCase{-5, 1, {}}));              // nothing left to fade

TEST(ParticleUpdate, SixtyByTwoSurvivesThirtyUpdates) { EXPECT_EQ(Countdown(60, 2).size(), 30u); }

TEST(ParticleUpdate, LifeTimeZeroNeverFades) {
    ParticleBody body{};
    body.bornTick = GetTickCount() - 0x7FFFFFF0u;
    body.alpha = 17;
    body.alphaStep = 5;
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(ParticleUpdate(&body), 1);
    EXPECT_EQ(body.alpha, 17);
}

TEST(ParticleUpdate, NegativeLifeTimeFadesFromTheFirstUpdate) {
    for (int32_t lifeTime : {-1, -500}) {
        ParticleBody body{};
        body.bornTick = GetTickCount();
        body.lifeTime = lifeTime;
        body.alpha = 200;
        body.alphaStep = 1;
        EXPECT_EQ(ParticleUpdate(&body), 1);
        EXPECT_EQ(body.alpha, 199) << lifeTime;
    }
}

TEST(ParticleUpdate, YoungParticleDoesNotFade) {
    ParticleBody body{};
    body.bornTick = GetTickCount();
    body.lifeTime = 60000;
    body.alpha = 100;
    body.alphaStep = 3;
    EXPECT_EQ(ParticleUpdate(&body), 1);
    EXPECT_EQ(body.alpha, 100);
}

TEST(ParticleUpdate, FrictionDividesTheVelocityAndTheMoveUsesTheNewVelocity) {
    ParticleBody body{};
    body.friction = 1.1f;
    body.velocityX = 3.0f;
    body.velocityY = -2.0f;
    body.x = 10.0f;
    body.y = 20.0f;
    EXPECT_EQ(ParticleUpdate(&body), 1);
    const float vx = 3.0f / 1.1f;
    const float vy = -2.0f / 1.1f;
    EXPECT_EQ(Bits(body.velocityX), Bits(vx));
    EXPECT_EQ(Bits(body.velocityY), Bits(vy));
    EXPECT_EQ(Bits(body.x), Bits(10.0f + vx));
    EXPECT_EQ(Bits(body.y), Bits(20.0f + vy));
    // A second update divides again.
    ParticleUpdate(&body);
    EXPECT_EQ(Bits(body.velocityX), Bits(vx / 1.1f));
    EXPECT_EQ(Bits(body.x), Bits((10.0f + vx) + vx / 1.1f));
}

TEST(ParticleUpdate, NoFrictionKeepsTheVelocity) {
    ParticleBody body{};
    body.velocityX = 1.5f;
    body.velocityY = -0.25f;
    for (int i = 0; i < 4; ++i) ParticleUpdate(&body);
    EXPECT_EQ(body.velocityX, 1.5f);
    EXPECT_EQ(body.velocityY, -0.25f);
    EXPECT_EQ(body.x, 6.0f);
    EXPECT_EQ(body.y, -1.0f);
}

TEST(ParticleUpdate, AccelerationIsInHundredthsAddedBeforeFriction) {
    ParticleBody body{};
    body.accelerationX = 50.0f;
    body.accelerationY = -25.0f;
    body.friction = 2.0f;
    ParticleUpdate(&body);
    EXPECT_EQ(body.velocityX, 0.25f);
    EXPECT_EQ(body.velocityY, -0.125f);
}

TEST(ParticleUpdate, DriftMovesWithTheWindInSinglePrecision) {
    Wind = {1, -1};
    ParticleBody body{};
    body.x = 300.0f;
    body.y = 400.0f;
    body.velocityX = 7.0f;
    body.velocityY = -3.0f;
    body.friction = FrictionSpark;
    body.drift = DriftSmoke;
    ParticleUpdate(&body);
    const float vx = 7.0f / FrictionSpark;
    const float vy = -3.0f / FrictionSpark;
    const float driftX = DriftSmoke * 1.0f;
    const float driftY = DriftSmoke * -1.0f;
    EXPECT_EQ(Bits(body.velocityX), Bits(vx));
    EXPECT_EQ(Bits(body.x), Bits((300.0f + vx) + driftX));
    EXPECT_EQ(Bits(body.y), Bits((400.0f + vy) + driftY));
}

TEST(ParticleUpdate, DriftAloneCreepsRightAndUp) {
    Wind = {1, -1};
    ParticleBody body{};
    body.drift = 0.5f;
    for (int i = 0; i < 4; ++i) ParticleUpdate(&body);
    EXPECT_EQ(body.x, 2.0f);
    EXPECT_EQ(body.y, -2.0f);
}

// Spawn calls: counted down first, after the move, and only while the count lasts.
std::vector<std::pair<int32_t, float>> SpawnSeen;

int32_t RecordSpawn(ParticleBody* body) {
    SpawnSeen.push_back({body->spawnCount, body->x});
    return 123;  // ignored
}

TEST(ParticleUpdate, SpawnIsCalledInEachOfTheFirstUpdatesAfterTheMove) {
    SpawnSeen.clear();
    ParticleBody body{};
    body.velocityX = 1.0f;
    body.spawn = RecordSpawn;
    body.spawnCount = 35;
    for (int i = 0; i < 50; ++i) ASSERT_EQ(ParticleUpdate(&body), 1);
    ASSERT_EQ(SpawnSeen.size(), 35u);
    for (int i = 0; i < 35; ++i) {
        EXPECT_EQ(SpawnSeen[i].first, 34 - i);
        EXPECT_EQ(SpawnSeen[i].second, static_cast<float>(i + 1));
    }
    EXPECT_EQ(body.spawnCount, 0);
}

TEST(ParticleUpdate, FadingParticleStillSpawns) {
    SpawnSeen.clear();
    ParticleBody body = Expired(60, 2);
    body.spawn = RecordSpawn;
    body.spawnCount = 2;
    ParticleUpdate(&body);
    EXPECT_EQ(SpawnSeen.size(), 1u);
    EXPECT_EQ(body.alpha, 58);
}

TEST(ParticleUpdate, RemovingUpdateDoesNotSpawn) {
    SpawnSeen.clear();
    ParticleBody body = Expired(0, 2);
    body.spawn = RecordSpawn;
    body.spawnCount = 5;
    EXPECT_EQ(ParticleUpdate(&body), 0);
    EXPECT_TRUE(SpawnSeen.empty());
    EXPECT_EQ(body.spawnCount, 5);
}

}  // namespace
