#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "media/H264EncoderSettings.h"
#include "media/H264EncoderStats.h"

namespace {

TEST(H264EncoderSettingsTest, FrameRateGopAndDuration) {
    struct Case {
        const char* name;
        int32_t fps;
        int32_t usedFps;
        int32_t gop;
        int64_t duration;
    };
    const Case cases[] = {{"30 fps", 30, 30, 30, 333333},
                          {"60 fps", 60, 60, 60, 166666},
                          {"0 means the default rate, GOP 60", 0, 30, 60, 333333},
                          {"negative likewise", -5, 30, 60, 333333}};
    for (const Case& c : cases) {
        const H264EncoderSettings s = MakeH264EncoderSettings(1920, 1080, c.fps, 25'000'000);
        EXPECT_EQ(s.fps, c.usedFps) << c.name;
        EXPECT_EQ(s.gop, c.gop) << c.name;
        EXPECT_EQ(s.frameDuration100ns, c.duration) << c.name;
    }
}

EncodedFrameRecord Frame(bool ok, bool idr, uint32_t ms, size_t bytes = 1000) {
    EncodedFrameRecord f;
    f.ok = ok;
    f.gotOutput = ok && bytes > 0;
    f.bytes = ok ? bytes : 0;
    f.nal.idr = idr;
    f.nal.sps = idr;
    f.nal.pps = idr;
    f.encodeMs = ms;
    return f;
}

TEST(H264EncoderStatsTest, FrameLineRules) {
    struct Step {
        const char* name;
        EncodedFrameRecord frame;
        uint32_t now;
        bool mediaDebug;
        bool written;
    };
    const Step steps[] = {
        {"failed frame always", Frame(false, false, 1), 1000, false, true},
        {"IDR without media debug", Frame(true, true, 1), 5000, false, false},
        {"IDR with media debug", Frame(true, true, 1), 5000, true, true},
        {"slow frame within 2 s of the last line", Frame(true, false, 25), 6999, true, false},
        {"failed frame within 2 s still written", Frame(false, false, 1), 7000, false, true},
        {"fast plain frame", Frame(true, false, 19), 9500, true, false},
        {"slow frame after the gap", Frame(true, false, 20), 9000, true, true},
    };
    H264EncoderStats stats;
    stats.Restart(0);
    for (const Step& s : steps)
        EXPECT_EQ(stats.Record(s.frame, s.now, s.mediaDebug), s.written) << s.name;
    EXPECT_EQ(stats.FrameNumber(), 7u);
    EXPECT_EQ(stats.Failures(), 2u);
}

TEST(H264EncoderStatsTest, FrameLineText) {
    H264EncoderStats stats;
    stats.Restart(0);
    const EncodedFrameRecord f = Frame(false, false, 3);
    stats.Record(f, 10, false);
    const H264EncoderSettings s = MakeH264EncoderSettings(64, 48, 0, 1000000);
    EXPECT_EQ(stats.FrameLine("BGRA", f, s, 666666),
              "[VIDEO][ENC][FRAME] path=BGRA frame=1 ok=0 got=0 bytes=0 idr=0 sps=0 pps=0 encode_ms=3 "
              "target=64x48 fps=30 bitrate=1000000 gop=60 rt_100ns=666666");
}

TEST(H264EncoderStatsTest, WindowLineEveryTenSecondsThenRestarts) {
    const H264EncoderSettings s = MakeH264EncoderSettings(64, 48, 30, 2000000);
    H264EncoderStats stats;
    stats.Restart(100);
    stats.Record(Frame(true, true, 4, 5000), 200, false);
    stats.Record(Frame(true, false, 2, 1000), 300, false);
    stats.Record(Frame(false, false, 6), 400, false);
    stats.Record(Frame(true, false, 0, 0), 500, false);
    EXPECT_EQ(stats.TakeWindowLine("NV12", s, 10'099), "");
    EXPECT_EQ(stats.TakeWindowLine("NV12", s, 10'100),
              "[VIDEO][ENC][STAT] path=NV12 size=64x48 target_fps=30 input_fps=0.4 output_fps=0.2 "
              "target_bitrate=2000000 actual_kbps=5 avg_frame_bytes=3000 idr=1 sps=1 pps=1 fail=1 "
              "avg_encode_ms=3.00 max_encode_ms=6 gop=30 frame_no=4");
    EXPECT_EQ(stats.FramesIn(), 0u);
    EXPECT_EQ(stats.FrameNumber(), 4u);
    EXPECT_EQ(stats.TakeWindowLine("NV12", s, 15'000), "");
}

} // namespace
