#include <gtest/gtest.h>

#include <vector>

#include "dragdrop/VirtualCursorMotion.h"

namespace {

class RecordingCursorSender final : public ICursorSender {
public:
    bool accept = true;
    std::vector<ScreenPoint> sent;
    std::vector<bool> priorities;
    bool SendCursor(ScreenPoint remote, bool priority) override {
        if (!accept)
            return false;
        sent.push_back(remote);
        priorities.push_back(priority);
        return true;
    }
};

class VirtualCursorMotionTest : public ::testing::Test {
protected:
    void SetUp() override { motion.Begin({0, 500}, {1000, 800}); }
    RawMotionResult Raw(int32_t dx, int32_t dy, uint32_t age = 0, bool ready = true) {
        return motion.OnRaw(kVirtualScreenRight, dx, dy, age, now, ready, sender);
    }

    VirtualCursorMotion motion;
    RecordingCursorSender sender;
    uint32_t now = 5000;
};

TEST_F(VirtualCursorMotionTest, FirstMoveSendsAtOnceAndLaterOnesWaitSixteenMilliseconds) {
    EXPECT_EQ(Raw(10, 0), RawMotionResult::Moved);
    ASSERT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(sender.sent[0], (ScreenPoint{10, 500}));
    EXPECT_FALSE(sender.priorities[0]);

    now += 15;
    Raw(5, 0);
    Raw(5, 1);
    EXPECT_EQ(sender.sent.size(), 1u) << "inside 16 ms the moves are held";
    EXPECT_TRUE(motion.MovePending());
    EXPECT_EQ(motion.Counters().coalesced, 1u);

    now += 1;
    motion.OnTimer(now, sender);
    ASSERT_EQ(sender.sent.size(), 2u);
    EXPECT_EQ(sender.sent[1], (ScreenPoint{20, 501}));
    EXPECT_FALSE(motion.MovePending());
    EXPECT_EQ(motion.Counters().raw, 3u);
    EXPECT_EQ(motion.Counters().sent, 2u);
}

TEST_F(VirtualCursorMotionTest, StaleMotionMovesTheCursorButIsSentOnlyByTheTimer) {
    Raw(10, 0, /*age*/ 81);
    EXPECT_TRUE(sender.sent.empty());
    EXPECT_EQ(motion.Remote(), (ScreenPoint{10, 500}));
    EXPECT_EQ(motion.Counters().stale, 1u);
    Raw(10, 0, /*age*/ 80);
    ASSERT_EQ(sender.sent.size(), 1u) << "80 ms is not yet stale";
    EXPECT_EQ(sender.sent[0], (ScreenPoint{20, 500}));
}

TEST_F(VirtualCursorMotionTest, ZeroMotionIsIgnoredAndAnUnchangedPositionSendsNothing) {
    EXPECT_EQ(Raw(0, 0), RawMotionResult::Ignored);
    EXPECT_EQ(motion.Counters().raw, 0u);
    Raw(0, -600); // clamped to the top
    now += 20;
    Raw(0, -600);
    EXPECT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(motion.Remote(), (ScreenPoint{0, 0}));
}

TEST_F(VirtualCursorMotionTest, GoingBackTenPixelsPastTheNearSideReturns) {
    // Mode 2: the peer stands to the right, so its near side is x = 0.
    EXPECT_EQ(Raw(-10, 0), RawMotionResult::Moved);
    EXPECT_EQ(motion.Remote().x, 0);
    EXPECT_EQ(Raw(-11, 0), RawMotionResult::BackToLocal);
    // Mode 1 returns past width + 10.
    motion.Begin({999, 0}, {1000, 800});
    EXPECT_EQ(motion.OnRaw(kVirtualScreenLeft, 10, 0, 0, now, true, sender), RawMotionResult::Moved);
    EXPECT_EQ(motion.OnRaw(kVirtualScreenLeft, 11, 0, 0, now, true, sender), RawMotionResult::BackToLocal);
}

TEST_F(VirtualCursorMotionTest, LostInputLeavesAndARefusedSendStaysPending) {
    EXPECT_EQ(Raw(3, 3, 0, /*ready*/ false), RawMotionResult::InputLost);
    sender.accept = false;
    Raw(3, 3);
    EXPECT_TRUE(motion.MovePending());
    EXPECT_EQ(motion.LastSendTick(), 0u);
    sender.accept = true;
    now += 1;
    motion.OnTimer(now, sender);
    EXPECT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(motion.LastSendTick(), now);
}

TEST_F(VirtualCursorMotionTest, SendClampsToTheRemoteSize) {
    motion.Begin({5000, -3}, {1000, 800});
    ASSERT_TRUE(motion.Send(now, true, sender));
    EXPECT_EQ(sender.sent.back(), (ScreenPoint{999, 0}));
    EXPECT_TRUE(sender.priorities.back());
}

} // namespace
