// The long-transfer tracking over transfer events, the late show's decision, the file-drop decision chain
// and the notification text of the tray balloon.
#include <gtest/gtest.h>

#include "core/Utf.h"
#include "ui/DroppedFilesDecision.h"
#include "ui/LongTransferDecisions.h"
#include "ui/NotificationText.h"

namespace {

TEST(LongTransfer, EventsStartTrackingOncePerIdAndResetWhenIdle) {
    LongTransferTracking t;
    TransferEventOutcome o = OnTransferEvent(t, true, {1, 7, 100}, 1000);
    EXPECT_TRUE(o.started);
    EXPECT_TRUE(o.arm);
    EXPECT_EQ(t.id, 7u);
    EXPECT_EQ(t.startTick, 1000u);

    t.shown = true;
    o = OnTransferEvent(t, true, {2, 7, 100}, 1500);
    EXPECT_FALSE(o.started) << "same id keeps its start";
    EXPECT_TRUE(o.arm);
    EXPECT_EQ(t.startTick, 1000u);
    EXPECT_TRUE(t.shown);

    o = OnTransferEvent(t, true, {1, 8, 5}, 2000);
    EXPECT_TRUE(o.started);
    EXPECT_FALSE(t.shown) << "a new transfer is not shown yet";

    o = OnTransferEvent(t, true, {3, 8, 5}, 2100);
    EXPECT_FALSE(o.arm);
    EXPECT_EQ(o.resetId, 8u);
    EXPECT_EQ(t.id, 0u);
    o = OnTransferEvent(t, true, {0, 0, 0}, 2200);
    EXPECT_EQ(o.resetId, 0u) << "nothing tracked, nothing to log";
}

TEST(LongTransfer, NotControllerResetsEvenWhileMoving) {
    LongTransferTracking t{5, 10, false};
    TransferEventOutcome o = OnTransferEvent(t, false, {1, 5, 1}, 20);
    EXPECT_FALSE(o.arm);
    EXPECT_EQ(o.resetId, 5u);
}

TEST(LongTransfer, ShowDecision) {
    struct Case {
        const char* name;
        bool controller;
        TransferUiSnapshot snapshot;
        uint64_t posted;
        bool onTop;
        LongShowAction action;
        bool shown;
    } cases[] = {
        {"not controller", false, {1, 4, 0}, 4, false, LongShowAction::SkipNotController, false},
        {"other id", true, {1, 5, 0}, 4, false, LongShowAction::SkipIdChanged, false},
        {"finished", true, {3, 4, 0}, 4, false, LongShowAction::SkipIdChanged, false},
        {"already on top", true, {2, 4, 0}, 4, true, LongShowAction::RefreshOnly, true},
        {"behind", true, {1, 4, 0}, 4, false, LongShowAction::BringForward, true},
    };
    for (const Case& c : cases) {
        LongTransferTracking t{4, 0, false};
        EXPECT_EQ(DecideLongTransferShow(t, c.controller, c.snapshot, c.posted, c.onTop), c.action) << c.name;
        EXPECT_EQ(t.shown, c.shown) << c.name;
    }
}

TEST(LongTransfer, DelayIsClamped) {
    EXPECT_EQ(ClampLongTransferDelay(0), 1000u);
    EXPECT_EQ(ClampLongTransferDelay(5000), 5000u);
    EXPECT_EQ(ClampLongTransferDelay(60001), 60000u);
}

TEST(DroppedFiles, FirstApplicableRuleDecides) {
    auto facts = [](int32_t mode, bool edge, bool enabled, bool running, size_t count, bool active) {
        return DropFacts{mode, edge, enabled, running, count, active};
    };
    struct Case {
        const char* name;
        DropFacts f;
        DropAction action;
    } cases[] = {
        {"edge guard before everything", facts(2, true, false, false, 0, false),
         DropAction::IgnoreVirtualEdge},
        {"near an edge that is off", facts(0, true, true, true, 2, true), DropAction::Offer},
        {"sharing off", facts(0, false, false, true, 2, true), DropAction::FailDisabled},
        {"not running", facts(0, false, true, false, 2, true), DropAction::IgnoreNotRunning},
        {"empty list", facts(0, false, true, true, 0, true), DropAction::FailEmpty},
        {"no live peer", facts(1, false, true, true, 3, false), DropAction::FailNotReady},
        {"offer", facts(1, false, true, true, 3, true), DropAction::Offer},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecideDroppedFiles(c.f), c.action) << c.name;
}

TEST(NotificationText, BodyAfterFirstNewlineAndTimeoutDefault) {
    struct Case {
        const char* name;
        std::string text;
        int64_t v1, v2;
        const char* body;
        uint32_t flags, timeout;
    } cases[] = {
        {"title and body", "Title\nBody text", 1, 3000, "Body text", 1, 3000},
        {"only the first newline splits", "T\nline1\nline2", 2, 0, "line1\nline2", 2, 2000},
        {"no newline: all body", "Just this", 0, 0, "Just this", 0, 2000},
        {"empty body", "Title\n", 0, 5, "", 0, 5},
        {"negative values", "a\nb", -1, -5, "b", 0, 2000},
        {"huge time-out capped", "a\nb", 0x1'0000'0000LL, 0x1'0000'0000LL, "b", 0, 0xFFFFFFFFu},
    };
    for (const Case& c : cases) {
        BalloonRequest r = BalloonFromNotification(c.text, c.v1, c.v2);
        EXPECT_EQ(r.body, c.body) << c.name;
        EXPECT_EQ(r.infoFlags, c.flags) << c.name;
        EXPECT_EQ(r.timeoutMs, c.timeout) << c.name;
    }
}

TEST(NotificationText, Utf16CutKeepsSurrogatePairsWhole) {
    std::u16string text = u"ab\U0001F600c";
    EXPECT_EQ(HeadUtf16(text, 3), u"ab") << "a pair cut in half is left out";
    EXPECT_EQ(HeadUtf16(text, 4), u"ab\U0001F600");
    EXPECT_EQ(HeadUtf16(text, 10), text);
    EXPECT_EQ(HeadUtf16(text, 0), u"");
}

} // namespace
