#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/StallWatchdogPass.h"

namespace {

void Occupy(StallSlot& s, uint32_t tid, const char* module, const char* op, uint64_t start,
            uint32_t thresholdMs, uint64_t calls = 1, uint64_t slow = 0) {
    s.threadId = tid;
    s.active = true;
    s.module = module;
    s.operation = op;
    s.startTick = start;
    s.thresholdMs = thresholdMs;
    s.calls = calls;
    s.slow = slow;
}

std::vector<std::string> Starting(const std::vector<std::string>& lines, const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& line : lines)
        if (line.rfind(prefix, 0) == 0)
            found.push_back(line);
    return found;
}

TEST(StallWatchdogPass, ReportsOnlyActiveSlotsWithAStartThatHaveUsedTheirBudget) {
    struct Case {
        bool active;
        uint64_t start;
        uint32_t thresholdMs;
        uint64_t now;
        bool reported;
    };
    const Case cases[] = {
        {true, 1000, 100, 1100, true},   // exactly at the budget
        {true, 1000, 100, 1099, false},  // 1 ms short
        {true, 1000, 0, 1000, true},     // a zero budget is used up at once
        {false, 1000, 100, 5000, false}, // not in a scope
        {true, 0, 100, 5000, false},     // no start tick
        {true, 6000, 100, 5000, false},  // started after the pass read its time
    };
    for (const Case& c : cases) {
        auto state = std::make_unique<StallState>();
        Occupy(state->slots[3], 42, "Net", "Send", c.start, c.thresholdMs);
        state->slots[3].active = c.active;
        std::vector<std::string> lines = RunStallWatchdogPass(*state, c.now);
        EXPECT_EQ(!lines.empty(), c.reported)
            << "active=" << c.active << " start=" << c.start << " now=" << c.now;
        EXPECT_EQ(state->slots[3].reportTick.load(), c.reported ? c.now : 0u);
    }
}

TEST(StallWatchdogPass, WritesTheReportThenTheIncidentDump) {
    auto state = std::make_unique<StallState>();
    Occupy(state->slots[0], 7, "Net", "Connect", 1000, 100, 3, 1);
    Occupy(state->slots[5], 9, "Ui", "Paint", 1450, 1000, 5, 0); // active but within budget
    Occupy(state->slots[6], 11, nullptr, nullptr, 1200, 100);    // names missing
    state->slots[6].reportTick = 1400;                           // reported 100 ms ago: listed, not reported
    Occupy(state->slots[9], 13, "Idle", "Done", 1000, 1);
    state->slots[9].active = false; // has a thread but no scope: not listed
    AppendStallEvent(*state, 1000, 7, "Net", "Connect", 0, 'B');
    AppendStallEvent(*state, 1440, 9, "Ui", "Paint", 0, 'B');
    AppendStallEvent(*state, 1490, 9, nullptr, "Paint", 40, 'E');

    EXPECT_THAT(RunStallWatchdogPass(*state, 1500),
                testing::ElementsAre(
                    "[STALL][WATCHDOG] tid=7 running=500ms threshold=100ms module=Net op=Connect",
                    "[STALL][INCIDENT] active-threads begin",
                    "[STALL][ACTIVE] tid=7 running=500ms module=Net op=Connect calls=3 slow=1",
                    "[STALL][ACTIVE] tid=9 running=50ms module=Ui op=Paint calls=5 slow=0",
                    "[STALL][ACTIVE] tid=11 running=300ms module=? op=? calls=1 slow=0",
                    "[STALL][INCIDENT] active-threads end", "[STALL][INCIDENT] recent-events begin newest=3",
                    "[STALL][EVENT] age=500ms tid=7 phase=B module=Net op=Connect cost=0ms",
                    "[STALL][EVENT] age=60ms tid=9 phase=B module=Ui op=Paint cost=0ms",
                    "[STALL][EVENT] age=10ms tid=9 phase=E module=? op=Paint cost=40ms",
                    "[STALL][INCIDENT] recent-events end"));
}

TEST(StallWatchdogPass, ReReportsAStuckSlotEvery2000MsEachTimeWithAFullDump) {
    auto state = std::make_unique<StallState>();
    Occupy(state->slots[1], 21, "Hid", "Write", 1000, 100);
    AppendStallEvent(*state, 1000, 21, "Hid", "Write", 0, 'B');
    std::vector<uint64_t> reportTimes;
    for (uint64_t now = 1000; now <= 7000; now += 100) {
        std::vector<std::string> lines = RunStallWatchdogPass(*state, now);
        if (lines.empty())
            continue;
        reportTimes.push_back(now);
        EXPECT_EQ(Starting(lines, "[STALL][WATCHDOG] tid=21 ").size(), 1u);
        EXPECT_EQ(Starting(lines, "[STALL][ACTIVE] tid=21 ").size(), 1u);
        EXPECT_EQ(Starting(lines, "[STALL][EVENT] ").size(), 1u);
        EXPECT_EQ(lines.back(), "[STALL][INCIDENT] recent-events end");
    }
    EXPECT_THAT(reportTimes, testing::ElementsAre(1100, 3100, 5100));
}

TEST(StallWatchdogPass, DumpListsTheLast24EventsStartingAtEventOneWhileThereAreFewer) {
    struct Case {
        int events;
        uint32_t firstCost; // each event carries its number as cost
        uint32_t lastCost;
    };
    const Case cases[] = {{1, 1, 1}, {10, 1, 10}, {24, 1, 24}, {25, 2, 25}, {300, 277, 300}};
    for (const Case& c : cases) {
        auto state = std::make_unique<StallState>();
        Occupy(state->slots[0], 5, "Drag", "Move", 1000, 10);
        for (int n = 1; n <= c.events; ++n)
            AppendStallEvent(*state, 1000, 5, "Drag", "Move", static_cast<uint32_t>(n), 'E');
        std::vector<std::string> events = Starting(RunStallWatchdogPass(*state, 2000), "[STALL][EVENT] ");
        ASSERT_EQ(events.size(), c.lastCost - c.firstCost + 1) << c.events << " events";
        EXPECT_THAT(events.front(), testing::EndsWith(" cost=" + std::to_string(c.firstCost) + "ms"));
        EXPECT_THAT(events.back(), testing::EndsWith(" cost=" + std::to_string(c.lastCost) + "ms"));
    }
}

TEST(StallWatchdogPass, DumpSkipsAnEventWhoseEntryIsNotWrittenYet) {
    auto state = std::make_unique<StallState>();
    Occupy(state->slots[0], 5, "Drag", "Move", 1000, 10);
    for (int n = 1; n <= 5; ++n)
        AppendStallEvent(*state, 1000, 5, "Drag", "Move", static_cast<uint32_t>(n), 'B');
    // A writer has taken event number 6 but not yet filled its entry.
    state->eventCount = 6;
    std::vector<std::string> lines = RunStallWatchdogPass(*state, 2000);
    EXPECT_EQ(Starting(lines, "[STALL][INCIDENT] recent-events begin newest=6").size(), 1u);
    std::vector<std::string> events = Starting(lines, "[STALL][EVENT] ");
    ASSERT_EQ(events.size(), 5u);
    EXPECT_THAT(events.back(), testing::EndsWith(" cost=5ms"));
}

TEST(StallWatchdogPass, RingKeepsEventNInEntryNModulo256) {
    auto state = std::make_unique<StallState>();
    for (uint64_t n = 1; n <= 300; ++n)
        EXPECT_EQ(AppendStallEvent(*state, n, 1, "M", "O", 0, 'B'), n);
    EXPECT_EQ(state->ring[44].sequence.load(), 300u);
    EXPECT_EQ(state->ring[44].tick.load(), 300u);
    EXPECT_EQ(state->ring[1].sequence.load(), 257u);
    EXPECT_EQ(state->ring[45].sequence.load(), 45u);
    EXPECT_EQ(state->ring[0].sequence.load(), 256u);
}

TEST(StallWatchdogPass, StartLineNamesPollAndVersion) {
    EXPECT_EQ(StallWatchdogStartLine(), "[STALL][WATCHDOG] start poll=100ms version=20260827.3");
}

} // namespace
