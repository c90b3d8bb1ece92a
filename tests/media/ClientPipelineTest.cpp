#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Log.h"
#include "media/ClientPipelineFakes.h"
#include "support/TestLog.h"

namespace {

class ClientPipelineTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
    }
    // The statistics lines are debug lines of the media category.
    static size_t CountStatLines(const std::string& needle) {
        return Log::IsDebugCategoryEnabled("media") ? CountLogMessages(needle) : 1000;
    }

    static void ExpectSpacedAtLeast(const std::vector<uint32_t>& ticks, uint32_t ms) {
        for (size_t i = 1; i < ticks.size(); ++i)
            EXPECT_GE(ticks[i] - ticks[i - 1], ms) << "between #" << i - 1 << " and #" << i;
    }

    ClientRig rig;
};

TEST_F(ClientPipelineTest, StartsTheSideChannelsAndShowsAnH264Stream) {
    rig.env.endAt = 3000;
    EXPECT_EQ(rig.Run(), SessionRunEnd::Finished);

    EXPECT_EQ(rig.env.programStates.front(), 4);
    EXPECT_EQ(rig.env.qualityResets, 1);
    EXPECT_EQ(rig.env.inputStarts, std::vector<std::string>{"10.0.0.2:5000"});
    EXPECT_EQ(rig.env.clipboardStarts, std::vector<std::string>{"10.0.0.2"});
    EXPECT_EQ(rig.env.audioPort, 7001);
    EXPECT_EQ(rig.receiver.listenPort, 6000);
    EXPECT_TRUE(rig.env.HasChannelLog("0=3 waiting TCP video"));
    EXPECT_TRUE(rig.env.HasChannelLog("0=4 first TCP video frame"));
    EXPECT_EQ(rig.env.controllerRoles, 1);
    EXPECT_EQ(CountLogMessages("[QUALITY][CLIENT] codec switch NONE -> H264 frame=1 size=64x36"), 1u);
    EXPECT_EQ(rig.decoders.decoding.created, std::vector<std::string>{"H264 64x36"});
    EXPECT_EQ(rig.renderer.starts, std::vector<std::string>{"64x48"});
    ASSERT_GE(rig.renderer.submitted.size(), 59u);
    const SubmittedPicture& first = rig.renderer.submitted.front();
    EXPECT_TRUE(first.nv12);
    EXPECT_EQ(first.height, 48) << "coded size";
    EXPECT_EQ(first.visibleHeight, 36) << "the stream's size";
    EXPECT_EQ(rig.env.unified, std::vector<std::string>{"3 Remote video displayed"});
    EXPECT_EQ(
        CountLogMessages("Client first decoded frame submitted codec=H264 to RemoteView 64x48 visible=64x36"),
        1u);
    EXPECT_EQ(rig.env.frameModeConfirms, static_cast<int>(rig.renderer.submitted.size()));
    EXPECT_EQ(rig.env.desktopSize, "128x72") << "the frame's desktop size";
    EXPECT_EQ(rig.env.streamSize, "64x36");
    EXPECT_GE(rig.env.statReports, 2);
    EXPECT_GE(CountStatLines("client stat codec=H264 recv="), 2u);
    EXPECT_EQ(rig.receiver.closes, 1) << "the run closes its listener";
    EXPECT_EQ(rig.decoders.decoding.endStreams, 1) << "and ends its decoder";
    EXPECT_TRUE(rig.renderer.stopTicks.empty()) << "the session's end stops the renderer, not the run";
}

TEST_F(ClientPipelineTest, SilenceWithoutSideChannelsStopsRendererAndDecoderOnceAndRetries) {
    rig.SilenceFrom(2000);
    rig.env.endAt = 14100;
    int endStreamsBefore10s = -1, endStreamsAfter10s = -1;
    rig.clock.At(11900, [&] { endStreamsBefore10s = rig.decoders.decoding.endStreams; });
    rig.clock.At(13100, [&] { endStreamsAfter10s = rig.decoders.decoding.endStreams; });
    EXPECT_EQ(rig.Run(), SessionRunEnd::Finished);

    const uint32_t lastFrame = 1000 + 33 * (rig.receiver.frames - 1);
    ASSERT_EQ(rig.renderer.stopTicks.size(), 1u);
    EXPECT_GT(rig.renderer.stopTicks[0] - lastFrame, 8000u);
    EXPECT_LE(rig.renderer.stopTicks[0] - lastFrame, 9100u);
    EXPECT_EQ(std::count(rig.env.desktopSizes.begin(), rig.env.desktopSizes.end(), "0x0"), 1);
    EXPECT_EQ(endStreamsBefore10s, 0);
    EXPECT_EQ(endStreamsAfter10s, 1) << "one release between 10 and 11 s of silence";
    EXPECT_EQ(rig.decoders.decoding.endStreams, 1) << "nothing left to end when the run ends";

    ASSERT_GE(rig.env.controlRequests.size(), 3u);
    EXPECT_GT(rig.env.controlRequests.front() - lastFrame, 5000u);
    ExpectSpacedAtLeast(rig.env.controlRequests, 1500);
    EXPECT_GE(rig.env.CountStatus("Peer video offline / waiting recovery"), 1u);
    EXPECT_TRUE(rig.env.HasChannelLog("0=5 waiting video heartbeat recovery"));
    EXPECT_TRUE(rig.env.HasChannelLog("0=5 peer disconnected / reconnecting"));
    EXPECT_TRUE(rig.env.HasChannelLog("2=5 peer side channels offline"));
    EXPECT_TRUE(rig.env.lockLog.empty()) << "no side channel: silence is no lock";
    EXPECT_TRUE(rig.env.reconnects.empty());
}

TEST_F(ClientPipelineTest, SilenceWithASideChannelMarksTheDesktopLockedUntilTheChannelsClose) {
    rig.env.inputConnected = true;
    rig.SilenceFrom(2000);
    rig.clock.At(14000, [this] { rig.env.inputConnected = false; });
    rig.env.endAt = 17000;
    rig.Run();

    EXPECT_EQ(rig.env.lockLog, (std::vector<std::string>{"1 controller no video frames for 2s",
                                                         "0 peer side channels closed"}));
    EXPECT_EQ(CountLogMessages("[LOCK][CLIENT] remote_locked=1 source=video-silence"), 1u);
    ASSERT_EQ(rig.env.reconnects.size(), 1u);
    EXPECT_EQ(rig.env.reconnects[0].rfind("10.0.0.2 pc-b ", 0), 0u);
    EXPECT_GE(rig.env.CountStatus("Secure desktop video active"), 5u);
    EXPECT_TRUE(rig.env.HasChannelLog("0=4 secure desktop keep session connected"));
    ASSERT_EQ(rig.renderer.stopTicks.size(), 1u);
    EXPECT_GE(rig.renderer.stopTicks[0], 14000u) << "renderer kept while the desktop counts as locked";
    EXPECT_GE(rig.env.CountStatus("Peer disconnected / reconnecting"), 1u);
    EXPECT_FALSE(rig.env.hidForced);
}

TEST_F(ClientPipelineTest, ThreeUndecodableFramesResetTheDecoderOnce) {
    rig.decoders.decoding.failNext = 3;
    rig.env.endAt = 1500;
    rig.Run();
    EXPECT_EQ(rig.decoders.decoding.created, (std::vector<std::string>{"H264 64x36", "H264 64x36"}));
    ASSERT_FALSE(rig.decoders.decoding.decodedBy.empty());
    EXPECT_EQ(rig.decoders.decoding.decodedBy.front(), 2) << "the fourth frame is decoded by a new decoder";
    EXPECT_EQ(std::count(rig.env.channelLog.begin(), rig.env.channelLog.end(),
                         "0=5 decoder reset after decode failures"),
              1);
    EXPECT_EQ(CountLogMessages("Client decoder failure streak="), 1u) << "throttled on the shared log clock";
    EXPECT_EQ(CountLogMessages("Client decoder failure streak=1 frameId=1 size=100; reset threshold=3"), 1u);
}

TEST_F(ClientPipelineTest, NonNv12OutputResetsTheDecoderAtTheThirdPicture) {
    rig.decoders.decoding.nv12 = false;
    rig.env.endAt = 1090; // frames at 1000, 1033, 1066
    rig.Run();
    EXPECT_TRUE(rig.renderer.submitted.empty());
    EXPECT_TRUE(rig.env.HasChannelLog("0=5 decoder output subtype reset"));
    EXPECT_EQ(rig.decoders.decoding.endStreams, 1);
    EXPECT_EQ(CountLogMessages("Client decoded unsupported subtype for NV12-only renderer streak=1"), 1u);
}

TEST_F(ClientPipelineTest, FailingSubmitsResetTheRendererAtTheThirdThenAtMostOncePerSecond) {
    rig.renderer.submitOk = false;
    rig.env.endAt = 4000;
    rig.Run();
    const std::vector<uint32_t>& stops = rig.renderer.stopTicks;
    ASSERT_EQ(stops.size(), 3u);
    EXPECT_EQ(stops[0], 1066u) << "the third frame";
    ExpectSpacedAtLeast(stops, 1000);
    EXPECT_LE(stops[1] - stops[0], 1100u);
    EXPECT_EQ(rig.renderer.starts.size(), stops.size() + 1) << "the next frame starts it again";
    EXPECT_TRUE(rig.env.HasChannelLog("0=5 renderer reset after submit failures"));
}

struct BlackCase {
    const char* name;
    uint32_t codec;
    size_t minRequests;
};

class ClientBlackTest : public ClientPipelineTest, public ::testing::WithParamInterface<BlackCase> {};

TEST_P(ClientBlackTest, BlackPicturesRequestACaptureRestartForH264Only) {
    rig.receiver.codec = GetParam().codec;
    rig.decoders.decoding.black = true;
    rig.env.inputConnected = true;
    rig.env.tcpReady = true;
    rig.env.endAt = 6500;
    rig.Run();

    const std::vector<uint32_t>& requests = rig.env.restartRequests;
    EXPECT_GE(requests.size(), GetParam().minRequests);
    if (GetParam().codec == 0) {
        EXPECT_LE(requests.size(), 2u);
        EXPECT_GE(requests[0] - 1000, 1800u);
        EXPECT_LT(requests[0] - 1000, 1850u);
        ExpectSpacedAtLeast(requests, 2500);
        EXPECT_EQ(
            CountLogMessages("[VIDEO][RECOVERY] decoded black frames persist; request host capture restart "
                             "black_ms="),
            requests.size());
    } else {
        EXPECT_TRUE(requests.empty());
    }
    EXPECT_TRUE(rig.env.HasChannelLog("0=5 decoded black video for >1.5s"));
    EXPECT_GE(rig.env.CountStatus("Peer video stalled / reconnecting"), 1u);
}

INSTANTIATE_TEST_SUITE_P(Codecs, ClientBlackTest,
                         ::testing::Values(BlackCase{"H264", 0, 2}, BlackCase{"Tiles", 1, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClientPipelineTest, CodecSwitchReplacesTheDecoderWithoutARendererRestart) {
    rig.clock.At(2000, [this] { rig.receiver.codec = 1; });
    rig.env.endAt = 3000;
    rig.Run();
    EXPECT_EQ(rig.decoders.decoding.created, (std::vector<std::string>{"H264 64x36", "TILES"}));
    EXPECT_EQ(CountLogMessages("[QUALITY][CLIENT] codec switch H264 -> ULTRA"), 1u);
    EXPECT_TRUE(rig.renderer.stopTicks.empty());
    EXPECT_EQ(rig.renderer.starts.size(), 1u);
    ASSERT_FALSE(rig.renderer.submitted.empty());
    EXPECT_FALSE(rig.renderer.submitted.back().nv12);
    EXPECT_EQ(rig.renderer.submitted.back().visibleHeight, 36);
    EXPECT_GE(CountStatLines("client stat codec=ULTRA"), 1u);
}

TEST_F(ClientPipelineTest, StreamSizeChangeRebuildsTheDecoder) {
    rig.clock.At(2000, [this] {
        rig.receiver.width = 128;
        rig.receiver.height = 72;
    });
    rig.env.endAt = 3000;
    rig.Run();
    EXPECT_EQ(CountLogMessages("Client stream size changed 64x36 -> 128x72, rebuild decoder; RemoteView owns "
                               "renderer reset"),
              1u);
    EXPECT_TRUE(rig.env.HasChannelLog("0=5 stream size changed"));
    EXPECT_TRUE(rig.env.HasChannelLog("0=4 TCP video resumed"));
    EXPECT_EQ(rig.decoders.decoding.created, (std::vector<std::string>{"H264 64x36", "H264 128x72"}));
    EXPECT_EQ(rig.env.streamSize, "128x72");
}

struct OfflineCase {
    const char* name;
    bool deviceMissing;
    SessionRunEnd end;
    const char* line;
};

class ClientOfflineTest : public ClientPipelineTest, public ::testing::WithParamInterface<OfflineCase> {};

TEST_P(ClientOfflineTest, OfflineChecksEndTheRunOnTheNextPass) {
    rig.env.endAt = 60000;
    rig.clock.At(3000, [this] {
        if (GetParam().deviceMissing)
            rig.env.devicePresent = false;
        else
            rig.env.peerLost = true;
    });
    EXPECT_EQ(rig.Run(), GetParam().end);
    EXPECT_LE(rig.clock.Now(), 4001u) << "while the stream still flows";
    EXPECT_EQ(CountLogMessages(GetParam().line), 1u);
    if (!GetParam().deviceMissing) {
        for (int channel = 0; channel < 4; ++channel)
            EXPECT_TRUE(rig.env.HasChannelLog(std::to_string(channel) + "=1 peer offline")) << channel;
        EXPECT_EQ(rig.env.errorText, "Peer offline / waiting remote");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Causes, ClientOfflineTest,
    ::testing::Values(
        OfflineCase{"DeviceMissing", true, SessionRunEnd::Finished,
                    "[CLIENT][OFFLINE] local authorized device missing; exit client worker peer=10.0.0.2"},
        OfflineCase{"PeerLost", false, SessionRunEnd::PeerLost,
                    "[CLIENT][OFFLINE] session-owned peer offline; exit client worker peer=10.0.0.2 "
                    "peerLost=1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClientPipelineTest, ListenerFailureIsAVideoFailureOnlyWhileCurrent) {
    rig.receiver.listenOk = false;
    EXPECT_EQ(rig.Run(), SessionRunEnd::VideoFailed);
    EXPECT_EQ(rig.receiver.closes, 1);
    EXPECT_EQ(rig.receiver.frames, 0u);

    ClientRig stopped;
    stopped.receiver.listenOk = false;
    stopped.env.endAt = 500; // already stopped: the common end follows
    EXPECT_EQ(stopped.Run(), SessionRunEnd::Finished);
}

TEST_F(ClientPipelineTest, WaitingForTheFirstFrameRetriesTheControlRequest) {
    rig.receiver.sending = false;
    rig.env.endAt = 5000;
    rig.Run();
    EXPECT_EQ(rig.env.controlRequests.size(), 3u);
    ExpectSpacedAtLeast(rig.env.controlRequests, 900);
    EXPECT_EQ(CountLogMessages("Client handshake retry control request peer=10.0.0.2 waited_ms="), 3u);
    EXPECT_TRUE(rig.env.HasChannelLog("0=3 waiting first TCP video frame"));

    ClientRig suppressed;
    suppressed.receiver.sending = false;
    suppressed.env.stillCurrent = false;
    suppressed.env.endAt = 3000;
    suppressed.Run();
    EXPECT_TRUE(suppressed.env.controlRequests.empty());
    if (Log::IsDebugCategoryEnabled("state"))
        EXPECT_GE(CountLogMessages("Client handshake retry suppressed peer=10.0.0.2 role="), 1u);
}

TEST_F(ClientPipelineTest, LockedPeerClosingVideoAndInputStartsOneRebindUntilTheNextFrame) {
    rig.env.desktopLock = 1;
    rig.clock.At(2000, [this] {
        rig.receiver.sending = false;
        rig.receiver.connection = false;
    });
    rig.clock.At(9000, [this] {
        rig.env.desktopLock = 0;
        rig.receiver.sending = true;
        rig.receiver.connection = true;
    });
    rig.env.endAt = 10000;
    rig.Run();

    EXPECT_EQ(CountLogMessages(
                  "[SESSION][LOGINWINDOW_EXIT] video peer closed + input peer closed while remoteLocked"),
              1u);
    EXPECT_EQ(rig.env.desktopResets, 1);
    EXPECT_GE(rig.env.controlRequests.size(), 4u);
    ExpectSpacedAtLeast(rig.env.controlRequests, 750);
    EXPECT_EQ(CountLogMessages("[SESSION][REBIND] LoginWindow->Aqua CONTROL_REQUEST retry peer=10.0.0.2"),
              rig.env.controlRequests.size());
    EXPECT_EQ(
        CountLogMessages("[SESSION][LOGINWINDOW_EXIT] Aqua video attached; rebind complete peer=10.0.0.2"),
        1u);
    EXPECT_TRUE(rig.env.HasChannelLog("0=5 loginwindow video peer closed / Aqua rebind"));
    EXPECT_EQ(rig.env.CountStatus("Mac login completed / reconnecting desktop"), 1u);
    EXPECT_EQ(rig.env.desktopSizes[rig.env.desktopSizes.size() - 1], "128x72")
        << "the next frame publishes it again";
}

TEST_F(ClientPipelineTest, PeerAddressChangeMovesTheSideChannels) {
    rig.clock.At(2500, [this] { rig.env.movedTo = "10.0.0.9"; });
    rig.env.endAt = 4000;
    rig.Run();
    EXPECT_EQ(CountLogMessages("Client reconnect resolved peer IP change 10.0.0.2 -> 10.0.0.9"), 1u);
    EXPECT_EQ(rig.env.activePeer, "10.0.0.9");
    EXPECT_EQ(rig.env.inputStarts.back(), "10.0.0.9:5000");
    EXPECT_EQ(rig.env.clipboardStarts.back(), "10.0.0.9");
    EXPECT_EQ(rig.env.requestPeers, std::vector<std::string>{"10.0.0.9"});
    EXPECT_TRUE(rig.env.HasChannelLog("1=5 peer IP changed"));
}

} // namespace
