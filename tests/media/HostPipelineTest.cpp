#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/Log.h"
#include "core/StateManagerTypes.h"
#include "media/HostPipelineFakes.h"
#include "media/HostSession.h"
#include "support/TestLog.h"

namespace {

constexpr int32_t kReconnecting = static_cast<int32_t>(ChannelState::Reconnecting);
constexpr int32_t kConnected = static_cast<int32_t>(ChannelState::Connected);

class HostPipelineTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
        TakeHostVideoRestartRequest(); // nothing left over from another test
    }
    void TearDown() override { TakeHostVideoRestartRequest(); }

    // The frame ids go up by one from the first frame, across rebuilds and reconnects.
    static void ExpectConsecutiveIds(const std::vector<SentFrame>& sent) {
        for (size_t i = 0; i < sent.size(); ++i)
            ASSERT_EQ(sent[i].id, i + 1) << "frame " << i;
    }

    HostRig rig;
};

TEST_F(HostPipelineTest, StreamsNv12DuplicationPacedAtTheRequestedRate) {
    rig.env.endAt = 3000;
    EXPECT_EQ(rig.Run(), SessionRunEnd::Finished);

    EXPECT_EQ(rig.sender.connects, std::vector<std::string>{"10.0.0.2:6000"});
    EXPECT_EQ(rig.env.inputHostPort, 5000);
    EXPECT_EQ(rig.env.clipboardHostPort, 5002);
    EXPECT_TRUE(rig.env.HasChannelLog("2=0 controller did not request audio"));
    EXPECT_EQ(rig.factory.duplication.nv12Starts, 1);
    EXPECT_EQ(rig.factory.encoding.inits, std::vector<std::string>{"H264 64x36"});
    EXPECT_EQ(rig.env.streamSize, "64x36");
    EXPECT_EQ(rig.env.unified.back(), "4 Host streaming video");
    EXPECT_EQ(CountLogMessages("Host streaming codec=H264 TCP to 10.0.0.2:6000 64x36 native=64x36 fps=30 "
                               "bitrate=25000000 max_video=0x0 path=GPU_NV12_NATIVE V54"),
              1u);
    // Two seconds at 30 fps, paced by due times (33 ms each).
    EXPECT_GE(rig.sender.sent.size(), 59u);
    EXPECT_LE(rig.sender.sent.size(), 62u);
    ExpectConsecutiveIds(rig.sender.sent);
    EXPECT_EQ(rig.sender.sent.front().codec, 0u);
    EXPECT_EQ(rig.sender.shutdowns, 1) << "the run closes its connection";
    EXPECT_EQ(rig.factory.duplication.shutdowns, 1);
    EXPECT_EQ(rig.factory.encoding.shutdowns, 1);
}

TEST_F(HostPipelineTest, RestartRequestedTwiceGivesOneRebuildWithForcedBgra) {
    rig.env.endAt = 4000;
    rig.clock.At(2000, [] {
        RequestHostVideoRestart();
        RequestHostVideoRestart();
    });
    rig.Run();
    EXPECT_EQ(CountLogMessages("Host video restart request consumed, rebuild capture/encoder pipeline"), 1u);
    EXPECT_EQ(rig.factory.duplication.inits, 2);
    EXPECT_EQ(rig.factory.duplication.bgraStarts, 1) << "BGRA for 8 s after a restart";
    EXPECT_TRUE(rig.env.HasChannelLog("0=5 host video restart requested"));
    EXPECT_EQ(CountLogMessages("Host pipeline will restart in 500ms"), 1u);
    EXPECT_EQ(CountLogMessages("[COLOR][HOST][PIPELINE-SELECT] force BGRA/GDI capture path "
                               "reason=secure-desktop-recovery remain_ms="),
              1u);
    ExpectConsecutiveIds(rig.sender.sent);
}

TEST_F(HostPipelineTest, AccessLostSwitchesToAPublishedSecureFrameAndKeepsTheConnection) {
    rig.env.endAt = 3000;
    rig.clock.At(2010, [this] { // between two lock probes
        rig.factory.duplication.produce = false;
        rig.factory.duplication.idleStatus = CaptureStatus::AccessLost;
        rig.secure.active = true;
        rig.secure.publish = true;
    });
    rig.Run();
    EXPECT_EQ(CountLogMessages("[SECURE_VIDEO][ACCESS_LOST_PROBE] normal DDA lost status=2"), 1u);
    EXPECT_EQ(CountLogMessages("[SECURE_VIDEO][ENTER_BY_ACCESS_LOST] V2 frame=1 size=64x36; keep encoder and "
                               "network session peer=10.0.0.2"),
              1u);
    EXPECT_TRUE(rig.env.HasChannelLog("0=4 secure desktop V2 frame after DDA access lost"));
    ASSERT_FALSE(rig.env.notices.empty());
    EXPECT_TRUE(rig.env.notices.back()) << "the controller hears that this desktop is locked";
    EXPECT_EQ(rig.sender.connects.size(), 1u);
    EXPECT_EQ(rig.factory.duplication.inits, 1) << "no rebuild: the encoder and the connection stay";
    EXPECT_GE(rig.SentFrom(2100), 8u) << "secure frames stream at 10 per second";
    ExpectConsecutiveIds(rig.sender.sent);
}

TEST_F(HostPipelineTest, AccessLostWithoutASecureFrameRebuilds) {
    rig.env.endAt = 4000;
    rig.clock.At(2000, [this] {
        rig.factory.duplication.produce = false;
        rig.factory.duplication.idleStatus = CaptureStatus::DeviceLost;
    });
    rig.clock.At(3000, [this] { rig.factory.duplication.produce = true; });
    rig.Run();
    EXPECT_EQ(CountLogMessages("[SECURE_VIDEO][ACCESS_LOST_PROBE] normal DDA lost status=3"), 1u);
    EXPECT_EQ(CountLogMessages("[SECURE_VIDEO][ACCESS_LOST_MISS] no fresh V2 frame within 1200ms"), 1u);
    EXPECT_TRUE(rig.secure.requests.empty()) << "no worker request while the desktop is not secure";
    EXPECT_GE(rig.factory.duplication.inits, 2);
    EXPECT_GT(rig.SentFrom(3100), 0u) << "frames flow again after the rebuild";
}

TEST_F(HostPipelineTest, CaptureErrorStreakRebuildsAtItsLimit) {
    rig.env.endAt = 7000;
    rig.clock.At(1500, [this] {
        rig.factory.duplication.produce = false;
        rig.factory.duplication.idleStatus = CaptureStatus::Failed;
    });
    rig.Run();
    EXPECT_GE(CountLogMessages("Host capture error streak exceeded limit, rebuild pipeline"), 1u);
    EXPECT_GE(CountLogMessages("Host capture error streak=1, pipeline still running"), 1u);
    EXPECT_GE(rig.factory.duplication.inits, 2);
}

TEST_F(HostPipelineTest, SendFailureStreakRebuildsAndReconnects) {
    rig.env.endAt = 6000;
    rig.clock.At(2000, [this] {
        rig.sender.sendOk = false; // accepted by the socket layer, never delivered
    });
    rig.Run();
    EXPECT_EQ(CountLogMessages("Host TCP video send failure streak exceeded limit, rebuild sender/pipeline"),
              1u);
    EXPECT_EQ(CountLogMessages("Host TCP video send failure streak=1"), 1u);
    EXPECT_EQ(rig.sender.connects.size(), 2u) << "the rebuild makes a new connection";
    EXPECT_EQ(CountLogMessages("[VIDEO][HOST][RECONNECT] video connection restored peer=10.0.0.2:6000"), 1u);
    EXPECT_GT(rig.SentFrom(4500), 30u);
    ExpectConsecutiveIds(rig.sender.sent);
}

TEST_F(HostPipelineTest, ResetConnectionIsReconnectedAndFramesContinue) {
    rig.env.endAt = 5000;
    rig.sender.resetAfter = 20;
    rig.Run();
    EXPECT_EQ(CountLogMessages("[VIDEO][HOST][CONNECTION_LOST] video connection to peer=10.0.0.2:6000 lost"),
              1u);
    EXPECT_TRUE(rig.env.HasChannelLog("0=5 video connection lost"));
    // Connecting, not streaming, from the moment the connection is found lost until it is made again.
    const std::vector<std::string> expected = {"2 Host thread starting", "4 Host streaming video",
                                               "2 Host video reconnecting", "4 Host streaming video"};
    EXPECT_EQ(rig.env.unified, expected);
    EXPECT_EQ(rig.sender.connects.size(), 2u);
    EXPECT_EQ(rig.sender.sendsWhileDisconnected, 0);
    EXPECT_GT(rig.sender.sent.size(), 60u);
    ExpectConsecutiveIds(rig.sender.sent);
}

TEST_F(HostPipelineTest, ReconnectThatKeepsFailingRetriesWithoutSendingIntoADeadSocket) {
    rig.env.endAt = 20000;
    rig.sender.resetAfter = 10;
    rig.sender.connectResults = {true, false, false, false, true};
    rig.Run();
    EXPECT_EQ(CountLogMessages("[VIDEO][HOST][RECONNECT_FAIL] peer=10.0.0.2:6000"), 3u);
    EXPECT_TRUE(rig.env.HasChannelLog("0=5 video reconnect failed"));
    // Not streaming while the connection is down (peer-loss detection must not see a live session), and
    // streaming again once it is back.
    const auto reconnecting =
        std::find(rig.env.unified.begin(), rig.env.unified.end(), "2 Host video reconnecting");
    ASSERT_NE(reconnecting, rig.env.unified.end());
    EXPECT_EQ(std::count(rig.env.unified.begin(), rig.env.unified.end(), "2 Host video reconnecting"), 1);
    EXPECT_NE(std::find(reconnecting, rig.env.unified.end(), "4 Host streaming video"),
              rig.env.unified.end());
    EXPECT_EQ(rig.sender.connects.size(), 5u);
    EXPECT_EQ(rig.sender.sendsWhileDisconnected, 0);
    EXPECT_EQ(rig.factory.duplication.inits, 2) << "no capture while there is no connection";
    EXPECT_GT(rig.sender.sent.size(), 10u);
    ExpectConsecutiveIds(rig.sender.sent);
}

TEST_F(HostPipelineTest, ReconnectAttemptsEndWithTheSession) {
    rig.env.endAt = 4000;
    rig.sender.resetAfter = 5;
    rig.sender.connectResults = {true};
    for (int i = 0; i < 100; ++i)
        rig.sender.connectResults.push_back(false);
    EXPECT_EQ(rig.Run(), SessionRunEnd::Finished);
    EXPECT_LE(rig.sender.connects.size(), 3u)
        << "bounded attempts, each followed by a look at the generation";
}

TEST_F(HostPipelineTest, StaticBlackDesktopRebuildsAndCapturesBgraForEightSeconds) {
    rig.env.endAt = 14000;
    rig.factory.duplication.black = true;
    rig.clock.At(1200, [this] {
        rig.factory.duplication.produce = false; // a static desktop delivers no new frames
    });
    rig.clock.At(2800, [this] { // fresh frames again, still black
        rig.factory.duplication.produce = true;
    });
    rig.Run();
    ASSERT_EQ(CountLogMessages("Host black cached frame timeout, rebuild capture/encoder pipeline"), 1u);
    const std::vector<std::string> lines = TestLog().Messages();
    for (const std::string& line : lines) {
        unsigned black = 0, nofresh = 0;
        if (sscanf(line.c_str(),
                   "Host black cached frame timeout, rebuild capture/encoder pipeline black_ms=%u "
                   "nofresh_ms=%u",
                   &black, &nofresh) == 2) {
            EXPECT_GE(black, 1500u);
            EXPECT_GE(nofresh, 1000u);
        }
    }
    EXPECT_TRUE(rig.env.HasChannelLog("0=5 black frame recovery rebuild"));
    EXPECT_EQ(rig.factory.duplication.bgraStarts, 1) << "the rebuild after the black picture captures BGRA";
    EXPECT_EQ(rig.factory.duplication.nv12Starts, 1);
}

TEST_F(HostPipelineTest, IdleFramesAreResentOnlyAtTheIdleRateWithLowBandwidth) {
    struct Case {
        bool lowBandwidth;
        bool hidden;
        size_t minSent, maxSent; // in the two idle seconds, each pass waiting 100 ms for a new frame
    };
    for (const Case& c : {Case{false, false, 18, 21}, Case{true, false, 3, 5}, Case{false, true, 1, 3}}) {
        HostRig r;
        TestLog().Clear();
        r.env.endAt = 4000;
        r.env.config.lowBandwidthEnable = c.lowBandwidth ? 1 : 0;
        r.env.request.viewHidden = c.hidden;
        r.clock.At(2000, [&r] { r.factory.duplication.produce = false; });
        r.Run();
        const size_t idle = r.SentFrom(2001);
        EXPECT_GE(idle, c.minSent) << "low_bw=" << c.lowBandwidth << " hidden=" << c.hidden;
        EXPECT_LE(idle, c.maxSent) << "low_bw=" << c.lowBandwidth << " hidden=" << c.hidden;
    }
}

TEST_F(HostPipelineTest, DisplayChangeEndsTheSessionWithVideoAndInputReconnecting) {
    rig.display.changeAt = 2500;
    EXPECT_EQ(rig.Run(), SessionRunEnd::StoppedForReconnect);
    EXPECT_TRUE(rig.env.stopped);
    EXPECT_EQ(
        CountLogMessages("[DISPLAY][HOST][CHANGE] detected while controlled; stop video and wait controller "
                         "reconnect old={count=1 primary=64x36} new={count=1 primary=1281x721}"),
        1u);
    EXPECT_EQ(rig.env.channels[kChannelVideo], kReconnecting);
    EXPECT_EQ(rig.env.channels[kChannelInput], kReconnecting);
    EXPECT_TRUE(rig.env.HasChannelLog("0=5 display changed; host video stopped for controller reconnect"));
    EXPECT_TRUE(rig.env.HasChannelLog("1=5 display changed; host session stopping"));
    EXPECT_EQ(rig.env.streamSize, "1280x720");
    EXPECT_EQ(rig.env.errorText, "Display changed; host video stopped for controller reconnect");
    EXPECT_EQ(rig.env.statuses.back(), "Display changed / waiting controller reconnect");
    EXPECT_EQ(rig.factory.duplication.shutdowns, 1) << "the pipeline is torn down";
    EXPECT_LT(rig.clock.Now(), 3200u);
}

TEST_F(HostPipelineTest, LateBaselineIsTakenByTheFirstValidProbe) {
    rig.env.endAt = 2000;
    rig.display.baselineOk = false;
    rig.clock.At(1500, [this] { rig.display.baselineOk = true; });
    rig.Run();
    EXPECT_EQ(CountLogMessages("[DISPLAY][HOST][BASELINE] query failed; display-change stop guard disabled"),
              1u);
    EXPECT_EQ(CountLogMessages("[DISPLAY][HOST][BASELINE_LATE] count=1 primary=64x36"), 1u);
}

TEST_F(HostPipelineTest, GdiFallbackStreamsEvenTilesWhenDuplicationIsUnavailable) {
    rig.env.endAt = 3000;
    rig.env.request.ultra = true;
    rig.factory.duplication.initOk = false;
    rig.factory.gdi.width = 65;
    rig.factory.gdi.height = 37;
    rig.Run();
    EXPECT_EQ(
        CountLogMessages("[CAPTURE][FALLBACK][ENTER] DXGI Desktop Duplication unavailable; start persistent "
                         "GDI capture path"),
        1u);
    EXPECT_EQ(
        CountLogMessages("[CAPTURE][FALLBACK][ACTIVE] path=GDI_PERSISTENT_BGRA source=65x37 stream=64x36 "
                         "fps=30"),
        1u);
    EXPECT_GE(CountLogMessages("CropEvenBGRA 65x37 -> 64x36"), 1u);
    EXPECT_EQ(rig.env.unified.back(), "4 Host streaming video via GDI fallback");
    EXPECT_EQ(rig.factory.encoding.inits, std::vector<std::string>{"ULTRA 64x36"});
    for (const auto& size : rig.factory.encoding.encodedSizes)
        ASSERT_EQ(size, std::make_pair(64, 36)) << "only even pictures reach the encoder";
    ASSERT_GE(rig.sender.sent.size(), 59u);
    EXPECT_EQ(rig.sender.sent.front().codec, 1u);
    EXPECT_EQ(rig.sender.sent.front().desktopWidth, 65);
    EXPECT_EQ(rig.env.desktopSize, "65x37");
    EXPECT_EQ(rig.factory.gdi.releases, 1);
}

TEST_F(HostPipelineTest, GdiFallbackRetriesAfterAFailedInit) {
    rig.env.endAt = 4000;
    rig.factory.duplication.initOk = false;
    rig.factory.gdi.initOk = false;
    rig.clock.At(2500, [this] { rig.factory.gdi.initOk = true; });
    rig.Run();
    EXPECT_GE(CountLogMessages(
                  "[CAPTURE][FALLBACK][INIT_FAIL] persistent GDI capture init failed, retry in 1000ms"),
              2u);
    EXPECT_GT(rig.SentFrom(2500), 0u);
}

TEST_F(HostPipelineTest, LocalLockOnGdiFallbackEndsTheSessionForReconnect) {
    rig.factory.duplication.initOk = false;
    rig.clock.At(2000, [this] { rig.secure.active = true; });
    EXPECT_EQ(rig.Run(), SessionRunEnd::StoppedForReconnect);
    EXPECT_EQ(
        CountLogMessages("[LOCK][HOST] local lock/secure desktop detected in GDI fallback; stop video and "
                         "wait controller reconnect peer=10.0.0.2"),
        1u);
    EXPECT_EQ(CountLogMessages("Host desktop state notify locked=1 peer=10.0.0.2 path=GDI_FALLBACK"), 1u);
    EXPECT_EQ(rig.env.channels[kChannelVideo], kReconnecting);
    EXPECT_EQ(rig.env.channels[kChannelInput], kReconnecting);
    EXPECT_TRUE(rig.env.HasChannelLog("1=5 local locked; host video stopped for controller reconnect"));
    EXPECT_EQ(rig.env.errorText, "Local locked; host video stopped for controller reconnect");
}

TEST_F(HostPipelineTest, ForcedBgraCropsOddDuplicatedFramesBeforeTheEncoder) {
    rig.env.endAt = 2000;
    rig.env.environment["TSLY_COLOR_FORCE_BGRA"] = "yes";
    rig.factory.duplication.width = 101;
    rig.factory.duplication.height = 57;
    rig.Run();
    EXPECT_EQ(CountLogMessages("[COLOR][HOST][PIPELINE-SELECT] codec=H264 qualityForceBGRA=0 envForceBGRA=1"),
              1u);
    EXPECT_EQ(rig.factory.duplication.nv12Starts, 0);
    EXPECT_EQ(rig.factory.encoding.inits, std::vector<std::string>{"H264 100x56"});
    ASSERT_FALSE(rig.sender.sent.empty());
    EXPECT_EQ(rig.sender.sent.front().videoWidth, 100);
    EXPECT_EQ(rig.sender.sent.front().desktopWidth, 101);
    EXPECT_EQ(CountLogMessages("Host resolution changed"), 0u);
}

TEST_F(HostPipelineTest, SecureDesktopAtStartStreamsPublishedFramesUntilUnlocked) {
    rig.env.endAt = 5000;
    rig.secure.active = true;
    rig.secure.publish = true;
    rig.clock.At(3000, [this] {
        rig.secure.active = false;
        rig.secure.publish = false;
    });
    rig.Run();
    EXPECT_EQ(
        CountLogMessages("[SECURE_VIDEO][STARTUP_DETECT] locked=1 peer=10.0.0.2 source=64x36 target=64x36"),
        1u);
    EXPECT_EQ(
        CountLogMessages("[SECURE_VIDEO][STARTUP_ENTER] frame=1 source=64x36 stream=64x36 peer=10.0.0.2"),
        1u);
    EXPECT_EQ(CountLogMessages("[SECURE_VIDEO][UNLOCK_REBUILD] startup secure stream exit"), 1u);
    EXPECT_EQ(rig.secure.requests.front(), "secure-startup-detect");
    EXPECT_GT(rig.SentFrom(1000), 10u);
    EXPECT_EQ(rig.secure.frameSizes.front(), "64x36") << "the startup target";
    EXPECT_EQ(rig.factory.duplication.inits, 1) << "duplication starts only once the desktop is unlocked";
    EXPECT_GT(rig.SentFrom(3600), 30u);
    ExpectConsecutiveIds(rig.sender.sent);
}

TEST_F(HostPipelineTest, LockWhileStreamingSwitchesToTheSecureSourceAndUnlockRebuilds) {
    rig.env.endAt = 6000;
    rig.clock.At(2000, [this] {
        rig.secure.active = true;
        rig.secure.publish = true;
    });
    rig.clock.At(4000, [this] { rig.secure.active = false; });
    rig.Run();
    EXPECT_EQ(CountLogMessages("[SECURE_VIDEO][ENTER] local Winlogon/secure desktop detected"), 1u);
    EXPECT_EQ(CountLogMessages("[SECURE_VIDEO][LEAVE] Default desktop restored"), 1u);
    EXPECT_EQ(rig.secure.requests, std::vector<std::string>{"in-session-lock-detect"});
    EXPECT_EQ(rig.secure.frameSizes, std::vector<std::string>{"64x36"}) << "the size already streamed";
    EXPECT_EQ(CountLogMessages("Host resolution changed"), 0u);
    EXPECT_EQ(rig.sender.connects.size(), 1u) << "the connection stays across lock and unlock";
    EXPECT_EQ(rig.factory.duplication.inits, 2);
    EXPECT_EQ(CountLogMessages("Host desktop state notify locked=1 peer=10.0.0.2"), 2u)
        << "on the change, then every second while locked";
}

TEST_F(HostPipelineTest, ControllerAudioWishIsAppliedWhileStreaming) {
    rig.env.endAt = 3000;
    rig.clock.At(2000, [this] { rig.env.request.audio = true; });
    rig.Run();
    EXPECT_EQ(CountLogMessages(
                  "[AUDIO][HOST][REQUEST_APPLY] path=GPU_NV12_NATIVE old=0 new=1 action=start-loopback "
                  "peer=10.0.0.2"),
              1u);
    EXPECT_TRUE(rig.env.audioRunning);
}

struct RefusedPeerCase {
    const char* name;
    const char* peer;
    const char* activePeer;
    std::deque<bool> connects;
    size_t connectCalls;
};

class HostPipelineVideoConnectTest : public HostPipelineTest,
                                     public ::testing::WithParamInterface<RefusedPeerCase> {};

TEST_P(HostPipelineVideoConnectTest, FailsTheSessionWithoutStreaming) {
    const RefusedPeerCase& c = GetParam();
    rig.env.activePeer = c.activePeer;
    rig.sender.connectResults = c.connects;
    EXPECT_EQ(rig.Run(c.peer), SessionRunEnd::VideoFailed);
    EXPECT_EQ(rig.sender.connects.size(), c.connectCalls);
    EXPECT_EQ(rig.factory.duplication.inits, 0);
    EXPECT_TRUE(rig.sender.sent.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostPipelineVideoConnectTest,
    ::testing::Values(RefusedPeerCase{"OutsideTheCable", "192.168.1.5", "192.168.1.5", {}, 0},
                      RefusedPeerCase{"NotTheActivePeer", "10.0.0.2", "10.0.0.9", {}, 0},
                      RefusedPeerCase{"ConnectFails", "10.0.0.2", "10.0.0.2", {false}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
