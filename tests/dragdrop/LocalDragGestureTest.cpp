#include <gtest/gtest.h>

#include "dragdrop/LocalDragGesture.h"

namespace {

class FakeProbe final : public IGestureProbe {
public:
    bool overRemoteView = false;
    bool transferActive = false;
    int overRemoteViewCalls = 0;
    bool IsOverRemoteView(ScreenPoint) override {
        ++overRemoteViewCalls;
        return overRemoteView;
    }
    bool IsRemoteTransferActive() override { return transferActive; }
};

class LocalDragGestureTest : public ::testing::Test {
protected:
    GestureStep Held(ScreenPoint p, bool atEdge = false, bool selectionIdle = true) {
        return gesture.Poll(true, p, atEdge, selectionIdle, probe);
    }
    GestureStep Up() { return gesture.Poll(false, {}, false, true, probe); }

    LocalDragGesture gesture;
    FakeProbe probe;
};

TEST_F(LocalDragGestureTest, AClickWithoutMovementStartsAndEndsWithoutAFill) {
    EXPECT_EQ(Up().kind, GestureStepKind::Idle);
    EXPECT_EQ(Held({100, 100}).kind, GestureStepKind::Started);
    EXPECT_EQ(gesture.Id(), 1u);
    const GestureStep still = Held({100, 100});
    EXPECT_EQ(still.kind, GestureStepKind::Moving);
    EXPECT_FALSE(still.startFill);
    EXPECT_EQ(Up().kind, GestureStepKind::Released);
    gesture.Reset();
    EXPECT_EQ(Up().kind, GestureStepKind::Idle);
    Held({0, 0});
    EXPECT_EQ(gesture.Id(), 2u) << "each gesture takes the next id";
}

TEST_F(LocalDragGestureTest, TheFillStartsAtTwelvePixels) {
    Held({100, 100});
    EXPECT_FALSE(Held({111, 100}).startFill) << "dist2 121";
    const GestureStep at12 = Held({112, 100});
    EXPECT_EQ(at12.dist2, 144);
    EXPECT_TRUE(at12.startFill);
    EXPECT_FALSE(Held({120, 100}, false, /*selectionIdle*/ false).startFill) << "a fill runs or is cached";
}

TEST_F(LocalDragGestureTest, MovingMoreThanFourteenHundredPixelsCancelsOnce) {
    Held({0, 0});
    EXPECT_EQ(Held({1400, 0}).kind, GestureStepKind::Moving) << "dist2 exactly 1,960,000";
    EXPECT_EQ(Held({1400, 1}).kind, GestureStepKind::CancelledTooFar);
    EXPECT_TRUE(gesture.Cancelled());
    EXPECT_EQ(Held({1500, 1}).kind, GestureStepKind::Moving);
}

TEST_F(LocalDragGestureTest, TheEdgeWinsOverTheCancelAndEscIsSentOncePerGesture) {
    Held({0, 0});
    EXPECT_EQ(Held({1919, 0}, /*atEdge*/ true).kind, GestureStepKind::AtEdge);
    EXPECT_TRUE(gesture.MarkNativeCancel());
    EXPECT_FALSE(gesture.MarkNativeCancel());
    EXPECT_EQ(Held({1919, 2}, true).kind, GestureStepKind::AtEdge) << "cancelled, still at the edge";
    gesture.Reset();
    Held({0, 0});
    EXPECT_TRUE(gesture.MarkNativeCancel()) << "a new gesture cancels again";
}

TEST_F(LocalDragGestureTest, AStartOverRemoteViewDuringATransferIsSuppressedAndNeverFills) {
    probe.overRemoteView = true;
    probe.transferActive = true;
    EXPECT_EQ(Held({10, 10}).kind, GestureStepKind::StartedSuppressed);
    EXPECT_TRUE(gesture.Cancelled());
    EXPECT_FALSE(Held({100, 100}).startFill);

    gesture.Reset();
    probe.transferActive = false;
    EXPECT_EQ(Held({10, 10}).kind, GestureStepKind::Started);
    EXPECT_TRUE(gesture.StartInRemoteView());
    EXPECT_FALSE(Held({100, 100}).startFill) << "a start in RemoteView reads no local selection";
}

TEST_F(LocalDragGestureTest, TheRemoteViewNoteIsGivenOnceAfterTwelvePixels) {
    Held({10, 10});
    probe.overRemoteView = true;
    EXPECT_FALSE(Held({15, 10}).firstNoProbeOverRemote);
    EXPECT_TRUE(Held({30, 10}).firstNoProbeOverRemote);
    EXPECT_FALSE(Held({40, 10}).firstNoProbeOverRemote);
}

} // namespace
