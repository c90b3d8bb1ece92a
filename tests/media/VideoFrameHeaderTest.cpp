#include <gtest/gtest.h>

#include <cstring>

#include "media/VideoColor.h"
#include "media/VideoFrameHeader.h"
#include "media/VideoLimits.h"

#include "VideoStreamBuilder.h"

namespace {

VideoFrameHeader DistinctHeader() {
    VideoFrameHeader h;
    h.frameId = 0x11223344;
    h.reserved = 0x5566;
    h.frameBytes = 0x00012345;
    h.payloadBytes = 0x00012345;
    h.codec = 1;
    h.videoWidth = 1918;
    h.videoHeight = 1078;
    h.desktopWidth = 3840;
    h.desktopHeight = 2160;
    h.colorMode = 2;
    h.transfer = 1;
    h.bitDepth = 10;
    h.hdrFlags = 0x102;
    return h;
}

TEST(VideoFrameHeaderTest, PacksLittleEndianAtTheWireOffsets) {
    uint8_t bytes[kVideoFrameHeaderBytes];
    PackVideoFrameHeader(DistinctHeader(), bytes);
    const uint8_t expected[kVideoFrameHeaderBytes] = {
        'Y',  'T',  'S',  'L',  0x03, 0x00, 0x3C, 0x00, // magic, version 3, header size 60
        0x44, 0x33, 0x22, 0x11, 0x66, 0x55, 0x01, 0x00, // frame id, reserved, count 1
        0x45, 0x23, 0x01, 0x00, 0x45, 0x23, 0x01, 0x00, // frame bytes, payload bytes
        0x01, 0x00, 0x00, 0x00, 0x7E, 0x07, 0x00, 0x00, // codec, video width 1918
        0x36, 0x04, 0x00, 0x00, 0x00, 0x0F, 0x00, 0x00, // video height 1078, desktop width 3840
        0x70, 0x08, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, // desktop height 2160, colour mode
        0x01, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x00, 0x00, // transfer, bit depth
        0x02, 0x01, 0x00, 0x00,                         // HDR flags
    };
    EXPECT_EQ(0, std::memcmp(bytes, expected, sizeof bytes));
}

TEST(VideoFrameHeaderTest, ParseReadsBackEveryField) {
    const VideoFrameHeader in = DistinctHeader();
    uint8_t bytes[kVideoFrameHeaderBytes];
    PackVideoFrameHeader(in, bytes);
    const VideoFrameHeader out = ParseVideoFrameHeader(bytes);
    EXPECT_EQ(out.Magic(), 0x4C535459u);
    EXPECT_EQ(out.version, 3);
    EXPECT_EQ(out.headerSize, 60);
    EXPECT_EQ(out.frameId, in.frameId);
    EXPECT_EQ(out.reserved, in.reserved);
    EXPECT_EQ(out.frameCount, 1);
    EXPECT_EQ(out.frameBytes, in.frameBytes);
    EXPECT_EQ(out.payloadBytes, in.payloadBytes);
    EXPECT_EQ(out.codec, in.codec);
    EXPECT_EQ(out.videoWidth, in.videoWidth);
    EXPECT_EQ(out.videoHeight, in.videoHeight);
    EXPECT_EQ(out.desktopWidth, in.desktopWidth);
    EXPECT_EQ(out.desktopHeight, in.desktopHeight);
    EXPECT_EQ(out.colorMode, in.colorMode);
    EXPECT_EQ(out.transfer, in.transfer);
    EXPECT_EQ(out.bitDepth, in.bitDepth);
    EXPECT_EQ(out.hdrFlags, in.hdrFlags);
}

TEST(VideoFrameHeaderTest, SenderHeaderIsSdrWithTheSwitchInTheHdrFlags) {
    const VideoFrameHeader off =
        MakeVideoFrameHeader(7, 1000, 1280, 720, 1280, 720, VideoCodecFlag::Tiles, false);
    EXPECT_EQ(off.frameId, 7u);
    EXPECT_EQ(off.frameBytes, 1000u);
    EXPECT_EQ(off.payloadBytes, 1000u);
    EXPECT_EQ(off.frameCount, 1);
    EXPECT_EQ(off.codec, 1u);
    EXPECT_EQ(off.colorMode, 0u);
    EXPECT_EQ(off.transfer, 0u);
    EXPECT_EQ(off.bitDepth, 8u);
    EXPECT_EQ(off.hdrFlags, 0x100u);
    EXPECT_EQ(CheckVideoFrameHeader(off), VideoHeaderCheck::Ok);
    const VideoFrameHeader on =
        MakeVideoFrameHeader(7, 1000, 1280, 720, 1280, 720, VideoCodecFlag::H264, true);
    EXPECT_EQ(on.hdrFlags, 0x102u);
    EXPECT_EQ(on.colorMode, 0u);
}

TEST(VideoFrameHeaderTest, CheckNamesWhatIsWrong) {
    constexpr uint32_t kMax = static_cast<uint32_t>(kMaxVideoDimension);
    struct Case {
        const char* name;
        void (*change)(VideoFrameHeader&);
        VideoHeaderCheck expected;
    } cases[] = {
        {"valid", [](VideoFrameHeader&) {}, VideoHeaderCheck::Ok},
        {"magic", [](VideoFrameHeader& h) { h.magic[3] = 'X'; }, VideoHeaderCheck::BadFormat},
        {"version 2", [](VideoFrameHeader& h) { h.version = 2; }, VideoHeaderCheck::BadFormat},
        {"header size 64", [](VideoFrameHeader& h) { h.headerSize = 64; }, VideoHeaderCheck::BadFormat},
        {"frame bytes 0", [](VideoFrameHeader& h) { h.frameBytes = h.payloadBytes = 0; },
         VideoHeaderCheck::BadFrame},
        {"largest frame", [](VideoFrameHeader& h) { h.frameBytes = h.payloadBytes = 0x10000000; },
         VideoHeaderCheck::Ok},
        {"frame too large", [](VideoFrameHeader& h) { h.frameBytes = h.payloadBytes = 0x10000001; },
         VideoHeaderCheck::BadFrame},
        {"payload unequal", [](VideoFrameHeader& h) { h.payloadBytes = h.frameBytes + 1; },
         VideoHeaderCheck::BadFrame},
        {"count 2", [](VideoFrameHeader& h) { h.frameCount = 2; }, VideoHeaderCheck::BadFrame},
        {"count 0", [](VideoFrameHeader& h) { h.frameCount = 0; }, VideoHeaderCheck::BadFrame},
        {"reserved ignored", [](VideoFrameHeader& h) { h.reserved = 0xFFFF; }, VideoHeaderCheck::Ok},
        {"unknown codec passes the check", [](VideoFrameHeader& h) { h.codec = 9; }, VideoHeaderCheck::Ok},
        {"largest sides",
         [](VideoFrameHeader& h) { h.videoWidth = h.videoHeight = h.desktopWidth = h.desktopHeight = kMax; },
         VideoHeaderCheck::Ok},
        {"video width", [](VideoFrameHeader& h) { h.videoWidth = kMax + 1; }, VideoHeaderCheck::BadSize},
        {"video height", [](VideoFrameHeader& h) { h.videoHeight = 0xFFFFFFFF; }, VideoHeaderCheck::BadSize},
        {"desktop width", [](VideoFrameHeader& h) { h.desktopWidth = kMax + 1; }, VideoHeaderCheck::BadSize},
        {"desktop height", [](VideoFrameHeader& h) { h.desktopHeight = kMax + 1; },
         VideoHeaderCheck::BadSize},
    };
    for (const Case& c : cases) {
        VideoFrameHeader h =
            MakeVideoFrameHeader(1, 100, 1920, 1080, 1920, 1080, VideoCodecFlag::H264, false);
        c.change(h);
        EXPECT_EQ(CheckVideoFrameHeader(h), c.expected) << c.name;
    }
}

TEST(VideoFrameHeaderTest, LogNames) {
    EXPECT_STREQ(VideoCodecName(0), "H264");
    EXPECT_STREQ(VideoCodecName(1), "ULTRA");
    EXPECT_STREQ(VideoCodecName(2), "H264");
    EXPECT_STREQ(VideoColorModeName(0), "SDR_BT709_NV12");
    EXPECT_STREQ(VideoColorModeName(1), "HDR10_BT2020_P010");
    EXPECT_STREQ(VideoColorModeName(2), "HLG_BT2020_P010");
    EXPECT_STREQ(VideoColorModeName(3), "UNKNOWN");
    EXPECT_STREQ(VideoTransferName(0), "BT709");
    EXPECT_STREQ(VideoTransferName(1), "ST2084_PQ");
    EXPECT_STREQ(VideoTransferName(2), "HLG");
    EXPECT_STREQ(VideoTransferName(0xFFFFFFFF), "UNKNOWN");
}

struct IdrCase {
    const char* name;
    Bytes stream;
    size_t offset;
    size_t frames;
};

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        Append(all, part);
    return all;
}

TEST(FindLastIdrFrameOffsetTest, EdgesOfTheScan) {
    const Bytes p0 = Frame(PSliceBody(), 0);
    const Bytes p1 = Frame(PSliceBody(), 1);
    const Bytes idr = Frame(IdrBody(), 2);
    const size_t two = p0.size() + p1.size();
    const Bytes truncatedIdr(idr.begin(), idr.end() - 1);
    Bytes badHeader = Frame(IdrBody(), 3);
    badHeader[14] = 2; // frame count 2
    const IdrCase cases[] = {
        {"fewer than 60 bytes", Bytes(59, 0), 0, 0},
        {"no IDR", Concat({p0, p1}), 0, 2},
        {"only the first frame is IDR", Concat({idr, p0, p1}), 0, 3},
        {"last IDR wins", Concat({p0, p1, idr, p0, idr, p1}), two + idr.size() + p0.size(), 6},
        {"4-byte start code", Concat({p0, p1, idr}), two, 3},
        {"3-byte start code", Concat({p0, p1, Frame({0x09, 0x00, 0x00, 0x01, 0x25, 0x00}, 2)}), two, 3},
        {"IDR in a tile frame does not count", Concat({p0, p1, Frame(IdrBody(), 2, VideoCodecFlag::Tiles)}),
         0, 3},
        {"IDR in an unknown codec frame does not count", Concat({p0, Frame(IdrBody(), 2, VideoCodecFlag(2))}),
         0, 2},
        {"frame of 4 bytes is not searched", Concat({p0, Frame({0x00, 0x00, 0x01, 0x65}, 1)}), 0, 2},
        {"header at byte 3 of 5", Concat({p0, Frame({0x00, 0x00, 0x01, 0x65, 0x00}, 1)}), p0.size(), 2},
        {"header as the last byte is not seen", Concat({p0, Frame({0x09, 0x00, 0x00, 0x01, 0x65}, 1)}), 0, 2},
        {"4-byte code with header as the last byte", Concat({p0, Frame({0x00, 0x00, 0x00, 0x01, 0x65}, 1)}),
         p0.size(), 2},
        {"incomplete IDR frame is not counted", Concat({p0, p1, truncatedIdr}), 0, 2},
        {"walk stops at an invalid header", Concat({p0, badHeader, idr}), 0, 1},
        {"non-IDR type with IDR bits set elsewhere",
         Concat({p0, Frame({0x00, 0x00, 0x01, 0x66, 0x65, 0x65}, 1)}), 0, 2},
    };
    for (const IdrCase& c : cases) {
        size_t frames = 99;
        EXPECT_EQ(FindLastIdrFrameOffset(c.stream.data(), c.stream.size(), frames), c.offset) << c.name;
        EXPECT_EQ(frames, c.frames) << c.name;
    }
}

} // namespace
