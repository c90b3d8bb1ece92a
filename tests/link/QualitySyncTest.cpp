// The controller's quality sync as scripted scenarios over a fake clock and a fake sender: a switch that
// completes (with the reply, before it, or with the reply lost), the rollbacks (no frame 5000 ms after
// watching began, three failed sends, a stale sequence refused by the real controlled-side handler), and the
// local choice for an unknown peer and for a peer that lacks the capability.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "VideoSyncTestSupport.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StateTestSupport.h"
#include "link/ControlHandler.h"
#include "link/ControlHandlerState.h"
#include "link/ControlMessage.h"
#include "link/DiscoveryRun.h"
#include "link/LocalIdentity.h"
#include "link/SessionControllerServices.h"
#include "link/QualitySync.h"
#include "link/VideoSyncExchange.h"
#include "link/VideoSyncHandler.h"
#include "link/VideoSyncState.h"
#include "support/TestLog.h"

namespace {

using Sent = ScriptedSyncPort::Sent;

TEST(QualitySyncRules, FallbackKeepsTheModeTheFramesShow) {
    struct Case {
        bool requestedUltra;
        int32_t actual;
        bool fallbackUltra;
    } const cases[] = {
        {true, kFrameQualityUnknown, false}, {true, 0, false}, {true, 1, false},
        {false, kFrameQualityUnknown, true}, {false, 1, true}, {false, 0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QualityFallbackUltra(c.requestedUltra, c.actual), c.fallbackUltra)
            << "requested=" << c.requestedUltra << " actual=" << c.actual;
    EXPECT_STREQ(FrameQualityName(kFrameQualityUnknown), "UNKNOWN");
    EXPECT_STREQ(FrameQualityName(1), "ULTRA");
    EXPECT_STREQ(FrameQualityName(0), "H264");
}

class QualitySyncTest : public SyncWorkerTest {
protected:
    // Frames in this mode are being shown, and it is the saved choice.
    void Settle(bool ultra) {
        port.desiredUltra = ultra;
        sync.OnQualityFrameConfirmed(ultra ? 1 : 0, 1);
        TestLog().Clear();
    }
    // The tray stores the choice, then applies it.
    void Choose(bool ultra) {
        port.desiredUltra = ultra;
        sync.ApplyLocalQualitySelection(ultra);
    }
    void RunFor(uint32_t ms) {
        port.stopAt = port.now + ms;
        sync.Run(run);
    }

    QualitySync sync{state, &port};
};

TEST_F(QualitySyncTest, AcknowledgedSwitchCompletesWithTheFirstFrameInTheNewMode) {
    Settle(false);
    Choose(true);
    EXPECT_EQ(Lines("[QUALITY][LOCAL] desired=ULTRA actual=H264 qualitySeq=1 action=sync"), 1u);
    RunFor(1000);

    ASSERT_EQ(port.sent.size(), 2u);
    EXPECT_EQ(port.sent[0].what, "request") << "a new sequence first goes out with the full request";
    EXPECT_EQ(port.sent[1].what, "quality");
    EXPECT_TRUE(port.sent[1].flag);
    EXPECT_EQ(port.sent[1].seq, 1u);
    EXPECT_EQ(Lines("[QUALITY][ACKED_WAIT_FRAME] peer=10.0.0.2 qualitySeq=1 expected=ULTRA actual=H264"), 1u);
    EXPECT_TRUE(state.switchPending.load()) << "complete only with a frame";
    EXPECT_TRUE(port.balloons.empty());

    sync.OnQualityFrameConfirmed(1, 42);
    EXPECT_EQ(
        Lines("[QUALITY][ACTUAL_FRAME] old=H264 new=ULTRA desired=ULTRA frame=42 qualitySeq=1 ackSeq=1"), 1u);
    EXPECT_EQ(Lines("[QUALITY][SWITCH_COMPLETE] mode=ULTRA frame=42 qualitySeq=1"), 1u);
    EXPECT_FALSE(state.switchPending.load());
    sync.OnQualityFrameConfirmed(1, 43);
    ASSERT_EQ(port.balloons, std::vector<std::string>{"Ultra quality enabled icon=1 ms=3000"});

    DiscoveryRun more;
    port.run = &more;
    port.stopAt = port.now + 1000;
    sync.Run(more);
    EXPECT_EQ(port.sent.size(), 2u) << "a settled switch sends nothing more";
}

TEST_F(QualitySyncTest, FrameBeforeTheReplyCompletesTheSwitch) {
    Settle(false);
    port.qualityReply = [this](const std::string&, bool, uint32_t, uint32_t) {
        sync.OnQualityFrameConfirmed(1, 7);
        return true;
    };
    Choose(true);
    RunFor(1000);
    EXPECT_EQ(Lines("[QUALITY][FRAME_CONFIRMED_BEFORE_ACK] mode=ULTRA frame=7 qualitySeq=1"), 1u);
    EXPECT_EQ(Lines("[QUALITY][SWITCH_COMPLETE] mode=ULTRA frame=7 qualitySeq=1"), 1u);
    EXPECT_EQ(Lines("[QUALITY][ACKED_WAIT_FRAME] peer=10.0.0.2 qualitySeq=1 expected=ULTRA actual=ULTRA"),
              1u);
    EXPECT_EQ(state.ackSeq.load(), 1u);
    EXPECT_FALSE(state.switchPending.load());
    EXPECT_EQ(port.SentOf("quality").size(), 1u);
    EXPECT_EQ(port.balloons.size(), 1u);
}

TEST_F(QualitySyncTest, LostRepliesWhileTheFramesShowTheNewModeAcceptTheSwitch) {
    Settle(false);
    port.qualityReply = [this](const std::string&, bool, uint32_t, uint32_t attempt) {
        if (attempt == 3)
            sync.OnQualityFrameConfirmed(1, 9);
        return false;
    };
    Choose(true);
    RunFor(2000);

    std::vector<Sent> quality = port.SentOf("quality");
    ASSERT_EQ(quality.size(), 3u);
    EXPECT_EQ(quality[1].at - quality[0].at, 300u);
    EXPECT_EQ(quality[2].at - quality[1].at, 300u);
    EXPECT_EQ(Lines("[QUALITY][ACK_LOST_FRAME_CONFIRMED] peer=10.0.0.2 qualitySeq=1 mode=ULTRA attempts=3 "
                    "action=accept"),
              1u);
    EXPECT_EQ(Lines("[QUALITY][ACK_FAILED]"), 0u);
    EXPECT_EQ(Lines("[QUALITY][SWITCH_FAILED]"), 0u);
    EXPECT_TRUE(port.stored.empty());
    EXPECT_TRUE(port.desiredUltra);
    EXPECT_EQ(state.ackSeq.load(), 1u);
    EXPECT_FALSE(state.switchPending.load());
    EXPECT_EQ(port.balloons, std::vector<std::string>{"Ultra quality enabled icon=1 ms=3000"});
}

// The peer acknowledged on the third attempt, 600 ms after the switch was first sent: the 5000 ms run from
// when watching began, not from the reply.
TEST_F(QualitySyncTest, AcknowledgedSwitchWithoutItsFrameRollsBack5000MsAfterWatchingBegan) {
    Settle(false);
    port.qualityReply = [](const std::string&, bool, uint32_t, uint32_t attempt) { return attempt == 3; };
    Choose(true);
    RunFor(7000);

    std::vector<Sent> quality = port.SentOf("quality");
    ASSERT_EQ(quality.size(), 3u) << "no resend while acknowledged and waiting for the frame";
    const uint32_t watchBegan = quality[0].at;
    ASSERT_EQ(port.stored.size(), 1u);
    EXPECT_EQ(port.stored[0], "H264 quality switch confirmation failed");
    EXPECT_EQ(port.storedAt[0] - watchBegan, 5000u);
    EXPECT_EQ(
        Lines("[QUALITY][SWITCH_FAILED] failedSeq=1 requested=ULTRA actual=H264 fallback=H264 repairSeq=2 "
              "saved=1"),
        1u);
    EXPECT_EQ(port.balloons, std::vector<std::string>{
                                 "Ultra quality switch failed; restored Default quality icon=2 ms=5000"});

    // The repair: the full request carries H264 and the new sequence; the frames already show H264.
    std::vector<Sent> requests = port.SentOf("request");
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_GT(requests[1].at, port.storedAt[0]);
    EXPECT_EQ(Lines("[QUALITY][ACKED_WAIT_FRAME] peer=10.0.0.2 qualitySeq=2 expected=H264 actual=H264"), 1u);
    EXPECT_EQ(state.qualitySeq.load(), 2u);
    EXPECT_FALSE(state.switchPending.load());
    sync.OnQualityFrameConfirmed(0, 50);
    EXPECT_EQ(port.balloons.size(), 1u) << "the repair was announced by the failure balloon";
}

TEST_F(QualitySyncTest, ThreeFailedSendsRollBack) {
    struct Case {
        const char* name;
        bool from, to;
        const char* failLine;
        const char* stored;
        const char* balloon;
    } const cases[] = {
        {"to ULTRA", false, true, "[QUALITY][ACK_FAILED] peer=10.0.0.2 qualitySeq=1 mode=ULTRA attempts=3",
         "H264 quality switch confirmation failed",
         "Ultra quality switch failed; restored Default quality icon=2 ms=5000"},
        {"back to H264", true, false, "[QUALITY][ACK_FAILED] peer=10.0.0.2 qualitySeq=1 mode=H264 attempts=3",
         "ULTRA quality switch confirmation failed",
         "Failed to exit Ultra quality; Ultra quality remains active icon=2 ms=5000"},
    };
    for (const Case& c : cases) {
        ScriptedSyncPort p;
        ControllerVideoSyncState s;
        QualitySync q(s, &p);
        DiscoveryRun r;
        p.run = &r;
        p.desiredUltra = c.from;
        q.OnQualityFrameConfirmed(c.from ? 1 : 0, 1);
        TestLog().Clear();
        p.qualityReply = [](const std::string&, bool, uint32_t, uint32_t) { return false; };
        p.desiredUltra = c.to;
        q.ApplyLocalQualitySelection(c.to);
        p.stopAt = p.now + 1500;
        q.Run(r);

        EXPECT_EQ(p.SentOf("quality").size(), 3u) << c.name;
        EXPECT_EQ(Lines(c.failLine), 1u) << c.name;
        EXPECT_EQ(p.stored, std::vector<std::string>{c.stored}) << c.name;
        EXPECT_EQ(p.balloons, std::vector<std::string>{c.balloon}) << c.name;
        EXPECT_EQ(p.desiredUltra, c.from) << c.name << ": the mode the frames show stays";
        EXPECT_FALSE(s.switchPending.load()) << c.name << ": the repair completes at once";
    }
}

// Exit (or cable removal) while the peer does not answer: the user's choice is not rolled back and saved.
TEST_F(QualitySyncTest, StopDuringTheAttemptsLeavesTheSwitchPending) {
    Settle(false);
    port.qualityReply = [this](const std::string&, bool, uint32_t, uint32_t attempt) {
        if (attempt == 2)
            run.RequestStop();
        return false;
    };
    Choose(true);
    RunFor(2000);
    EXPECT_EQ(port.SentOf("quality").size(), 2u);
    EXPECT_EQ(Lines("[QUALITY][ACK_FAILED]"), 0u);
    EXPECT_EQ(Lines("[QUALITY][SWITCH_FAILED]"), 0u);
    EXPECT_TRUE(port.stored.empty());
    EXPECT_TRUE(port.balloons.empty());
    EXPECT_TRUE(state.switchPending.load());
    EXPECT_EQ(state.qualitySeq.load(), 1u);
}

TEST_F(QualitySyncTest, RollbackOfASequenceThatMovedOnChangesNothing) {
    Settle(false);
    Choose(true);
    Choose(false);
    sync.OnQualitySwitchFailed(1, true, 0);
    EXPECT_TRUE(port.stored.empty());
    EXPECT_TRUE(port.balloons.empty());
    EXPECT_EQ(state.qualitySeq.load(), 2u);
    EXPECT_EQ(Lines("[QUALITY][SWITCH_FAILED]"), 0u);
}

TEST_F(QualitySyncTest, PeerRecordWithoutTheCapabilityRefusesUltraAndTakesH264AtOnce) {
    Settle(false);
    port.record = false;
    Choose(true);
    EXPECT_EQ(port.stored, std::vector<std::string>{"H264 peer lacks ultra-quality capability"});
    EXPECT_FALSE(port.desiredUltra);
    EXPECT_EQ(Lines("[QUALITY][UNSUPPORTED] peer=10.0.0.2 requested=ULTRA fallback=H264 saved=1"), 1u);
    EXPECT_EQ(port.balloons, std::vector<std::string>{"Ultra quality is unsupported by the remote version; "
                                                      "restored Default quality icon=2 ms=5000"});
    EXPECT_EQ(state.qualitySeq.load(), 0u);
    EXPECT_FALSE(state.switchPending.load());

    state.actualQuality.store(1);
    Choose(false);
    EXPECT_EQ(state.actualQuality.load(), 0);
    EXPECT_EQ(port.balloons.back(), "Ultra quality disabled icon=1 ms=3000");
    EXPECT_EQ(port.stored.size(), 1u);

    RunFor(1000);
    EXPECT_TRUE(port.sent.empty()) << "nothing is sent to a peer without the capability";
}

// An offline peer (no record; the active address is only the settings' last peerAddress) is no peer that
// lacks the capability: the choice stands and is sent once a session with the peer runs.
TEST_F(QualitySyncTest, PeerWithoutARecordKeepsTheChoiceAndSendsItOnceASessionRuns) {
    for (const char* peer : {"10.0.0.2", ""}) {
        ScriptedSyncPort p;
        ControllerVideoSyncState s;
        QualitySync q(s, &p);
        DiscoveryRun r;
        p.run = &r;
        p.peer = peer;
        p.record = std::nullopt;
        p.clientRunning = false;
        TestLog().Clear();
        p.desiredUltra = true;
        q.ApplyLocalQualitySelection(true);
        EXPECT_TRUE(p.stored.empty()) << peer;
        EXPECT_TRUE(p.desiredUltra) << peer;
        EXPECT_TRUE(p.balloons.empty()) << peer;
        EXPECT_EQ(Lines("[QUALITY][LOCAL] desired=ULTRA actual=UNKNOWN qualitySeq=1 action=sync"), 1u)
            << peer;
        EXPECT_TRUE(s.switchPending.load()) << peer;

        p.stopAt = p.now + 500;
        q.Run(r);
        EXPECT_TRUE(p.sent.empty()) << peer;

        DiscoveryRun session;
        p.run = &session;
        p.peer = "10.0.0.2";
        p.record = true;
        p.clientRunning = true;
        p.stopAt = p.now + 500;
        q.Run(session);
        std::vector<Sent> quality = p.SentOf("quality");
        ASSERT_EQ(quality.size(), 1u) << peer;
        EXPECT_TRUE(quality[0].flag) << peer;
        EXPECT_EQ(quality[0].seq, 1u) << peer;
    }
}

// A controller whose sequences started again (a restarted program) against a controlled side that holds a
// newer one: the real handler refuses it as stale, and the switch rolls back after three attempts.
class QualityWireTest : public QualitySyncTest {
protected:
    class ActivePeer final : public IControlSessionTarget {
    public:
        std::string ActivePeerIp() override { return "10.0.0.1"; }
        bool IsActivePeer(std::string_view ip) override { return ip == "10.0.0.1"; }
        bool SwitchToControlled(const std::string&, const std::string&) override { return false; }
        void StopAllSessions(const char*) override {}
        bool AdmitIncomingRequest(std::string_view, std::string_view) override { return false; }
    };
    class RestartRecorder final : public SessionControllerServices {
    public:
        void RequestHostVideoRestart() override { ++restarts; }
        int restarts = 0;
    };

    void SetUp() override {
        QualitySyncTest::SetUp();
        RuntimeSetRole(RuntimeRole::Controlled);
        RuntimeSetHostRunning(true);
        port.qualityReply = [this](const std::string& ip, bool ultra, uint32_t seq, uint32_t attempt) {
            const std::string message =
                Discovery::BuildVideoQualityMessage(Discovery::MakeLocalIdentity("CTRL"), ultra, seq);
            uint32_t replySeq = 0;
            bool replyUltra = false;
            const bool accepted =
                handler.HandleVideoQualityRequest("10.0.0.1", message, replySeq, replyUltra);
            SyncExchange exchange;
            exchange.stage = SyncExchangeStage::Sent;
            exchange.reply = Discovery::BuildQualityAck(replySeq, replyUltra, accepted);
            return ReportQualityExchange(ip, ultra, seq, attempt, exchange);
        };
    }

    RuntimeTestBinding runtime;
    ActivePeer peer;
    ControlRequestStore requests;
    RestartRecorder services;
    VideoSyncHandler handler{peer, requests, &services};
};

TEST_F(QualityWireTest, AcceptedSwitchRebuildsTheHostVideo) {
    requests.Store("10.0.0.1", ControlRequestParams{0, 0, 30, 8000000, 0, 0, 1, 0, 0});
    Settle(false);
    Choose(true);
    RunFor(400);
    EXPECT_EQ(
        Lines("[QUALITY][RX_APPLY] peer=10.0.0.1 qualitySeq=1 old=H264 new=ULTRA action=rebuild-video-only"),
        1u);
    EXPECT_EQ(services.restarts, 1);
    EXPECT_EQ(
        Lines("[QUALITY][TX_ACK] peer=10.0.0.2 qualitySeq=1 ackSeq=1 mode=ULTRA ackMode=ULTRA accepted=1 "
              "confirmed=1 attempt=1 ackBytes="),
        1u);
    EXPECT_EQ(state.ackSeq.load(), 1u);
}

TEST_F(QualityWireTest, StaleSequenceIsRefusedAndTheSwitchRollsBack) {
    requests.Store("10.0.0.1", ControlRequestParams{0, 0, 30, 8000000, 0, 0, 1, 0, 5});
    Settle(false);
    Choose(true);
    RunFor(1500);
    EXPECT_EQ(
        Lines("[QUALITY][RX_STALE] peer=10.0.0.1 requestedSeq=1 currentSeq=5 requested=ULTRA current=H264"),
        3u);
    EXPECT_EQ(
        Lines("[QUALITY][TX_ACK] peer=10.0.0.2 qualitySeq=1 ackSeq=5 mode=ULTRA ackMode=H264 accepted=0 "
              "confirmed=0 attempt="),
        3u);
    EXPECT_EQ(Lines("[QUALITY][ACK_FAILED] peer=10.0.0.2 qualitySeq=1 mode=ULTRA attempts=3 action=rollback"),
              1u);
    EXPECT_EQ(port.stored, std::vector<std::string>{"H264 quality switch confirmation failed"});
    EXPECT_EQ(services.restarts, 0);
}

} // namespace
