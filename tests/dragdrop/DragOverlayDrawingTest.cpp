#include <gtest/gtest.h>

#include <algorithm>

#include "dragdrop/DragOverlayDrawing.h"
#include "dragdrop/RemoteDragSlot.h"
#include "dragdrop/VirtualScreenEdge.h"

namespace {

using Kind = OverlayPrimitive::Kind;

TEST(DragOverlayPrimitives, ColourKeyFirstThenShadowPageBadgeAndPlus) {
    const auto p = DragOverlayPrimitives(54, 38);
    ASSERT_GE(p.size(), 5u);
    // The key colour covers the whole client rect first, so everything not drawn is transparent.
    EXPECT_EQ(p[0].kind, Kind::FillRect);
    EXPECT_EQ(p[0].fill, kOverlayColorKey);
    EXPECT_EQ(std::tie(p[0].left, p[0].top, p[0].right, p[0].bottom), std::make_tuple(0, 0, 54, 38));
    // Shadow before the page so the page lies on it.
    EXPECT_EQ(std::tie(p[1].left, p[1].top, p[1].right, p[1].bottom), std::make_tuple(6, 6, 36, 34));
    EXPECT_EQ(p[1].fill, (OverlayColor{80, 80, 80}));
    EXPECT_EQ(std::tie(p[2].left, p[2].top, p[2].right, p[2].bottom), std::make_tuple(4, 4, 34, 32));
    EXPECT_EQ(p[2].fill, (OverlayColor{255, 255, 255}));

    const auto badge =
        std::find_if(p.begin(), p.end(), [](const OverlayPrimitive& q) { return q.kind == Kind::Ellipse; });
    ASSERT_NE(badge, p.end());
    EXPECT_EQ(std::tie(badge->left, badge->top, badge->right, badge->bottom),
              std::make_tuple(28, 18, 52, 36));
    EXPECT_EQ(badge->fill, (OverlayColor{38, 180, 68}));
    EXPECT_EQ(badge->pen, (OverlayColor{18, 110, 40}));

    // The plus comes after the badge (or it would be painted over) with a 3-pixel white pen.
    std::vector<std::vector<std::pair<int32_t, int32_t>>> plus;
    for (auto it = badge + 1; it != p.end(); ++it) {
        EXPECT_EQ(it->kind, Kind::Polyline);
        EXPECT_EQ(it->penWidth, 3);
        EXPECT_EQ(it->pen, (OverlayColor{255, 255, 255}));
        plus.push_back(it->points);
    }
    using Pts = std::vector<std::pair<int32_t, int32_t>>;
    EXPECT_EQ(plus, (std::vector<Pts>{Pts{{40, 23}, {40, 31}}, Pts{{36, 27}, {44, 27}}}));
}

TEST(DragOverlayPrimitives, FoldedCornerAndTextLinesFollowThePage) {
    const auto p = DragOverlayPrimitives(54, 38);
    using Pts = std::vector<std::pair<int32_t, int32_t>>;
    std::vector<Pts> thinLines;
    for (const auto& q : p)
        if (q.kind == Kind::Polyline && q.penWidth == 1)
            thinLines.push_back(q.points);
    EXPECT_EQ(thinLines, (std::vector<Pts>{Pts{{25, 4}, {25, 13}, {34, 13}}, Pts{{9, 19}, {29, 19}},
                                           Pts{{9, 25}, {27, 25}}}));
}

TEST(EdgeDropDecision, OnlyAnActiveModeAtItsEdgeDropsToThePeer) {
    EXPECT_EQ(DecideEdgeDrop(0, true), EdgeDropDecision::SkipModeOff) << "mode off wins over the edge";
    EXPECT_EQ(DecideEdgeDrop(0, false), EdgeDropDecision::SkipModeOff);
    EXPECT_EQ(DecideEdgeDrop(2, false), EdgeDropDecision::SkipNotEdge);
    EXPECT_EQ(DecideEdgeDrop(2, true), EdgeDropDecision::DropToRemote);
}

TEST(VirtualScreenEdge, DefaultIsOffWithNoEdgeAndDropsNothing) {
    IVirtualScreenEdge& edge = VirtualScreenEdge();
    EXPECT_EQ(edge.Mode(), 0);
    EXPECT_FALSE(edge.IsPointAtEdge(0, 0));
    EXPECT_FALSE(edge.DropFilesToRemote({u"x"}, 0, 0, "r"));
}

TEST(RemoteDragSlot, ArmsAHeldOfferOnceAndOnlyOnTheController) {
    RemoteDragSlot slot;
    uint64_t id = 0;
    EXPECT_FALSE(slot.Arm(1, id)) << "nothing held";
    slot.Hold(77, 1, 0);
    EXPECT_FALSE(slot.Arm(2, id)) << "the controlled PC does not arm";
    EXPECT_FALSE(slot.Read().armed);
    EXPECT_TRUE(slot.Arm(1, id));
    EXPECT_EQ(id, 77u);
    EXPECT_FALSE(slot.Arm(1, id)) << "armed already";
    EXPECT_TRUE(slot.Read().armed);
    slot.Hold(78, 1, 0);
    EXPECT_FALSE(slot.Read().armed) << "a new offer starts unarmed";
    slot.Clear();
    EXPECT_FALSE(slot.IsHeld());
}

TEST(RemoteDragSlot, AClearKeepsTheConsumedRecordThatCatchesASecondRelease) {
    RemoteDragSlot slot;
    slot.Hold(90, 3, 4096);
    EXPECT_EQ(slot.Read().count, 3u);
    EXPECT_EQ(slot.Read().bytes, 4096u);
    slot.MarkConsumed(90, 1234);
    slot.Clear();
    const RemoteDragSlot::State state = slot.Read();
    EXPECT_FALSE(state.held);
    EXPECT_EQ(state.count, 0u);
    EXPECT_EQ(state.consumedDragId, 90u);
    EXPECT_EQ(state.consumedTick, 1234u);
}

} // namespace
