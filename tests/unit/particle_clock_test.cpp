// Particle timing on the virtual clock: exact ages, wrap-around and the
// trail smoke's life computed from its spark's.
#include <gtest/gtest.h>

#include "support/particle_fixture.h"
#include "testing.h"

namespace {

class ParticleClockTest : public ParticleTest {
protected:
    void SetUp() override {
        ParticleTest::SetUp();
        PlatformClockUseVirtual(50000);
    }
    void TearDown() override {
        PlatformClockUseReal();
        ParticleTest::TearDown();
    }
};

struct AgeCase {
    uint32_t bornTick;
    uint32_t now;
    int32_t lifeTime;
    bool expired;
};

class ParticleAge : public ParticleClockTest, public ::testing::WithParamInterface<AgeCase> {};

TEST_P(ParticleAge, ExpiresOnlyWhenStrictlyOlderThanItsLifeTime) {
    const AgeCase& c = GetParam();
    PlatformClockSet(c.now);
    ParticleBody body{};
    body.bornTick = c.bornTick;
    body.lifeTime = c.lifeTime;
    body.alpha = 100;
    body.alphaStep = 1;
    EXPECT_EQ(ParticleUpdate(&body), 1);
    EXPECT_EQ(body.alpha, c.expired ? 99 : 100);
}

INSTANTIATE_TEST_SUITE_P(Cases, ParticleAge,
                         ::testing::Values(AgeCase{1000, 1500, 500, false},           // exactly its life time
                                           AgeCase{1000, 1501, 500, true},            // one ms more
                                           AgeCase{0xFFFFFF00u, 0x100u, 511, true},   // wrapped: age 512
                                           AgeCase{0xFFFFFF00u, 0x100u, 512, false},  // wrapped, not yet
                                           AgeCase{5000, 4000, 10, false},            // born "later": negative age
                                           AgeCase{1000, 1000, -1, true}));           // negative life time

TEST_F(ParticleClockTest, ExplodeStampsTheClockOnEveryParticleButTheScorchMark) {
    PlatformClockSet(123456);
    RandomStart(3);
    Explode(1, 2);
    int stamped = 0;
    for (Particle* particle : Particles()) {
        if (particle->body.image == ScorchImage) {
            EXPECT_EQ(particle->body.bornTick, 0u);
        } else {
            EXPECT_EQ(particle->body.bornTick, 123456u);
            ++stamped;
        }
    }
    EXPECT_EQ(stamped, 55);
}

// The trail smoke's life: R(200) plus what is left of the spark's.
TEST_F(ParticleClockTest, TrailSmokeLifeFollowsTheSparksRemainingLife) {
    Particle* spark = Append(ParticleUpdate, ParticleDraw);
    spark->body.bornTick = 10000;
    spark->body.lifeTime = 300;
    ListReset(ParticleList);
    ListNext(ParticleList);

    struct Case {
        uint32_t now;
        int32_t remaining;
    };
    for (Case c : {Case{10100, 200}, Case{10300, 0}, Case{10900, -600}}) {
        PlatformClockSet(c.now);
        RandomStart(11);
        RandomInt(4);
        RandomInt(4);
        RandomInt(100);
        const int32_t extra = RandomInt(200);
        RandomStart(11);
        SpawnTrailSmoke(&spark->body);
        EXPECT_EQ(ParticleOf(ParticleList.current->next->next)->body.lifeTime, extra + c.remaining) << c.now;
        EXPECT_EQ(ParticleOf(ParticleList.current->next->next)->body.bornTick, c.now);
    }
}

TEST_F(ParticleClockTest, TrailSmokeWithLifeZeroNeverFadesAndNegativeFadesAtOnce) {
    for (int32_t lifeTime : {0, -40}) {
        ParticleBody body{};
        body.bornTick = 50000;
        body.lifeTime = lifeTime;
        body.alpha = 200;
        body.alphaStep = 1;
        PlatformClockSet(50000);
        ParticleUpdate(&body);
        PlatformClockAdvance(1000000);
        ParticleUpdate(&body);
        EXPECT_EQ(body.alpha, lifeTime == 0 ? 200 : 198) << lifeTime;
    }
}

// A spark lives its life time, then 30 fading updates, and is removed at the
// 31st; it spawns in its first 35 updates however many that are.
TEST_F(ParticleClockTest, SparkFadesForThirtyUpdatesAfterItsLifeTime) {
    RandomStart(21);
    PlatformClockSet(1000);
    Particle* spark = nullptr;
    Explode(300, 300);
    for (Particle* particle : Particles())
        if (particle->body.spawn == SpawnTrailSmoke) {
            spark = particle;
            break;
        }
    ASSERT_NE(spark, nullptr);
    ParticleBody body = spark->body;
    body.spawnCount = 0;  // the trail is tested elsewhere
    int updates = 0;
    PlatformClockSet(1000 + static_cast<uint32_t>(body.lifeTime) + 1);
    while (ParticleUpdate(&body) == 1) ++updates;
    EXPECT_EQ(updates, 30);
}

}  // namespace
