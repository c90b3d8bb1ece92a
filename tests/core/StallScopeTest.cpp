#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <latch>
#include <string>
#include <thread>
#include <vector>

#include "core/Log.h"
#include "core/StallScope.h"
#include "core/StallWatchdogPass.h"
#include "support/TestLog.h"

namespace {

// A clock the test moves by hand and a distinct id for every thread.
std::atomic<uint64_t> g_now{1000};
std::atomic<uint32_t> g_nextThreadId{500};
std::atomic<int> g_threadIdCalls{0}; // a slot search asks for the id first
thread_local uint32_t t_threadId = 0;

uint64_t FakeNow() {
    return g_now.load();
}
uint32_t FakeThreadId() {
    g_threadIdCalls.fetch_add(1);
    if (t_threadId == 0)
        t_threadId = g_nextThreadId.fetch_add(1);
    return t_threadId;
}

// Natively the C++ runtime runs thread_local destructors reliably, so one frees the slot.
struct SlotReleaser {
    int slot = -1;
    ~SlotReleaser() { ReleaseStallSlot(slot); }
};
thread_local SlotReleaser t_releaser;
void ReleaseAtThreadEnd(int slot) {
    t_releaser.slot = slot;
}

void RunOnNewThread(const std::function<void()>& body) {
    std::thread worker(body);
    worker.join();
}

int FreeSlotCount() {
    int free = 0;
    for (const StallSlot& s : ProcessStallState().slots)
        free += s.threadId.load() == 0 ? 1 : 0;
    return free;
}

std::vector<std::string> Matching(const std::vector<std::string>& lines, const std::string& needle) {
    std::vector<std::string> found;
    for (const std::string& line : lines)
        if (line.find(needle) != std::string::npos)
            found.push_back(line);
    return found;
}

// Scopes run on threads of their own, so each test starts with fresh per-thread slots and every slot is
// free again when its thread has ended.
class StallScopeTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_now = 1000;
        SetStallClock({&FakeNow, &FakeThreadId});
        SetStallThreadEndHook(&ReleaseAtThreadEnd);
        Log::Open();
        TestLog().Clear();
    }
    void TearDown() override {
        SetStallClock({});
        SetStallThreadEndHook(nullptr);
    }
};

TEST_F(StallScopeTest, EndLogsSlowExactlyWhenTheCostReachesTheBudget) {
    struct Case {
        const char* module;
        const char* operation;
        uint32_t thresholdMs;
        uint64_t costMs;
        const char* expected; // null: nothing logged
    };
    const Case cases[] = {
        {"Ui", "Paint", 0, 0, "[STALL][SLOW] tid=%u module=Ui op=Paint cost=0ms threshold=0ms"},
        {"Ui", "Paint", 0, 0, "[STALL][SLOW] tid=%u module=Ui op=Paint cost=0ms threshold=0ms"},
        {"Hid", "Write", 50, 49, nullptr},
        {"Hid", "Write", 50, 50, "[STALL][SLOW] tid=%u module=Hid op=Write cost=50ms threshold=50ms"},
        {"Hid", "Write", 50, 51, "[STALL][SLOW] tid=%u module=Hid op=Write cost=51ms threshold=50ms"},
        {nullptr, nullptr, 0, 7, "[STALL][SLOW] tid=%u module=? op=? cost=7ms threshold=0ms"},
    };
    for (const Case& c : cases) {
        TestLog().Clear();
        uint32_t tid = 0;
        RunOnNewThread([&] {
            tid = FakeThreadId();
            StallScope scope(c.module, c.operation, c.thresholdMs);
            g_now += c.costMs;
        });
        std::vector<std::string> expected;
        if (c.expected) {
            char line[160];
            std::snprintf(line, sizeof line, c.expected, tid);
            expected.push_back(line);
        }
        EXPECT_EQ(TestLog().Messages(), expected) << "threshold=" << c.thresholdMs << " cost=" << c.costMs;
    }
}

TEST_F(StallScopeTest, ZeroBudgetLogsAtEveryEndAndCountsCallsAndSlowOnes) {
    RunOnNewThread([] {
        int slot = StallScope::ClaimThreadSlot();
        ASSERT_GE(slot, 0);
        for (int i = 0; i < 3; ++i)
            StallScope scope("Ui", "Tick", 0);
        { StallScope withinBudget("Ui", "Tick", 10); }
        const StallSlot& s = ProcessStallState().slots[slot];
        EXPECT_EQ(s.calls.load(), 4u);
        EXPECT_EQ(s.slow.load(), 3u);
    });
    EXPECT_EQ(Matching(TestLog().Messages(), "[STALL][SLOW]").size(), 3u);
}

TEST_F(StallScopeTest, InnerScopeEndRestoresTheOuterOneAndTheWatchdogTimesItFromItsOwnStart) {
    RunOnNewThread([] {
        const StallSlot& s = ProcessStallState().slots[StallScope::ClaimThreadSlot()];
        uint32_t tid = FakeThreadId();
        {
            StallScope outer("Net", "Connect", 100); // starts at 1000
            g_now = 1030;
            {
                StallScope inner("Hid", "Open", 500);
                g_now = 1040;
                EXPECT_STREQ(s.module.load(), "Hid");
                EXPECT_EQ(s.startTick.load(), 1030u);
            }
            EXPECT_TRUE(s.active.load());
            EXPECT_STREQ(s.module.load(), "Net");
            EXPECT_STREQ(s.operation.load(), "Connect");
            EXPECT_EQ(s.startTick.load(), 1000u);
            EXPECT_EQ(s.thresholdMs.load(), 100u);

            // 60 ms after the inner scope ended the outer one has used its 100 ms.
            std::vector<std::string> lines = RunStallWatchdogPass(ProcessStallState(), 1100);
            ASSERT_FALSE(lines.empty());
            EXPECT_EQ(lines[0], "[STALL][WATCHDOG] tid=" + std::to_string(tid) +
                                    " running=100ms threshold=100ms module=Net op=Connect");
        }
        EXPECT_FALSE(s.active.load());
    });
}

TEST_F(StallScopeTest, ThreadBeyondTheTableGetsNoSlotAndIsNeverRecordedOrReported) {
    const int freeSlots = FreeSlotCount();
    ASSERT_GT(freeSlots, 0);
    std::latch claimed(freeSlots);
    std::latch release(1);
    std::atomic<int> withoutSlot{0};
    std::vector<std::thread> holders;
    for (int i = 0; i < freeSlots; ++i)
        holders.emplace_back([&] {
            if (StallScope::ClaimThreadSlot() < 0)
                ++withoutSlot;
            StallScope hold("Hold", "Wait", 1000000);
            claimed.count_down();
            release.wait();
        });
    claimed.wait();
    EXPECT_EQ(withoutSlot.load(), 0);
    EXPECT_EQ(FreeSlotCount(), 0);

    const uint64_t eventsBefore = ProcessStallState().eventCount.load();
    RunOnNewThread([] {
        EXPECT_EQ(StallScope::ClaimThreadSlot(), -1);
        StallScope unmonitored("Extra", "Overrun", 0);
        g_now += 5000;
    });
    EXPECT_EQ(ProcessStallState().eventCount.load(), eventsBefore);
    EXPECT_TRUE(Matching(TestLog().Messages(), "module=Extra").empty());
    // Far past every budget: each holder is reported, the thread without a slot is not.
    std::vector<std::string> report = RunStallWatchdogPass(ProcessStallState(), g_now + 2000000);
    EXPECT_EQ(Matching(report, "[STALL][WATCHDOG] tid=").size(), static_cast<size_t>(freeSlots));
    EXPECT_TRUE(Matching(report, "module=Extra").empty());

    release.count_down();
    for (std::thread& t : holders)
        t.join();
    EXPECT_EQ(FreeSlotCount(), freeSlots);
}

// A thread that finds the table full must not search all of it again at every scope; once a slot is freed
// it gets one.
TEST_F(StallScopeTest, AThreadThatFoundTheTableFullSearchesAgainOnlyAfterARelease) {
    std::vector<int> taken; // held by ids of threads that do not exist
    for (int i = 0; i < kStallSlotCount; ++i) {
        std::atomic<uint32_t>& id = ProcessStallState().slots[i].threadId;
        uint32_t expected = 0;
        if (id.compare_exchange_strong(expected, 900000u + static_cast<uint32_t>(i)))
            taken.push_back(i);
    }
    ASSERT_EQ(FreeSlotCount(), 0);

    int claimedAfterRelease = -1;
    int searches = -1;
    RunOnNewThread([&] {
        EXPECT_EQ(StallScope::ClaimThreadSlot(), -1);
        const int before = g_threadIdCalls.load();
        for (int i = 0; i < 1000; ++i)
            StallScope unmonitored("Busy", "Loop", 1000);
        searches = g_threadIdCalls.load() - before;

        ReleaseStallSlot(taken.back());
        StallScope monitored("Busy", "AfterRelease", 1000);
        claimedAfterRelease = StallScope::ClaimThreadSlot();
    });
    EXPECT_EQ(searches, 0);
    EXPECT_EQ(claimedAfterRelease, taken.back());

    taken.pop_back();
    for (int slot : taken)
        ReleaseStallSlot(slot);
}

TEST_F(StallScopeTest, SlotsOfEndedThreadsAreReusedSoShortLivedThreadsNeverRunOut) {
    const int freeSlots = FreeSlotCount();
    int lastSlot = -1;
    for (int i = 0; i < 3 * kStallSlotCount; ++i) {
        int slot = -1;
        RunOnNewThread([&] {
            StallScope scope("Tray", "Worker", 1000);
            slot = StallScope::ClaimThreadSlot();
        });
        ASSERT_GE(slot, 0) << "thread " << i << " found no slot";
        lastSlot = slot;
    }
    EXPECT_EQ(FreeSlotCount(), freeSlots);
    // A released slot starts clean for its next thread.
    const StallSlot& s = ProcessStallState().slots[lastSlot];
    EXPECT_EQ(s.threadId.load(), 0u);
    EXPECT_EQ(s.calls.load(), 0u);
    EXPECT_EQ(s.module.load(), nullptr);
}

TEST_F(StallScopeTest, ThreadTakesOverAnUnreleasedSlotOfAnEndedThreadWithItsId) {
    // A thread that ended inside a scope without its slot being released, and whose id is now reused.
    int stale = -1;
    for (int i = 0; i < kStallSlotCount && stale < 0; ++i)
        if (ProcessStallState().slots[i].threadId.load() == 0)
            stale = i;
    ASSERT_GE(stale, 0);
    StallSlot& s = ProcessStallState().slots[stale];
    s.threadId = 424242;
    s.module = "Gone";
    s.operation = "Midway";
    s.startTick = 900;
    s.active = true;
    RunOnNewThread([&s, stale] {
        t_threadId = 424242;
        EXPECT_EQ(StallScope::ClaimThreadSlot(), stale);
        { StallScope scope("Here", "Now", 1000); }
        EXPECT_FALSE(s.active.load()) << "the ended thread's scope came back";
        EXPECT_TRUE(RunStallWatchdogPass(ProcessStallState(), 100000).empty());
    });
    EXPECT_EQ(s.threadId.load(), 0u);
}

TEST_F(StallScopeTest, CostIsCappedAtTheLargest32BitValue) {
    RunOnNewThread([] {
        StallScope scope("Drag", "Drop", 200);
        g_now += (uint64_t{1} << 32) + 5;
    });
    const uint64_t endEvent = ProcessStallState().eventCount.load();
    const StallEvent& e = ProcessStallState().ring[endEvent % kStallRingSize];
    EXPECT_EQ(e.phase.load(), 'E');
    EXPECT_EQ(e.costMs.load(), 4294967295u);
    EXPECT_THAT(TestLog().Messages(), testing::ElementsAre(testing::EndsWith(
                                          " module=Drag op=Drop cost=4294967295ms threshold=200ms")));
}

TEST_F(StallScopeTest, BeginAndEndAppendNumberedEventsToTheRing) {
    StallState& state = ProcessStallState();
    const uint64_t before = state.eventCount.load();
    uint32_t tid = 0;
    RunOnNewThread([&] {
        tid = FakeThreadId();
        StallScope scope("Video", "Grab", 100);
        g_now += 12;
    });
    ASSERT_EQ(state.eventCount.load(), before + 2);
    const StallEvent& begin = state.ring[(before + 1) % kStallRingSize];
    const StallEvent& end = state.ring[(before + 2) % kStallRingSize];
    EXPECT_EQ(begin.sequence.load(), before + 1);
    EXPECT_EQ(begin.phase.load(), 'B');
    EXPECT_EQ(begin.threadId.load(), tid);
    EXPECT_EQ(begin.costMs.load(), 0u);
    EXPECT_EQ(begin.tick.load(), 1000u);
    EXPECT_EQ(end.sequence.load(), before + 2);
    EXPECT_EQ(end.phase.load(), 'E');
    EXPECT_EQ(end.costMs.load(), 12u);
    EXPECT_EQ(end.tick.load(), 1012u);
    EXPECT_STREQ(end.module.load(), "Video");
    EXPECT_STREQ(end.operation.load(), "Grab");
}

// Many threads enter and leave nested scopes while the watchdog reads the table: every event is counted
// once and (under ThreadSanitizer) no access is a data race.
TEST_F(StallScopeTest, ConcurrentScopesAndWatchdogPassesKeepExactCounts) {
    constexpr int kThreads = 8;
    constexpr int kRounds = 500;
    const int freeSlots = FreeSlotCount();
    const uint64_t before = ProcessStallState().eventCount.load();
    std::atomic<bool> done{false};
    std::thread watchdog([&] {
        for (int pass = 0; pass < 100000 && !done.load(); ++pass)
            RunStallWatchdogPass(ProcessStallState(),
                                 g_now.load() + 10000 + static_cast<uint64_t>(pass) * 2000);
    });
    std::vector<std::thread> workers;
    for (int t = 0; t < kThreads; ++t)
        workers.emplace_back([] {
            for (int i = 0; i < kRounds; ++i) {
                StallScope outer("Outer", "Loop", 5000);
                StallScope inner("Inner", "Step", 5000);
            }
        });
    for (std::thread& w : workers)
        w.join();
    done = true;
    watchdog.join();
    EXPECT_EQ(ProcessStallState().eventCount.load() - before, uint64_t{kThreads} * kRounds * 4);
    EXPECT_EQ(FreeSlotCount(), freeSlots);
    EXPECT_TRUE(Matching(TestLog().Messages(), "[STALL][SLOW]").empty());
}

} // namespace
