#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/particle_fixture.h"

namespace {

// Test particles carry an id in `width`; `height` 0 asks to be removed.
std::vector<std::string> Calls;

int32_t RecordUpdate(ParticleBody* body) {
    Calls.push_back("u" + std::to_string(body->width));
    return body->height;
}

int32_t RecordDraw(ParticleBody* body) {
    Calls.push_back("d" + std::to_string(body->width));
    return 0;  // ignored by the pass
}

class ParticlePassTest : public ParticleTest {
protected:
    void SetUp() override {
        ParticleTest::SetUp();
        Calls.clear();
    }

    static Particle* Add(int id, bool keep) {
        Particle* particle = Append(RecordUpdate, RecordDraw);
        particle->body.width = id;
        particle->body.height = keep ? 1 : 0;
        return particle;
    }

    static std::vector<int> Ids() {
        std::vector<int> ids;
        for (Particle* particle : Particles()) ids.push_back(particle->body.width);
        return ids;
    }
};

TEST_F(ParticlePassTest, EmptyListCallsNothing) {
    ParticlePass();
    EXPECT_TRUE(Calls.empty());
    EXPECT_EQ(ParticleList.current, nullptr);
}

TEST_F(ParticlePassTest, EachParticleIsUpdatedThenDrawnInListOrder) {
    Add(1, true);
    Add(2, true);
    Add(3, true);
    ParticlePass();
    EXPECT_EQ(Calls, (std::vector<std::string>{"u1", "d1", "u2", "d2", "u3", "d3"}));
    EXPECT_EQ(ParticleOf(ParticleList.current)->body.width, 3) << "cursor on the last particle after the pass";
}

struct RemovalCase {
    const char* name;
    std::vector<bool> keep;  // per particle 1..n
    std::vector<std::string> calls;
    std::vector<int> left;
};

class ParticlePassRemoval : public ParticlePassTest, public ::testing::WithParamInterface<RemovalCase> {};

TEST_P(ParticlePassRemoval, RemovedParticlesAreNotDrawnAndNoneIsSkipped) {
    const RemovalCase& c = GetParam();
    for (size_t i = 0; i < c.keep.size(); ++i) Add(static_cast<int>(i) + 1, c.keep[i]);
    ParticlePass();
    EXPECT_EQ(Calls, c.calls);
    EXPECT_EQ(Ids(), c.left);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParticlePassRemoval,
    ::testing::Values(
        RemovalCase{"first", {false, true, true}, {"u1", "u2", "d2", "u3", "d3"}, {2, 3}},
        RemovalCase{"middle", {true, false, true}, {"u1", "d1", "u2", "u3", "d3"}, {1, 3}},
        RemovalCase{"last", {true, true, false}, {"u1", "d1", "u2", "d2", "u3"}, {1, 2}},
        RemovalCase{"firstMiddleLast",
                    {false, true, false, true, false},
                    {"u1", "u2", "d2", "u3", "u4", "d4", "u5"},
                    {2, 4}},
        RemovalCase{"all", {false, false}, {"u1", "u2"}, {}}),
    [](const ::testing::TestParamInfo<RemovalCase>& info) { return std::string(info.param.name); });

// An update that adds two particles behind itself as the trail spawner does.
int32_t SpawnTwo(ParticleBody* body) {
    Calls.push_back("u" + std::to_string(body->width));
    for (int i = 1; i <= 2; ++i) {
        Particle* child = ParticleOf(ListAdd(ParticleList));
        child->update = RecordUpdate;
        child->draw = RecordDraw;
        child->body.width = body->width * 10 + i;
        child->body.height = 1;
        ListPrevious(ParticleList);
    }
    return 1;
}

TEST_F(ParticlePassTest, SpawnedParticlesAreVisitedInTheSamePassNewestFirst) {
    Particle* spawner = Append(SpawnTwo, RecordDraw);
    spawner->body.width = 1;
    Add(2, true);
    ParticlePass();
    EXPECT_EQ(Calls, (std::vector<std::string>{"u1", "d1", "u12", "d12", "u11", "d11", "u2", "d2"}));
    EXPECT_EQ(Ids(), (std::vector<int>{1, 12, 11, 2}));
}

TEST_F(ParticlePassTest, ParticlesAddedBetweenPassesComeLastInTheNextPass) {
    Add(1, true);
    ParticlePass();
    Calls.clear();
    // Added with the cursor where the pass left it: appended in order.
    for (int id : {2, 3}) {
        Particle* particle = ParticleOf(ListAdd(ParticleList));
        particle->update = RecordUpdate;
        particle->draw = RecordDraw;
        particle->body.width = id;
        particle->body.height = 1;
    }
    ParticlePass();
    EXPECT_EQ(Calls, (std::vector<std::string>{"u1", "d1", "u2", "d2", "u3", "d3"}));
}

TEST_F(ParticlePassTest, ClearBetweenPassesLeavesNothingToDo) {
    Add(1, true);
    Add(2, true);
    ListClear(ParticleList);
    ParticlePass();
    EXPECT_TRUE(Calls.empty());
}

// The real callbacks: a spark spawns trail smoke that the same pass updates
// and draws (with the recording ParticleDraw) before the spark's follower.
TEST_F(ParticlePassTest, SparkTrailIsDrawnRightAfterTheSpark) {
    RandomStart(1);
    Explode(300, 300);
    std::vector<Particle*> before = Particles();
    ASSERT_EQ(before.size(), 56u);
    // However slow the machine, nothing has outlived its life time yet.
    for (Particle* particle : before) particle->body.bornTick = GetTickCount();
    ParticlePass();
    std::vector<Particle*> after = Particles();
    // Every spark now has two trail smokes behind it.
    ASSERT_EQ(after.size(), 56u + 2 * 11);
    std::vector<ParticleBody*> drawn = DrawnBodies();
    ASSERT_EQ(drawn.size(), after.size());
    for (size_t i = 0; i < after.size(); ++i) EXPECT_EQ(drawn[i], &after[i]->body) << "draw " << i;
    for (size_t i = 0; i < after.size(); ++i) {
        if (after[i]->body.spawn != SpawnTrailSmoke) continue;
        ASSERT_LT(i + 2, after.size());
        for (size_t k = 1; k <= 2; ++k) {
            const ParticleBody& trail = after[i + k]->body;
            EXPECT_EQ(trail.image, SmokeImage);
            EXPECT_EQ(trail.width, 16);
            EXPECT_EQ(trail.spawnCount, 0);
        }
        EXPECT_EQ(after[i]->body.spawnCount, 34);
    }
}

}  // namespace
