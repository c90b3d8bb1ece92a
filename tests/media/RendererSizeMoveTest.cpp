#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "media/RendererSizeMove.h"

namespace {

using Skip = RendererSizeMove::Skip;

TEST(RendererSizeMoveTest, FramesAreSkippedDuringTheLoopAndItsCooldown) {
    RendererSizeMove state;
    EXPECT_EQ(state.ShouldSkipFrame(1000, false), Skip::None);
    state.SetActive(true, 1000);
    EXPECT_TRUE(state.Active());
    EXPECT_EQ(state.ShouldSkipFrame(1010, true), Skip::Active);
    EXPECT_EQ(state.ShouldSkipFrame(1020, true), Skip::Active);
    EXPECT_EQ(state.SkippedFrames(), 2u);
    state.SetActive(false, 2000);
    EXPECT_FALSE(state.Active());
    EXPECT_EQ(state.SkippedFrames(), 0u) << "reported with the end of the pause";
    EXPECT_EQ(state.ShouldSkipFrame(2000, false), Skip::Cooldown);
    EXPECT_EQ(state.ShouldSkipFrame(2239, false), Skip::Cooldown);
    EXPECT_EQ(state.ShouldSkipFrame(2240, false), Skip::None);
}

TEST(RendererSizeMoveTest, OffWhileOffStartsNoCooldownAndActivityKeepsTheLoopAlive) {
    RendererSizeMove state;
    state.SetActive(false, 500);
    EXPECT_EQ(state.ShouldSkipFrame(500, false), Skip::None);

    state.SetActive(true, 1000);
    state.SetActive(true, 2400); // a drag step: the lost-exit watchdog counts from here
    EXPECT_EQ(state.ShouldSkipFrame(3800, false), Skip::Active);
    EXPECT_EQ(state.ShouldSkipFrame(3901, false), Skip::Cooldown); // 1501 ms quiet with the button up
}

TEST(RendererSizeMoveTest, TurningOnAgainClearsAPendingCooldown) {
    RendererSizeMove state;
    state.SetActive(true, 1000);
    state.SetActive(false, 1100);
    state.SetActive(true, 1150);
    EXPECT_EQ(state.ShouldSkipFrame(1160, true), Skip::Active);
    state.SetActive(false, 1200);
    EXPECT_EQ(state.ShouldSkipFrame(1439, false), Skip::Cooldown);
    EXPECT_EQ(state.ShouldSkipFrame(1440, false), Skip::None);
}

struct WatchdogCase {
    const char* name;
    uint64_t lastActivity; // the loop started at 1
    uint64_t now;
    bool leftButton;
    bool forcedOff;
};

class RendererSizeMoveWatchdogTest : public ::testing::TestWithParam<WatchdogCase> {};

TEST_P(RendererSizeMoveWatchdogTest, ForcesTheLoopOffOnlyWhenItIsLost) {
    const WatchdogCase& c = GetParam();
    RendererSizeMove state;
    state.SetActive(true, 1);
    state.SetActive(true, c.lastActivity);
    const Skip skip = state.ShouldSkipFrame(c.now, c.leftButton);
    if (!c.forcedOff) {
        EXPECT_EQ(skip, Skip::Active);
        EXPECT_TRUE(state.Active());
        return;
    }
    EXPECT_EQ(skip, Skip::Cooldown); // forced off, then the cool-down holds this frame
    EXPECT_FALSE(state.Active());
    EXPECT_EQ(state.ShouldSkipFrame(c.now + 239, c.leftButton), Skip::Cooldown);
    EXPECT_EQ(state.ShouldSkipFrame(c.now + 240, c.leftButton), Skip::None);
}

INSTANTIATE_TEST_SUITE_P(
    Thresholds, RendererSizeMoveWatchdogTest,
    ::testing::Values(WatchdogCase{"ButtonUpIdleAtLimit", 1, 1501, false, false},
                      WatchdogCase{"ButtonUpIdlePastLimit", 1, 1502, false, true},
                      WatchdogCase{"ButtonDownIdleLong", 1, 40000, true, false},
                      WatchdogCase{"ButtonDownLongButRecentActivity", 56000, 60500, true, false},
                      WatchdogCase{"ButtonDownOnAtLimit", 50000, 60001, true, false},
                      WatchdogCase{"ButtonDownHardStale", 50000, 60002, true, true},
                      WatchdogCase{"ButtonDownHardStaleIdleAtLimit", 55002, 60002, true, false},
                      WatchdogCase{"ButtonUpLongAndQuiet", 1, 70000, false, true}),
    [](const ::testing::TestParamInfo<WatchdogCase>& info) { return std::string(info.param.name); });

TEST(RendererSizeMoveTest, DeferredResizesAreCountedPerPause) {
    RendererSizeMove state;
    state.SetActive(true, 0);
    EXPECT_EQ(state.CountDeferredResize(), 1u);
    EXPECT_EQ(state.CountDeferredResize(), 2u);
    EXPECT_EQ(state.Paused(10), Skip::Active);
    state.SetActive(false, 20);
    EXPECT_EQ(state.SkippedResizes(), 0u);
    EXPECT_EQ(state.Paused(259), Skip::Cooldown);
    EXPECT_EQ(state.Paused(260), Skip::None);
}

} // namespace
