#include <gtest/gtest.h>

#include <string>

#include "media/HostFramePacer.h"
#include "media/HostVideoSettings.h"

namespace {

struct EffectiveCase {
    const char* name;
    HostVideoRequest request;
    ConfigSnapshot config;
    int32_t maxWidth, maxHeight, fps, bitrate;
};

ConfigSnapshot Config(uint32_t fps, uint32_t bitrate, int32_t maxWidth = 0, int32_t maxHeight = 0) {
    ConfigSnapshot config;
    config.fps = fps;
    config.bitrate = bitrate;
    config.maxVideoWidth = maxWidth;
    config.maxVideoHeight = maxHeight;
    return config;
}

HostVideoRequest Request(uint32_t width, uint32_t height, uint32_t fps, uint32_t bitrate) {
    HostVideoRequest request;
    request.width = width;
    request.height = height;
    request.fps = fps;
    request.bitrate = bitrate;
    return request;
}

class EffectiveHostVideoTest : public ::testing::TestWithParam<EffectiveCase> {};

TEST_P(EffectiveHostVideoTest, Table) {
    const EffectiveCase& c = GetParam();
    const HostEffectiveVideo video = EffectiveHostVideo(c.request, c.config);
    EXPECT_EQ(video.maxWidth, c.maxWidth);
    EXPECT_EQ(video.maxHeight, c.maxHeight);
    EXPECT_EQ(video.fps, c.fps);
    EXPECT_EQ(video.bitrate, c.bitrate);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EffectiveHostVideoTest,
    ::testing::Values(
        EffectiveCase{"NoRequestFpsAndConfiguredZeroGives30", Request(0, 0, 0, 0), Config(0, 0), 0, 0, 30,
                      25000000},
        EffectiveCase{"RequestedFiftyIsHeldTo30", Request(0, 0, 50, 0), Config(60, 0), 0, 0, 30, 25000000},
        EffectiveCase{"Configured75WithoutRequestIsHeldTo60", Request(0, 0, 0, 0), Config(75, 0), 0, 0, 60,
                      25000000},
        EffectiveCase{"RequestedTwentyIsKept", Request(0, 0, 20, 0), Config(60, 0), 0, 0, 20, 25000000},
        EffectiveCase{"OddRequestSizeIsMadeEven", Request(1921, 1081, 0, 0), Config(30, 0), 1920, 1080, 30,
                      25000000},
        EffectiveCase{"RequestedOneBecomesUnlimited", Request(1, 1, 0, 0), Config(30, 0, 1280, 720), 0, 0, 30,
                      25000000},
        EffectiveCase{"SettingsFillAMissingSize", Request(0, 0, 0, 0), Config(30, 0, 1281, 719), 1280, 718,
                      30, 25000000},
        EffectiveCase{"RequestedBitrateWins", Request(0, 0, 0, 8000000), Config(30, 5000000), 0, 0, 30,
                      8000000},
        EffectiveCase{"ConfiguredBitrateWithoutRequest", Request(0, 0, 0, 0), Config(30, 5000000), 0, 0, 30,
                      5000000},
        EffectiveCase{"HugeRequestIsNotNegative", Request(0x80000001u, 4, 0x80000000u, 0x90000000u),
                      Config(30, 0), 0x7FFFFFFE, 4, 30, 0x7FFFFFFF}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HostLowBandwidthTest, IntervalsFollowFpsAndIdleSettings) {
    struct Case {
        int32_t fps;
        int32_t idleFps;
        uint32_t keepalive;
        uint32_t active, idle;
    };
    for (const Case& c : {Case{30, 2, 1000, 33, 500}, Case{0, 2, 1000, 16, 500}, Case{2000, 0, 100, 1, 250},
                          Case{60, 0, 1500, 16, 1500}, Case{30, 5000, 0, 33, 1}}) {
        ConfigSnapshot config;
        config.idleFps = c.idleFps;
        config.idleKeepaliveMs = c.keepalive;
        const HostLowBandwidth low = ComputeHostLowBandwidth(c.fps, config);
        EXPECT_EQ(low.activeFrameMs, c.active) << "fps=" << c.fps;
        EXPECT_EQ(low.idleFrameMs, c.idle) << "idleFps=" << c.idleFps << " keepalive=" << c.keepalive;
        EXPECT_EQ(low.hiddenHeartbeatMs, 1000u);
    }
    EXPECT_EQ(GdiFrameIntervalMs(0), 33u);
    EXPECT_EQ(GdiFrameIntervalMs(30), 33u);
    EXPECT_EQ(GdiFrameIntervalMs(5000), 1u);
}

TEST(HostVideoAddressTest, OnlyTheCableNetwork) {
    EXPECT_TRUE(IsCableVideoAddress("10.0.0.2"));
    EXPECT_FALSE(IsCableVideoAddress("10."));
    EXPECT_FALSE(IsCableVideoAddress("100.1.2.3"));
    EXPECT_FALSE(IsCableVideoAddress("192.168.10.1"));
    EXPECT_FALSE(IsCableVideoAddress(""));
}

TEST(HostFramePacerTest, DueTimesAdvanceByIntervalAndResetAfterALag) {
    HostFramePacer pacer;
    pacer.Reset(1000);
    EXPECT_EQ(pacer.RemainingMs(1000), 0u);
    pacer.Advance(1000, 33);
    EXPECT_EQ(pacer.RemainingMs(1010), 23u);
    pacer.Advance(1040, 33); // a little late: stays on the grid
    EXPECT_EQ(pacer.RemainingMs(1040), 26u);
    pacer.Advance(1400, 33); // 300 ms behind: starts again from now
    EXPECT_EQ(pacer.RemainingMs(1400), 33u);
}

TEST(HostFramePacerTest, WorksAcrossTheTickWrap) {
    HostFramePacer pacer;
    pacer.Reset(0xFFFFFFF0u);
    pacer.Advance(0xFFFFFFF0u, 33);
    EXPECT_EQ(pacer.RemainingMs(0xFFFFFFF0u), 33u);
    EXPECT_EQ(pacer.RemainingMs(5), 12u);
    EXPECT_EQ(pacer.RemainingMs(20), 0u);
}

TEST(HostFramePacerTest, WaitsAndIntervalsBySource) {
    EXPECT_EQ(HostFrameIntervalMs(HostFrameSource::Secure, 33), 100u);
    EXPECT_EQ(HostFrameIntervalMs(HostFrameSource::Hidden, 33), 1000u);
    EXPECT_EQ(HostFrameIntervalMs(HostFrameSource::Normal, 33), 33u);
    EXPECT_EQ(HostFramePacer::WaitMs(HostFrameSource::Secure, 250), 100u);
    EXPECT_EQ(HostFramePacer::WaitMs(HostFrameSource::Secure, 30), 30u);
    EXPECT_EQ(HostFramePacer::WaitMs(HostFrameSource::Hidden, 300), 50u);
    EXPECT_EQ(HostFramePacer::WaitMs(HostFrameSource::Hidden, 20), 20u);
    EXPECT_EQ(HostFramePacer::WaitMs(HostFrameSource::Hidden, 0), 1u);
    EXPECT_EQ(HostFramePacer::WaitMs(HostFrameSource::Normal, 30), 1u);
}

} // namespace
