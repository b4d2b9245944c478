#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace {

std::vector<int32_t> Draw(uint32_t seed, int count, int32_t max) {
    RandomStart(seed);
    std::vector<int32_t> values;
    for (int i = 0; i < count; ++i) values.push_back(RandomInt(max));
    return values;
}

TEST(Random, FirstStepAfterSeedZero) {
    RandomStart(0);
    EXPECT_EQ(RandomStep(), 0x8B910D6160217BDFull);
}

struct Vector {
    uint32_t seed;
    std::vector<int32_t> values;
};

class RandomVectors : public ::testing::TestWithParam<Vector> {};

TEST_P(RandomVectors, TenDrawsOfRandomInt99) { EXPECT_EQ(Draw(GetParam().seed, 10, 99), GetParam().values); }

INSTANTIATE_TEST_SUITE_P(Published, RandomVectors,
                         ::testing::Values(Vector{0, {54, 78, 66, 37, 23, 62, 63, 42, 26, 46}},
                                           Vector{1, {72, 18, 60, 91, 0, 12, 50, 29, 42, 83}},
                                           Vector{12345, {27, 71, 66, 34, 58, 27, 30, 70, 21, 85}}),
                         [](const ::testing::TestParamInfo<Vector>& info) {
                             return "seed" + std::to_string(info.param.seed);
                         });

// Every call spends exactly one step, whatever its maximum: the draw after
// it is the one the generator would give next anyway.
TEST(Random, EveryCallSpendsOneStep) {
    for (int32_t max : {0, -1, -2147483647 - 1, 5, 2147483647}) {
        RandomStart(77);
        RandomStep();
        const uint64_t expected = RandomStep();
        RandomStart(77);
        RandomInt(max);
        EXPECT_EQ(RandomStep(), expected) << "max " << max;
    }
}

TEST(Random, ZeroMaximumGivesZeroAndNegativeGivesTheMinimum) {
    RandomStart(3);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(RandomInt(0), 0);
    EXPECT_EQ(RandomInt(-1), INT32_MIN);
    EXPECT_EQ(RandomInt(INT32_MIN), INT32_MIN);
}

TEST(Random, FullRangeGivesTheUpper31BitsOfTheHighWord) {
    RandomStart(9);
    const uint64_t draw = RandomStep();
    RandomStart(9);
    EXPECT_EQ(RandomInt(2147483647), static_cast<int32_t>(draw >> 33));
}

TEST(Random, ResultsStayWithinZeroToMax) {
    RandomStart(5);
    for (int32_t max : {1, 2, 6, 99, 359, 600, 2500, 1000000, 2147483646})
        for (int i = 0; i < 2000; ++i) {
            const int32_t value = RandomInt(max);
            ASSERT_GE(value, 0) << "max " << max;
            ASSERT_LE(value, max) << "max " << max;
        }
}

TEST(Random, EveryValueOfASmallRangeTurnsUp) {
    RandomStart(42);
    int counts[11] = {};
    for (int i = 0; i < 11000; ++i) ++counts[RandomInt(10)];
    for (int value = 0; value <= 10; ++value) {
        EXPECT_GT(counts[value], 800) << value;
        EXPECT_LT(counts[value], 1200) << value;
    }
}

}  // namespace
