// The controller's visibility sync: the delay rules, the turn's decision as a table, and the worker run as
// scripted scenarios over a fake clock and a fake sender.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "VideoSyncTestSupport.h"
#include "core/Log.h"
#include "link/DiscoveryRun.h"
#include "link/VideoSyncState.h"
#include "link/VisibilitySync.h"
#include "support/TestLog.h"

namespace {

TEST(VisibilitySyncDelays, RetryDelayGrowsWithFailuresAndRefreshDependsOnHidden) {
    const uint32_t expected[] = {300, 300, 1000, 1000, 1000, 2000, 2000, 2000};
    for (uint32_t failures = 0; failures < 8; ++failures)
        EXPECT_EQ(VisibilityRetryDelayMs(failures), expected[failures]) << "failures=" << failures;
    EXPECT_EQ(VisibilityRetryDelayMs(1000), 2000u);
    EXPECT_EQ(VisibilityRefreshMs(true), 2000u);
    EXPECT_EQ(VisibilityRefreshMs(false), 5000u);
}

struct PlanCase {
    const char* name;
    VisibilitySyncMemory memory;
    VisibilityFacts facts;
    bool send;
    const char* reason;
};

VisibilitySyncMemory Confirmed(uint32_t seq, bool hidden, uint32_t at) {
    VisibilitySyncMemory m;
    m.peer = "10.0.0.2";
    m.confirmedSeq = seq;
    m.confirmedHidden = hidden;
    m.confirmed = true;
    m.confirmTick = at;
    m.attempted = true;
    m.attemptTick = at;
    return m;
}

VisibilitySyncMemory Failing(uint32_t failures, uint32_t lastAttempt) {
    VisibilitySyncMemory m = Confirmed(3, false, 0);
    m.confirmed = false;
    m.failures = failures;
    m.attemptTick = lastAttempt;
    return m;
}

VisibilityFacts Facts(uint32_t seq, bool hidden, bool unconfirmed, uint32_t now,
                      const std::string& peer = "10.0.0.2") {
    return {peer, hidden, seq, unconfirmed, now};
}

const PlanCase kPlanCases[] = {
    {"nothing attempted yet: first contact", {}, Facts(0, false, false, 100), true, "peer-change"},
    {"confirmed, unchanged, within the refresh", Confirmed(3, false, 1000), Facts(3, false, false, 5999),
     false, nullptr},
    {"shown view refreshed 5000 ms after the confirmation", Confirmed(3, false, 1000),
     Facts(3, false, false, 6000), true, "periodic-resync"},
    {"hidden view refreshed after 2000 ms", Confirmed(3, true, 1000), Facts(3, true, false, 3000), true,
     "periodic-resync"},
    {"hidden view not yet after 1999 ms", Confirmed(3, true, 1000), Facts(3, true, false, 2999), false,
     nullptr},
    {"another peer", Confirmed(3, false, 1000), Facts(3, false, false, 1400, "10.0.0.3"), true,
     "peer-change"},
    {"new sequence", Confirmed(3, false, 1000), Facts(4, true, true, 1400), true, "state-change"},
    {"same sequence, other flag", Confirmed(3, false, 1000), Facts(3, true, false, 1400), true,
     "state-change"},
    {"unconfirmed after a failure", Confirmed(3, false, 1000), Facts(3, false, true, 1400), true,
     "retry-unconfirmed"},
    {"a change waits for the retry delay since the last attempt", Confirmed(3, false, 1000),
     Facts(4, true, true, 1299), false, nullptr},
    {"one failure: 300 ms", Failing(1, 1000), Facts(3, false, true, 1300), true, "retry-unconfirmed"},
    {"two failures: not yet after 999 ms", Failing(2, 1000), Facts(3, false, true, 1999), false, nullptr},
    {"two failures: 1000 ms", Failing(2, 1000), Facts(3, false, true, 2000), true, "retry-unconfirmed"},
    {"five failures: not yet after 1999 ms", Failing(5, 1000), Facts(3, false, true, 2999), false, nullptr},
    {"five failures: 2000 ms", Failing(5, 1000), Facts(3, false, true, 3000), true, "retry-unconfirmed"},
    {"tick wrap: refresh measured across it", Confirmed(3, false, 0xFFFFF000u),
     Facts(3, false, false, 0x00000388u), true, "periodic-resync"},
};

TEST(VisibilitySyncPlan, DecidesWhetherAndWhyToSend) {
    for (const PlanCase& c : kPlanCases) {
        VisibilityTurnPlan plan = PlanVisibilityTurn(c.memory, c.facts);
        EXPECT_EQ(plan.send, c.send) << c.name;
        if (c.reason != nullptr)
            EXPECT_STREQ(plan.reason, c.reason) << c.name;
    }
}

class VisibilitySyncWorkerTest : public SyncWorkerTest {
protected:
    // Runs the worker's thread body until the clock reaches `until`.
    void RunUntil(uint32_t until) {
        port.stopAt = until;
        sync.Run(run);
    }

    VisibilitySync sync{state, &port};
};

TEST_F(VisibilitySyncWorkerTest, UnreachablePeerIsRetriedAtTheGrowingDelays) {
    port.visibilityReply = [](const std::string&, bool, uint32_t) { return false; };
    RunUntil(port.now + 12000);

    std::vector<ScriptedSyncPort::Sent> sent = port.SentOf("visibility");
    ASSERT_GE(sent.size(), 8u);
    // Turns come every 200 ms, so a 300 ms delay is met on the second turn.
    const uint32_t gaps[] = {400, 1000, 1000, 1000, 2000, 2000, 2000};
    for (size_t i = 0; i < 7; ++i)
        EXPECT_EQ(sent[i + 1].at - sent[i].at, gaps[i]) << "after attempt " << i + 1;
    EXPECT_EQ(sent[0].detail, "peer-change");
    EXPECT_EQ(sent[1].detail, "retry-unconfirmed");
    EXPECT_TRUE(state.visibilityUnconfirmed.load());
    EXPECT_EQ(Lines("[VIDEO][VISIBILITY][SYNC_RETRY] peer=10.0.0.2 hidden=0 viewSeq=0 retryMs=300"), 2u);
    EXPECT_EQ(Lines("[VIDEO][VISIBILITY][SYNC_RETRY] peer=10.0.0.2 hidden=0 viewSeq=0 retryMs=1000"), 3u);
    EXPECT_EQ(Lines("[VIDEO][VISIBILITY][SYNC_WORKER] start"), 1u);
    EXPECT_EQ(Lines("[VIDEO][VISIBILITY][SYNC_WORKER] stop"), 1u);
}

TEST_F(VisibilitySyncWorkerTest, ConfirmedViewIsRefreshedEvery5000MsShownAnd2000MsHidden) {
    const uint32_t start = port.now;
    RunUntil(start + 11000);
    std::vector<ScriptedSyncPort::Sent> shown = port.SentOf("visibility");
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[1].at - shown[0].at, 5000u);
    EXPECT_EQ(shown[2].detail, "periodic-resync");
    // ("[VIDEO][VISIBILITY][SYNCED]" is written only with the visibility debug category on.)
    EXPECT_EQ(Lines("[VIDEO][VISIBILITY][SYNC_RETRY]"), 0u);
    EXPECT_FALSE(state.visibilityUnconfirmed.load());

    port.sent.clear();
    sync.SetLocalVideoVisibility(true);
    DiscoveryRun second;
    port.run = &second;
    port.stopAt = port.now + 6300;
    sync.Run(second);
    std::vector<ScriptedSyncPort::Sent> hidden = port.SentOf("visibility");
    ASSERT_EQ(hidden.size(), 4u);
    EXPECT_EQ(hidden[0].detail, "state-change");
    EXPECT_TRUE(hidden[0].flag);
    EXPECT_EQ(hidden[0].seq, 1u);
    EXPECT_EQ(hidden[1].at - hidden[0].at, 2000u);
    EXPECT_EQ(hidden[2].at - hidden[1].at, 2000u);
}

TEST_F(VisibilitySyncWorkerTest, TwoQuickChangesSendTheLatestSequence) {
    RunUntil(port.now + 400); // first contact confirmed
    port.sent.clear();
    sync.SetLocalVideoVisibility(true);
    port.Advance(50);
    sync.SetLocalVideoVisibility(false);
    EXPECT_EQ(state.viewSeq.load(), 2u);
    EXPECT_EQ(Lines("[VIDEO][VISIBILITY][LOCAL] hidden=1 viewSeq=1 role=1 clientRunning=1"), 1u);
    EXPECT_EQ(Lines("[VIDEO][VISIBILITY][LOCAL] hidden=0 viewSeq=2 role=1 clientRunning=1"), 1u);

    port.Advance(100); // past the 300 ms since the last attempt
    sync.Turn();
    std::vector<ScriptedSyncPort::Sent> sent = port.SentOf("visibility");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].seq, 2u);
    EXPECT_FALSE(sent[0].flag);
    EXPECT_EQ(sent[0].detail, "state-change");
    EXPECT_FALSE(state.visibilityUnconfirmed.load());

    sync.SetLocalVideoVisibility(false);
    EXPECT_EQ(state.viewSeq.load(), 2u);
    EXPECT_EQ(Lines("[VIDEO][VISIBILITY][LOCAL_CONFIRM] hidden=0 viewSeq=2 role=1 clientRunning=1"), 1u);
}

// The reply confirms what was sent; a change made meanwhile must still be sent.
TEST_F(VisibilitySyncWorkerTest, ChangeDuringTheSendStaysUnconfirmed) {
    port.visibilityReply = [this](const std::string&, bool, uint32_t) {
        sync.SetLocalVideoVisibility(true);
        return true;
    };
    sync.Turn();
    EXPECT_TRUE(state.visibilityUnconfirmed.load());
    port.visibilityReply = nullptr;
    port.Advance(300);
    sync.Turn();
    std::vector<ScriptedSyncPort::Sent> sent = port.SentOf("visibility");
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].seq, 1u);
    EXPECT_TRUE(sent[1].flag);
    EXPECT_FALSE(state.visibilityUnconfirmed.load());
}

TEST_F(VisibilitySyncWorkerTest, OnlyTheControllerWithARunningClientSendsAndALeftSessionStartsAfresh) {
    port.role = 2;
    sync.Turn();
    port.role = 1;
    port.clientRunning = false;
    sync.Turn();
    port.clientRunning = true;
    port.peer.clear();
    sync.Turn();
    EXPECT_TRUE(port.sent.empty());

    port.peer = "10.0.0.2";
    sync.Turn();
    ASSERT_EQ(port.SentOf("visibility").size(), 1u);
    port.Advance(400);
    sync.Turn();
    EXPECT_EQ(port.SentOf("visibility").size(), 1u) << "confirmed and fresh";

    port.clientRunning = false; // session ended: the peer is forgotten
    sync.Turn();
    port.clientRunning = true;
    port.Advance(400);
    sync.Turn();
    std::vector<ScriptedSyncPort::Sent> sent = port.SentOf("visibility");
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].detail, "peer-change");
}

} // namespace
