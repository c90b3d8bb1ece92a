#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "media/PresentPause.h"
#include "media/RenderPacing.h"

namespace {

using Verdict = RenderPacing::Verdict;

struct PacingCase {
    const char* name;
    uint64_t gapMs;
    Verdict second;
};

class RenderPacingGapTest : public ::testing::TestWithParam<PacingCase> {};

TEST_P(RenderPacingGapTest, FramesCloserThan22MsAfterADrawAreDropped) {
    RenderPacing pacing;
    ASSERT_EQ(pacing.Decide(1000, false, {}), Verdict::Draw);
    EXPECT_EQ(pacing.Decide(1000 + GetParam().gapMs, false, {}), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(
    Gaps, RenderPacingGapTest,
    ::testing::Values(PacingCase{"Same", 0, Verdict::Pace}, PacingCase{"Gap21", 21, Verdict::Pace},
                      PacingCase{"Gap22", 22, Verdict::Draw}, PacingCase{"Gap40", 40, Verdict::Draw}),
    [](const ::testing::TestParamInfo<PacingCase>& info) { return std::string(info.param.name); });

TEST(RenderPacingTest, ADroppedFrameDoesNotMoveTheLastDrawTick) {
    RenderPacing pacing;
    ASSERT_EQ(pacing.Decide(1000, false, {}), Verdict::Draw);
    EXPECT_EQ(pacing.Decide(1010, false, {}), Verdict::Pace);
    EXPECT_EQ(pacing.Decide(1020, true, {}), Verdict::SizeMove);
    EXPECT_EQ(pacing.Decide(1021, false, PresentPauseState{true, 0}), Verdict::PresentPause);
    EXPECT_EQ(pacing.Decide(1022, false, {}), Verdict::Draw);
}

TEST(RenderPacingTest, ThePresentPauseHoldsWhileFlaggedAndUntilItsDeadline) {
    RenderPacing pacing;
    EXPECT_EQ(pacing.Decide(1000, false, PresentPauseState{true, 0}), Verdict::PresentPause);
    EXPECT_EQ(pacing.Decide(1100, false, PresentPauseState{false, 1150}), Verdict::PresentPause);
    EXPECT_EQ(pacing.Decide(1150, false, PresentPauseState{false, 1150}), Verdict::Draw);
}

} // namespace
