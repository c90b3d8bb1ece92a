#include <gtest/gtest.h>

#include <random>

#include "core/Log.h"
#include "media/VideoFrameAssembler.h"
#include "media/VideoFrameHeader.h"
#include "support/TestLog.h"

#include "VideoStreamBuilder.h"

namespace {

struct Taken {
    VideoFrameAssembler::Take result;
    Bytes payload;
    VideoFrameInfo info;
};

Taken TakeOne(VideoFrameAssembler& assembler) {
    Taken taken;
    taken.result = assembler.TakeFrame(taken.payload, taken.info);
    return taken;
}

void Feed(VideoFrameAssembler& assembler, const Bytes& bytes) {
    ASSERT_TRUE(assembler.Append(bytes.data(), bytes.size()));
}

using Take = VideoFrameAssembler::Take;

class VideoFrameAssemblerTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
    }
};

TEST_F(VideoFrameAssemblerTest, HandsOutAFrameWithItsNumbers) {
    VideoFrameAssembler assembler;
    const Bytes body = IdrBody(300);
    Feed(assembler, Frame(body, 42, VideoCodecFlag::Tiles));
    const Taken taken = TakeOne(assembler);
    ASSERT_EQ(taken.result, Take::Frame);
    EXPECT_EQ(taken.payload, body);
    EXPECT_EQ(taken.info.frameId, 42u);
    EXPECT_EQ(taken.info.codec, 1u);
    EXPECT_EQ(taken.info.videoWidth, 1920u);
    EXPECT_EQ(taken.info.videoHeight, 1080u);
    EXPECT_EQ(taken.info.desktopWidth, 2560u);
    EXPECT_EQ(taken.info.desktopHeight, 1440u);
    EXPECT_EQ(assembler.Buffered(), 0u);
    EXPECT_EQ(TakeOne(assembler).result, Take::NeedMore);
}

TEST_F(VideoFrameAssemblerTest, InvalidHeadersAskForAReset) {
    struct Case {
        const char* name;
        void (*change)(VideoFrameHeader&);
        const char* log;
    } cases[] = {
        {"payload unequal", [](VideoFrameHeader& h) { h.payloadBytes = h.frameBytes - 1; },
         "TCP video invalid frame header id=5 size=64 payload=63 count=1; reset connection"},
        {"count 2", [](VideoFrameHeader& h) { h.frameCount = 2; },
         "TCP video invalid frame header id=5 size=64 payload=64 count=2; reset connection"},
        {"frame bytes 0", [](VideoFrameHeader& h) { h.frameBytes = h.payloadBytes = 0; },
         "TCP video invalid frame header id=5 size=0 payload=0 count=1; reset connection"},
        {"too large", [](VideoFrameHeader& h) { h.frameBytes = h.payloadBytes = 0x10000001; },
         "TCP video invalid frame header id=5 size=268435457 payload=268435457 count=1; reset connection"},
        {"magic", [](VideoFrameHeader& h) { h.magic[0] = 'Z'; },
         "TCP video bad frame header magic=0x4C53545A ver=3 header=60; reset connection"},
        {"version", [](VideoFrameHeader& h) { h.version = 4; },
         "TCP video bad frame header magic=0x4C535459 ver=4 header=60; reset connection"},
        {"video width", [](VideoFrameHeader& h) { h.videoWidth = 16385; },
         "TCP video frame size out of range id=5 video=16385x1080 desktop=2560x1440 max=16384; reset "
         "connection"},
        {"desktop height", [](VideoFrameHeader& h) { h.desktopHeight = 0x80000000; },
         "TCP video frame size out of range id=5 video=1920x1080 desktop=2560x2147483648 max=16384; reset "
         "connection"},
    };
    for (const Case& c : cases) {
        TestLog().Clear();
        VideoFrameAssembler assembler;
        const Bytes body = PSliceBody(64);
        VideoFrameHeader header = HeaderFor(body, 5, VideoCodecFlag::H264);
        c.change(header);
        Feed(assembler, Frame(header, body));
        const Taken taken = TakeOne(assembler);
        EXPECT_EQ(taken.result, Take::Reset) << c.name;
        EXPECT_TRUE(taken.payload.empty()) << c.name;
        EXPECT_EQ(CountLogMessages(c.log), 1u) << c.name;
    }
}

TEST_F(VideoFrameAssemblerTest, UnknownCodecFrameIsSkippedAndTheNextOneStillArrives) {
    VideoFrameAssembler assembler;
    Bytes stream = Frame(IdrBody(), 8, VideoCodecFlag(2));
    Append(stream, Frame(PSliceBody(), 9));
    Feed(assembler, stream);
    const Taken skipped = TakeOne(assembler);
    EXPECT_EQ(skipped.result, Take::Skipped);
    EXPECT_TRUE(skipped.payload.empty());
    EXPECT_EQ(skipped.info.frameId, 8u);
    EXPECT_EQ(CountLogMessages("TCP video unsupported codec flag=2 frame=8; drop frame"), 1u);
    const Taken next = TakeOne(assembler);
    EXPECT_EQ(next.result, Take::Frame);
    EXPECT_EQ(next.info.frameId, 9u);
    EXPECT_EQ(next.payload, PSliceBody());
}

TEST_F(VideoFrameAssemblerTest, HeaderWithoutItsFrameKeepsTheBytes) {
    VideoFrameAssembler assembler;
    const Bytes frame = Frame(IdrBody(100), 1);
    Feed(assembler, Bytes(frame.begin(), frame.begin() + kVideoFrameHeaderBytes));
    EXPECT_EQ(TakeOne(assembler).result, Take::NeedMore);
    EXPECT_EQ(assembler.Buffered(), kVideoFrameHeaderBytes);
    Feed(assembler, Bytes(frame.begin() + kVideoFrameHeaderBytes, frame.end() - 1));
    EXPECT_EQ(TakeOne(assembler).result, Take::NeedMore);
    Feed(assembler, Bytes(frame.end() - 1, frame.end()));
    EXPECT_EQ(TakeOne(assembler).result, Take::Frame);
}

TEST_F(VideoFrameAssemblerTest, BufferNeverGrowsBeyondTheCap) {
    VideoFrameAssembler assembler;
    const Bytes some(1000, 0);
    Feed(assembler, some);
    // The size is refused before a byte is read, so the source need not be that large.
    EXPECT_FALSE(assembler.Append(some.data(), kVideoReceiveBufferCap - 999));
    EXPECT_EQ(assembler.Buffered(), 1000u);
    EXPECT_EQ(CountLogMessages("TCP video receive buffer overflow rx=1000 add=268435541; reset connection"),
              1u);
    EXPECT_FALSE(assembler.Append(some.data(), SIZE_MAX));
    EXPECT_EQ(assembler.Buffered(), 1000u);
}

// A consumer that falls behind leaves the stream in the socket beyond the high-water mark, except that the
// frame at the front is always completed, and never by more than it lacks.
TEST_F(VideoFrameAssemblerTest, ReadAllowanceStopsAtTheHighWaterMarkButCompletesTheFrontFrame) {
    const size_t high = kVideoReceiveHighWaterBytes;
    const Bytes big = Frame(PSliceBody(high + 100000), 1);
    Bytes badHeader = Frame(PSliceBody(high), 2);
    badHeader[14] = 2; // frame count 2
    struct Case {
        const char* name;
        Bytes buffered;
        size_t allowance;
    } cases[] = {
        {"empty", {}, kVideoReceivePieceBytes},
        {"below the mark", Frame(PSliceBody(high - 200), 1), kVideoReceivePieceBytes},
        {"whole frames at the mark", Frame(PSliceBody(high), 1), 0},
        {"large front frame lacking much", Bytes(big.begin(), big.end() - 100000), kVideoReceivePieceBytes},
        {"large front frame lacking 7 bytes", Bytes(big.begin(), big.end() - 7), 7},
        {"large front frame whole", big, 0},
        {"invalid front header", badHeader, 0},
    };
    for (const Case& c : cases) {
        VideoFrameAssembler assembler;
        if (!c.buffered.empty())
            Feed(assembler, c.buffered);
        EXPECT_EQ(assembler.ReadAllowance(), c.allowance) << c.name;
    }
}

// recv may write less than the room it was given; only what it wrote is kept.
TEST_F(VideoFrameAssemblerTest, CommitKeepsOnlyWhatWasWritten) {
    VideoFrameAssembler assembler;
    const Bytes frame = Frame(IdrBody(1000), 3);
    uint8_t* room = assembler.PrepareAppend(kVideoReceivePieceBytes);
    std::copy(frame.begin(), frame.begin() + 500, room);
    ASSERT_TRUE(assembler.CommitAppend(500));
    EXPECT_EQ(assembler.Buffered(), 500u);
    room = assembler.PrepareAppend(frame.size() - 500);
    std::copy(frame.begin() + 500, frame.end(), room);
    ASSERT_TRUE(assembler.CommitAppend(frame.size())); // more than prepared: clamped
    EXPECT_EQ(assembler.Buffered(), frame.size());
    const Taken taken = TakeOne(assembler);
    EXPECT_EQ(taken.result, Take::Frame);
    EXPECT_EQ(taken.info.frameId, 3u);
}

// Frames of this size make a backlog of at least 2 MiB from five frames.
constexpr size_t kBigBody = 440 * 1024;

TEST_F(VideoFrameAssemblerTest, BacklogOfThreeFramesIsKept) {
    VideoFrameAssembler assembler;
    Feed(assembler, Frame(PSliceBody(kVideoTrimThresholdBytes), 1));
    Feed(assembler, Frame(PSliceBody(), 2));
    Feed(assembler, Frame(IdrBody(), 3));
    const size_t before = assembler.Buffered();
    ASSERT_GE(before, kVideoTrimThresholdBytes);
    assembler.TrimBacklog();
    EXPECT_EQ(assembler.Buffered(), before);
}

TEST_F(VideoFrameAssemblerTest, BacklogOfFourFramesResumesAtTheLastIdr) {
    VideoFrameAssembler assembler;
    const Bytes f1 = Frame(PSliceBody(kBigBody * 3), 1);
    const Bytes f2 = Frame(PSliceBody(kBigBody), 2);
    const Bytes f3 = Frame(IdrBody(kBigBody), 3);
    const Bytes f4 = Frame(PSliceBody(kBigBody), 4);
    for (const Bytes* f : {&f1, &f2, &f3, &f4})
        Feed(assembler, *f);
    assembler.TrimBacklog();
    EXPECT_EQ(assembler.Buffered(), f3.size() + f4.size());
    EXPECT_EQ(CountLogMessages(
                  "[VIDEO][LOW_LATENCY] dropped stale compressed backlog bytes=" +
                  std::to_string(f1.size() + f2.size()) +
                  " complete_frames=4 resume_at_idr=1 remain=" + std::to_string(f3.size() + f4.size())),
              1u);
    EXPECT_EQ(TakeOne(assembler).info.frameId, 3u);
    EXPECT_EQ(TakeOne(assembler).info.frameId, 4u);
}

TEST_F(VideoFrameAssemblerTest, NoTrimBelowTwoMebibytesOrWithoutALaterIdr) {
    struct Case {
        const char* name;
        size_t bodySize;
        bool idrFirst;
    } cases[] = {
        {"small backlog", 1000, false},
        {"only the first frame is IDR", kBigBody, true},
    };
    for (const Case& c : cases) {
        VideoFrameAssembler assembler;
        for (uint32_t id = 0; id < 6; ++id) {
            const bool idr = c.idrFirst ? id == 0 : id == 4;
            Feed(assembler, Frame(idr ? IdrBody(c.bodySize) : PSliceBody(c.bodySize), id));
        }
        const size_t before = assembler.Buffered();
        assembler.TrimBacklog();
        EXPECT_EQ(assembler.Buffered(), before) << c.name;
    }
}

// Every tile frame is a whole picture: with four whole frames queued the newest tile frame is where the
// stream resumes, however few bytes they hold.
TEST_F(VideoFrameAssemblerTest, TileBacklogResumesAtTheNewestTileFrame) {
    struct Case {
        const char* name;
        std::vector<VideoCodecFlag> codecs;
        uint32_t resumeId; // 0: nothing dropped
    } cases[] = {
        {"three tile frames", {VideoCodecFlag::Tiles, VideoCodecFlag::Tiles, VideoCodecFlag::Tiles}, 0},
        {"four tile frames",
         {VideoCodecFlag::Tiles, VideoCodecFlag::Tiles, VideoCodecFlag::Tiles, VideoCodecFlag::Tiles},
         4},
        {"switch to tiles",
         {VideoCodecFlag::H264, VideoCodecFlag::H264, VideoCodecFlag::Tiles, VideoCodecFlag::Tiles,
          VideoCodecFlag::Tiles},
         5},
        {"switch to H.264 after the first tile frame",
         {VideoCodecFlag::Tiles, VideoCodecFlag::H264, VideoCodecFlag::H264, VideoCodecFlag::H264},
         0},
    };
    for (const Case& c : cases) {
        TestLog().Clear();
        VideoFrameAssembler assembler;
        std::vector<Bytes> frames;
        for (size_t i = 0; i < c.codecs.size(); ++i) {
            frames.push_back(Frame(PSliceBody(500), static_cast<uint32_t>(i + 1), c.codecs[i]));
            Feed(assembler, frames.back());
        }
        const size_t before = assembler.Buffered();
        assembler.TrimBacklog();
        if (c.resumeId == 0) {
            EXPECT_EQ(assembler.Buffered(), before) << c.name;
            EXPECT_EQ(CountLogMessages("[VIDEO][LOW_LATENCY] dropped stale tile"), 0u) << c.name;
            continue;
        }
        size_t dropped = 0;
        for (uint32_t id = 1; id < c.resumeId; ++id)
            dropped += frames[id - 1].size();
        EXPECT_EQ(CountLogMessages("[VIDEO][LOW_LATENCY] dropped stale tile frames=" +
                                   std::to_string(c.resumeId - 1) + " bytes=" + std::to_string(dropped) +
                                   " complete_frames=" + std::to_string(c.codecs.size()) +
                                   " remain=" + std::to_string(before - dropped)),
                  1u)
            << c.name;
        EXPECT_EQ(TakeOne(assembler).info.frameId, c.resumeId) << c.name;
    }
}

// A valid stream cut into pieces at random points gives the same frames as it gives whole.
TEST_F(VideoFrameAssemblerTest, RandomSplitsGiveTheSameFrames) {
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        std::mt19937 random(seed);
        Bytes stream;
        std::vector<Bytes> expected;
        for (uint32_t id = 0; id < 40; ++id) {
            const size_t size = 1 + random() % (random() % 4 == 0 ? 40000 : 300);
            Bytes body(size);
            for (uint8_t& b : body)
                b = static_cast<uint8_t>(random());
            const uint32_t codec = random() % 5 == 0 ? 2 + random() % 3 : random() % 2;
            Append(stream, Frame(body, id, VideoCodecFlag(codec)));
            if (codec < 2)
                expected.push_back(body);
        }
        VideoFrameAssembler assembler;
        std::vector<Bytes> received;
        size_t at = 0;
        while (at < stream.size()) {
            // As recv fills the room it is given: any amount up to it.
            const size_t room = 1 + random() % 5000;
            const size_t written = std::min<size_t>(stream.size() - at, 1 + random() % room);
            std::copy(stream.begin() + at, stream.begin() + at + written, assembler.PrepareAppend(room));
            ASSERT_TRUE(assembler.CommitAppend(written));
            at += written;
            for (;;) {
                Taken taken = TakeOne(assembler);
                ASSERT_NE(taken.result, Take::Reset) << "seed " << seed;
                if (taken.result == Take::NeedMore)
                    break;
                if (taken.result == Take::Frame)
                    received.push_back(std::move(taken.payload));
            }
        }
        EXPECT_EQ(received, expected) << "seed " << seed;
        EXPECT_EQ(assembler.Buffered(), 0u);
    }
}

TEST_F(VideoFrameAssemblerTest, ClearDropsEverything) {
    VideoFrameAssembler assembler;
    const Bytes frame = Frame(IdrBody(), 1);
    Feed(assembler, Bytes(frame.begin(), frame.begin() + 70));
    assembler.Clear();
    EXPECT_EQ(assembler.Buffered(), 0u);
    Feed(assembler, frame);
    EXPECT_EQ(TakeOne(assembler).result, Take::Frame);
}

} // namespace
