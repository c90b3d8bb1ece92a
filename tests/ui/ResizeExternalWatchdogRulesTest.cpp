// The external resize watchdog's decisions, poll by poll, at the edges of its time bounds.
#include <gtest/gtest.h>

#include "ui/ResizeExternalWatchdogRules.h"

namespace {

using Rules = ResizeExternalWatchdogRules;

constexpr uint64_t kStart = 50000;

Rules::Facts Up(uint64_t now) {
    Rules::Facts f;
    f.now = now;
    f.watchdogSequence = 7;
    f.sharedState = 1;
    return f;
}

TEST(ResizeExternalWatchdogRules, StopsWhenTheResizeMovedOnOrTheWindowWent) {
    struct Case {
        const char* name;
        uint32_t sequence;
        uint32_t state;
        uint64_t atMs;
        bool window;
        Rules::Stop stop;
    } cases[] = {
        {"running", 7, 1, 100, true, Rules::Stop::None},
        {"sequence changed", 8, 1, 100, true, Rules::Stop::SequenceChanged},
        {"state exiting", 7, 2, 100, true, Rules::Stop::StateLeftActive},
        {"state idle", 7, 0, 100, true, Rules::Stop::StateLeftActive},
        {"9999 ms", 7, 1, 9999, true, Rules::Stop::None},
        {"10000 ms", 7, 1, 10000, true, Rules::Stop::MaxLifetime},
        {"window gone", 7, 1, 100, false, Rules::Stop::WindowGone},
        {"sequence first", 9, 0, 20000, false, Rules::Stop::SequenceChanged},
    };
    for (const Case& c : cases) {
        Rules rules(7, kStart);
        Rules::Facts f = Up(kStart + c.atMs);
        f.watchdogSequence = c.sequence;
        f.sharedState = c.state;
        f.windowExists = c.window;
        f.leftButtonDown = true;
        EXPECT_EQ(rules.Decide(f).stop, c.stop) << c.name;
    }
}

TEST(ResizeExternalWatchdogRules, CancelsAfter520MsUpAndAgainOnlyAfter301Ms) {
    Rules rules(7, kStart);
    const uint64_t up = kStart + 80;
    Rules::Step first = rules.Decide(Up(up));
    EXPECT_TRUE(first.upObserved);
    EXPECT_TRUE(first.logStillActive);
    EXPECT_FALSE(first.modalRescue);
    EXPECT_FALSE(rules.Decide(Up(up + 519)).modalRescue);
    Rules::Step rescue = rules.Decide(Up(up + 520));
    EXPECT_TRUE(rescue.modalRescue);
    EXPECT_EQ(rescue.upMs, 520u);
    EXPECT_FALSE(rescue.upObserved);
    EXPECT_FALSE(rules.Decide(Up(up + 520 + 300)).modalRescue);
    Rules::Step again = rules.Decide(Up(up + 520 + 301));
    EXPECT_TRUE(again.modalRescue);
    EXPECT_EQ(again.lastRescueAgoMs, 301u);
}

TEST(ResizeExternalWatchdogRules, InjectsEscapeOnceAfter1350MsUp) {
    Rules rules(7, kStart);
    const uint64_t up = kStart + 80;
    rules.Decide(Up(up));
    EXPECT_FALSE(rules.Decide(Up(up + 1349)).escapeRescue);
    EXPECT_TRUE(rules.Decide(Up(up + 1350)).escapeRescue);
    Rules::Facts sent = Up(up + 1500);
    sent.escSent = true;
    EXPECT_FALSE(rules.Decide(sent).escapeRescue);
}

TEST(ResizeExternalWatchdogRules, AButtonPressStartsTheUpTimeAgain) {
    Rules rules(7, kStart);
    rules.Decide(Up(kStart + 80));
    Rules::Facts down = Up(kStart + 500);
    down.leftButtonDown = true;
    Rules::Step held = rules.Decide(down);
    EXPECT_FALSE(held.modalRescue || held.escapeRescue || held.logStillActive);
    EXPECT_TRUE(rules.Decide(Up(kStart + 600)).upObserved);
    EXPECT_FALSE(rules.Decide(Up(kStart + 600 + 519)).modalRescue);
    EXPECT_TRUE(rules.Decide(Up(kStart + 600 + 520)).modalRescue);
}

TEST(ResizeExternalWatchdogRules, TheStillActiveLineComesAtMostEvery500Ms) {
    Rules rules(7, kStart);
    int lines = 0;
    for (uint64_t t = 80; t <= 1040; t += 80)
        lines += rules.Decide(Up(kStart + t)).logStillActive ? 1 : 0;
    EXPECT_EQ(lines, 2); // at 80 and 640 (not 560: 480 ms after)
}

} // namespace
