#include <gtest/gtest.h>

#include <string>

#include "demo/demo.h"

namespace {

struct TitleCase {
    int32_t smoothedRate;
    int32_t framesLastSecond;
    const char* title;  // null: no title
};

class FrameTitle : public ::testing::TestWithParam<TitleCase> {};

TEST_P(FrameTitle, TextFollowsTheSmoothedRate) {
    const TitleCase& c = GetParam();
    char text[64] = "untouched";
    const bool made = FrameTitleText(c.smoothedRate, c.framesLastSecond, text, sizeof text);
    if (c.title == nullptr) {
        EXPECT_FALSE(made);
        EXPECT_STREQ(text, "untouched");
    } else {
        EXPECT_TRUE(made);
        EXPECT_STREQ(text, c.title);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FrameTitle,
                         ::testing::Values(TitleCase{0, 5, nullptr},             // no rate yet: no title
                                           TitleCase{100, 0, "fps: 2 - 0"},      // first frame of 10 ms
                                           TitleCase{2403, 61, "fps: 60 - 61"},  // settled
                                           TitleCase{39, 3, "SPF: 1 - 3"},       // just under one frame a second
                                           TitleCase{1, 0, "SPF: 40 - 0"},
                                           TitleCase{40, 1, "fps: 1 - 1"},
                                           TitleCase{400000, 12345, "fps: 10000 - 12345"}));

TEST(FrameTitle, LongTextIsCutToTheBuffer) {
    char text[8];
    EXPECT_TRUE(FrameTitleText(400000, 12345, text, sizeof text));
    EXPECT_STREQ(text, "fps: 10");
}

}  // namespace
