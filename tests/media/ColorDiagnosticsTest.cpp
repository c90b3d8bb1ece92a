#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "media/ColorDiagnostics.h"

namespace {

using Bytes = std::vector<uint8_t>;

TEST(ColorDiagnosticsTest, BgraStatisticsOverAPaddedFrame) {
    // 4x2, stride 20: row 0 is B,G,R = 10,20,30; row 1 is 50,60,70; padding bytes are 255 and never read.
    Bytes frame(40, 255);
    for (int x = 0; x < 4; ++x) {
        frame[x * 4 + 0] = 10, frame[x * 4 + 1] = 20, frame[x * 4 + 2] = 30;
        frame[20 + x * 4 + 0] = 50, frame[20 + x * 4 + 1] = 60, frame[20 + x * 4 + 2] = 70;
    }
    BgraStats s;
    ASSERT_TRUE(MeasureBgra(frame.data(), 4, 2, 20, s));
    EXPECT_EQ(FormatBgraStats("[COLOR][CAPTURE][BGRA-STATS]", s, 4, 2, 20),
              "[COLOR][CAPTURE][BGRA-STATS] BGRA sample=4x2 avgBGR=30,40,50 minBGR=10,20,30 maxBGR=50,60,70 "
              "src=4x2 stride=20");
    EXPECT_FALSE(MeasureBgra(frame.data(), 4, 2, 12, s));
    EXPECT_FALSE(MeasureBgra(nullptr, 4, 2, 0, s));
    EXPECT_FALSE(MeasureBgra(frame.data(), 0, 2, 0, s));
}

TEST(ColorDiagnosticsTest, LargeFramesAreSampledOnABoundedGrid) {
    const int width = 1000;
    const int height = 300;
    Bytes frame(static_cast<size_t>(width) * height * 4, 100);
    BgraStats s;
    ASSERT_TRUE(MeasureBgra(frame.data(), width, height, 0, s));
    EXPECT_EQ(s.columns, kStatsColumns);
    EXPECT_EQ(s.rows, kStatsRows);
    EXPECT_EQ(s.avg[1], 100u);
}

TEST(ColorDiagnosticsTest, Nv12StatisticsCountOutOfStudioRangeLuma) {
    // 4x2 luma: 0, 10, 240, 255 / 16, 235, 100, 100; U,V pairs (90,200) and (110,150).
    const Bytes frame = {0, 10, 240, 255, 16, 235, 100, 100, 90, 200, 110, 150};
    Nv12Stats s;
    ASSERT_TRUE(MeasureNv12(frame.data(), 4, 2, 0, 0, s));
    EXPECT_EQ(s.yBelow16, 2u);
    EXPECT_EQ(s.yAbove235, 2u);
    EXPECT_EQ(
        FormatNv12Stats("[COLOR][ENC][NV12-FIRST]", Nv12StatsSource::Encoder, s, 4, 2, 4, 4),
        "[COLOR][ENC][NV12-FIRST] NV12 input sampleY=4x2 avgY=119 minY=0 maxY=255 yBelow16=2 yAbove235=2 "
        "avgUV=100,175 minUV=90,150 maxUV=110,200 size=4x2 pitch=4/4 expectedRange=full "
        "expectedMatrix=BT709");
    EXPECT_EQ(FormatNv12Stats("[COLOR][NV12]", Nv12StatsSource::Capture, s, 4, 2, 4, 4),
              "[COLOR][NV12] NV12 sampleY=4x2 avgY=119 minY=0 maxY=255 yBelow16=2 yAbove235=2 avgUV=100,175 "
              "minUV=90,150 maxUV=110,200 size=4x2 pitch=4/4 rangeExpected=full matrixExpected=BT709");
    EXPECT_EQ(FormatNv12Stats("[COLOR][RENDER][NV12-FIRST]", Nv12StatsSource::Renderer, s, 4, 2, 4, 4),
              "[COLOR][RENDER][NV12-FIRST] NV12 decoded sampleY=4x2 avgY=119 minY=0 maxY=255 yBelow16=2 "
              "yAbove235=2 avgUV=100,175 minUV=90,150 maxUV=110,200 coded=4x2 pitch=4/4 shaderMatrix=BT709 "
              "shaderRange=full swapchain=BGRA8_SDR");
    EXPECT_FALSE(MeasureNv12(frame.data(), 4, 2, 3, 0, s));
    EXPECT_FALSE(MeasureNv12(frame.data(), 1, 1, 0, 0, s));
}

} // namespace

namespace {

TEST(ColorDiagnosticsTest, CaptureAndHeaderColourWords) {
    struct Case {
        const char* name;
        bool hdrSwitch;
        bool windowsHdr;
        uint32_t mode, transfer, bits, captureFlags, headerFlags;
    };
    const Case cases[] = {{"SDR desktop, switch off", false, false, 0, 0, 8, 0x100, 0x100},
                          {"HDR desktop, switch off", false, true, 0, 0, 8, 0x100, 0x100},
                          {"switch on, Windows HDR off", true, false, 0, 0, 8, 0x100, 0x102},
                          {"switch on, HDR desktop", true, true, 1, 1, 10, 0x101, 0x102}};
    for (const Case& c : cases) {
        const CaptureColorDescription d = DescribeCaptureColor(c.hdrSwitch, c.windowsHdr);
        EXPECT_EQ(d.colorMode, c.mode) << c.name;
        EXPECT_EQ(d.transfer, c.transfer) << c.name;
        EXPECT_EQ(d.bitDepth, c.bits) << c.name;
        EXPECT_EQ(d.hdrFlags, c.captureFlags) << c.name;
        EXPECT_EQ(VideoHeaderHdrFlags(c.hdrSwitch), c.headerFlags) << c.name;
    }
}

} // namespace
