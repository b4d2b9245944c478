// The frame loop's timing on the virtual clock.
#include <gtest/gtest.h>
#include <mmsystem.h>

#include "demo/demo.h"
#include "testing.h"

namespace {

class FrameClock : public ::testing::Test {
protected:
    void SetUp() override {
        FrameLoop = FrameLoopState{};
        PlatformClockUseVirtual(5000000);
    }
    void TearDown() override { PlatformClockUseReal(); }

    // Steps 1 and 7 of a turn that took `ms` milliseconds.
    static void Frame(uint32_t ms) {
        FrameLoop.FrameStart = timeGetTime();
        PlatformClockAdvance(ms);
        FrameRateUpdate();
    }
};

TEST_F(FrameClock, FirstFrameOfTenMillisecondsGivesOneHundred) {
    Frame(10);
    EXPECT_EQ(FrameLoop.SmoothedRate, 100);
}

TEST_F(FrameClock, ZeroMillisecondFrameLeavesTheRate) {
    Frame(0);
    EXPECT_EQ(FrameLoop.SmoothedRate, 0);
    Frame(20);
    EXPECT_EQ(FrameLoop.SmoothedRate, 50);
    Frame(0);
    EXPECT_EQ(FrameLoop.SmoothedRate, 50);
}

TEST_F(FrameClock, FirstFrameOverOneSecondAddsNothing) {
    Frame(1001);
    EXPECT_EQ(FrameLoop.SmoothedRate, 0);
}

TEST_F(FrameClock, RateSettlesAtFortyTimesTheFrameRateAndNeverFallsToZero) {
    for (int i = 0; i < 1000; ++i) Frame(10);
    EXPECT_GE(FrameLoop.SmoothedRate, 3960);
    EXPECT_LE(FrameLoop.SmoothedRate, 4000);
    for (int i = 0; i < 1000; ++i) Frame(5000);
    EXPECT_GE(FrameLoop.SmoothedRate, 1);
}

TEST_F(FrameClock, FirstCountingWindowClosesAtOnceThenAfterEachSecond) {
    // SecondStart is 0 and the clock is far past 1000 ms.
    FrameCountUpdate();
    EXPECT_EQ(FrameLoop.FramesLastSecond, 1);
    EXPECT_EQ(FrameLoop.FramesThisSecond, 0);
    EXPECT_EQ(FrameLoop.SecondStart, 5000000u);
    for (int i = 0; i < 9; ++i) {
        PlatformClockAdvance(100);
        FrameCountUpdate();
    }
    EXPECT_EQ(FrameLoop.FramesLastSecond, 1) << "900 ms: the window is still open";
    PlatformClockAdvance(100);
    FrameCountUpdate();
    EXPECT_EQ(FrameLoop.FramesLastSecond, 10);
    EXPECT_EQ(FrameLoop.SecondStart, 5001000u);
}

}  // namespace
