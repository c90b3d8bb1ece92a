#include <gtest/gtest.h>

#include "dragdrop/VirtualScreenHookRules.h"
#include "dragdrop/VirtualScreenPackets.h"

namespace {

HookFacts OnPeer(uint32_t message) {
    HookFacts f;
    f.mode = kVirtualScreenRight;
    f.active = true;
    f.inputReady = true;
    f.message = message;
    return f;
}

HookFacts LocalMove(ScreenPoint last, ScreenPoint point) {
    HookFacts f;
    f.mode = kVirtualScreenRight;
    f.message = HookMessage::kMouseMove;
    f.atCrossingEdge = true;
    f.lastPointValid = true;
    f.lastPoint = last;
    f.point = point;
    return f;
}

TEST(VirtualScreenHookRules, OnThePeerMovesArePinnedAndButtonsAndWheelsForwarded) {
    struct Case {
        const char* name;
        HookFacts facts;
        HookAction action;
    };
    HookFacts injected = OnPeer(HookMessage::kLButtonDown);
    injected.injected = true;
    HookFacts notReady = OnPeer(HookMessage::kMouseMove);
    notReady.inputReady = false;
    HookFacts fileDragMove = OnPeer(HookMessage::kMouseMove);
    fileDragMove.localFileDrag = true;
    HookFacts fileDragUp = OnPeer(HookMessage::kRButtonUp);
    fileDragUp.localFileDrag = true;
    HookFacts oleDragDown = OnPeer(HookMessage::kLButtonDown);
    oleDragDown.oleDragOverEdge = true;
    HookFacts off = OnPeer(HookMessage::kMouseMove);
    off.mode = 0;
    const Case cases[] = {
        {"move pinned", OnPeer(HookMessage::kMouseMove), HookAction::PinAndSwallow},
        {"left down forwarded", OnPeer(HookMessage::kLButtonDown), HookAction::ForwardButton},
        {"middle double-click forwarded", OnPeer(HookMessage::kMButtonDblClk), HookAction::ForwardButton},
        {"right up forwarded", OnPeer(HookMessage::kRButtonUp), HookAction::ForwardButton},
        {"wheel forwarded", OnPeer(HookMessage::kMouseWheel), HookAction::ForwardWheel},
        {"horizontal wheel forwarded", OnPeer(HookMessage::kMouseHWheel), HookAction::ForwardWheel},
        {"x button passes", OnPeer(0x020B), HookAction::PassOn},
        {"injected passes", injected, HookAction::PassOn},
        {"input lost leaves", notReady, HookAction::LeaveInputLost},
        {"file drag move pinned but passed", fileDragMove, HookAction::PinAndPass},
        {"file drag ends on any button up", fileDragUp, HookAction::EndLocalDrag},
        {"ole drag passes a press", oleDragDown, HookAction::PassOn},
        {"mode off passes", off, HookAction::PassOn},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecideHookAction(c.facts), c.action) << c.name;
}

TEST(VirtualScreenHookRules, LocalMovesEnterOnlyOutwardAtTheEdgeWithNoButtonHeld) {
    EXPECT_EQ(DecideHookAction(LocalMove({1917, 5}, {1919, 5})), HookAction::EnterAtEdge);
    EXPECT_EQ(DecideHookAction(LocalMove({1919, 5}, {1918, 5})), HookAction::PassOn) << "inward";
    HookFacts held = LocalMove({1917, 5}, {1919, 5});
    held.anyButtonDown = true;
    EXPECT_EQ(DecideHookAction(held), HookAction::PassOn) << "a held button";
    HookFacts overMain = LocalMove({1917, 5}, {1919, 5});
    overMain.overMainWindow = true;
    EXPECT_EQ(DecideHookAction(overMain), HookAction::PassOn) << "over the main window";
    HookFacts noLast = LocalMove({1917, 5}, {1919, 5});
    noLast.lastPointValid = false;
    EXPECT_EQ(DecideHookAction(noLast), HookAction::PassOn) << "no last point";
    HookFacts notEdge = LocalMove({1900, 5}, {1910, 5});
    notEdge.atCrossingEdge = false;
    EXPECT_EQ(DecideHookAction(notEdge), HookAction::PassOn) << "not at the edge";
}

TEST(VirtualScreenHookRules, ThePhysicalReleaseOfAPendingDragOutIsPostedAndSwallowed) {
    HookFacts up;
    up.mode = kVirtualScreenLeft;
    up.message = HookMessage::kLButtonUp;
    up.dragOutPending = true;
    up.offerHeld = true;
    EXPECT_EQ(DecideHookAction(up), HookAction::PostDragOutDrop);
    up.offerHeld = false;
    EXPECT_EQ(DecideHookAction(up), HookAction::PassOn) << "the offer went away";
    up.offerHeld = true;
    up.injected = true;
    EXPECT_EQ(DecideHookAction(up), HookAction::PassOn) << "an injected release";
}

TEST(VirtualScreenHookRules, OnlyPhysicalLeftPressesAndReleasesTrackTheButton) {
    EXPECT_TRUE(TrackLeftButton(false, HookMessage::kLButtonDown, false));
    EXPECT_TRUE(TrackLeftButton(false, HookMessage::kLButtonDblClk, false));
    EXPECT_FALSE(TrackLeftButton(false, HookMessage::kLButtonDown, true));
    EXPECT_FALSE(TrackLeftButton(true, HookMessage::kLButtonUp, false));
    EXPECT_TRUE(TrackLeftButton(true, HookMessage::kLButtonUp, true));
    EXPECT_TRUE(TrackLeftButton(true, HookMessage::kRButtonUp, false));
}

} // namespace
