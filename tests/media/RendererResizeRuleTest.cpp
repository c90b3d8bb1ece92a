#include <gtest/gtest.h>

#include <cstdint>

#include "media/RendererResizeRule.h"
#include "media/RendererSizeMove.h"

namespace {

using Action = RendererResizeRule::Action;

class RendererResizeRuleTest : public ::testing::Test {
protected:
    RendererSizeMove sizeMove;
    RendererResizeRule rule{sizeMove};
};

TEST_F(RendererResizeRuleTest, SizesBelowOneAreRefusedAndTheFirstDrawResizesAtOnce) {
    EXPECT_EQ(rule.Decide(0, 720, 1280, 720, true, 0), Action::Refuse);
    EXPECT_EQ(rule.Decide(1280, -1, 1280, 720, true, 0), Action::Refuse);
    sizeMove.SetActive(true, 0); // even during the loop: there is nothing to draw into yet
    EXPECT_EQ(rule.Decide(800, 600, 1280, 720, false, 10), Action::Apply);
    EXPECT_EQ(rule.Decide(1280, 720, 1280, 720, true, 10), Action::Keep);
}

TEST_F(RendererResizeRuleTest, ANewSizeIsAppliedOnceItHasHeldFor320Ms) {
    EXPECT_EQ(rule.Decide(800, 600, 1280, 720, true, 1000), Action::Wait);
    EXPECT_TRUE(rule.Pending());
    EXPECT_EQ(rule.Decide(800, 600, 1280, 720, true, 1319), Action::Wait);
    EXPECT_EQ(rule.Decide(800, 600, 1280, 720, true, 1320), Action::Apply);
    EXPECT_FALSE(rule.Pending());
    EXPECT_EQ(rule.Decide(800, 600, 800, 600, true, 1321), Action::Keep);
}

TEST_F(RendererResizeRuleTest, AChangedRequestRestartsTheWait) {
    EXPECT_EQ(rule.Decide(800, 600, 1280, 720, true, 1000), Action::Wait);
    EXPECT_EQ(rule.Decide(802, 600, 1280, 720, true, 1300), Action::Wait);
    EXPECT_EQ(rule.Decide(802, 600, 1280, 720, true, 1619), Action::Wait);
    EXPECT_EQ(rule.Decide(802, 600, 1280, 720, true, 1620), Action::Apply); // the second came within 500 ms
}

TEST_F(RendererResizeRuleTest, BackToTheCurrentSizeDropsThePendingRequest) {
    EXPECT_EQ(rule.Decide(800, 600, 1280, 720, true, 1000), Action::Wait);
    EXPECT_EQ(rule.Decide(1280, 720, 1280, 720, true, 1100), Action::Keep);
    EXPECT_FALSE(rule.Pending());
    // The old request does not count its earlier tick: a new wait starts.
    EXPECT_EQ(rule.Decide(800, 600, 1280, 720, true, 1400), Action::Wait);
    EXPECT_EQ(rule.Decide(800, 600, 1280, 720, true, 1500), Action::Wait);
}

TEST_F(RendererResizeRuleTest, ADragEndsWithOneResizeAfterCooldownPlusStability) {
    sizeMove.SetActive(true, 0);
    for (uint64_t t = 0; t < 1000; t += 16)
        EXPECT_EQ(rule.Decide(900 + static_cast<int32_t>(t / 16) * 2, 600, 1280, 720, true, t), Action::Wait);
    EXPECT_EQ(sizeMove.SkippedResizes(), 63u);
    sizeMove.SetActive(false, 1000);
    // Cool-down: still deferred, also with the final size.
    EXPECT_EQ(rule.Decide(1600, 900, 1280, 720, true, 1100), Action::Wait);
    EXPECT_EQ(rule.Decide(1600, 900, 1280, 720, true, 1239), Action::Wait);
    // After the cool-down the final size must hold 320 ms of its own.
    EXPECT_EQ(rule.Decide(1600, 900, 1280, 720, true, 1240), Action::Wait);
    EXPECT_EQ(rule.Decide(1600, 900, 1280, 720, true, 1559), Action::Wait);
    EXPECT_EQ(rule.Decide(1600, 900, 1280, 720, true, 1560), Action::Apply); // 1, 31, 61 of 63
}

} // namespace
