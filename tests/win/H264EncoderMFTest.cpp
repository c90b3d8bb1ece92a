#include <gtest/gtest.h>

#include <windows.h>
#include <mfapi.h>
#include <mferror.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/Log.h"
#include "core/StallScope.h"
#include "media/AnnexB.h"
#include "media/ColorDiagnostics.h"
#include "media/Nv12Frame.h"
#include "media/win/H264EncoderMF.h"

#include "FakeEncoderTransform.h"
#include "H264TestDecoder.h"
#include "LogAssertions.h"
#include "TestClip.h"
#include "TestPaths.h"
#include "support/NalUnits.h"

using Microsoft::WRL::ComPtr;

namespace {

using namespace nal_units;
const Bytes kIdrTail = {0, 0, 1, 0x65, 0x00, 0x21};

using Output = FakeEncoderTransform::Output;

using test_clip::ReadBytes;
using test_clip::SplitAccessUnits;
constexpr int kClipWidth = test_clip::kEncoderClip.width;
constexpr int kClipHeight = test_clip::kEncoderClip.height;
constexpr int kClipFrames = test_clip::kEncoderClip.frames;

// Only the units of an access unit that are not parameter sets.
Bytes WithoutParameterSets(const Bytes& unit) {
    Bytes rest;
    ForEachNalUnit(unit.data(), unit.size(), [&](const NalUnit& nal) {
        const uint8_t type = nal.Type(unit.data());
        if (type != kNalSps && type != kNalPps)
            rest.insert(rest.end(), unit.begin() + nal.startCode, unit.begin() + nal.end);
        return true;
    });
    return rest;
}

// How many stall-scope begins for module/operation the event ring holds.
size_t StallBegins(const char* module, const char* operation) {
    size_t count = 0;
    for (const StallEvent& e : ProcessStallState().ring) {
        const char* m = e.module.load();
        const char* o = e.operation.load();
        if (e.phase.load() == 'B' && m != nullptr && o != nullptr && std::string(m) == module &&
            std::string(o) == operation)
            ++count;
    }
    return count;
}

class H264EncoderMFWine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
        ASSERT_TRUE(SUCCEEDED(::MFStartup(MF_VERSION, MFSTARTUP_NOSOCKET)));
        ASSERT_TRUE(Log::Open());
        // Not Attach: mingw's adds a reference.
        *m_fake.GetAddressOf() = new FakeEncoderTransform();
    }
    void TearDown() override {
        Log::Close();
        ::MFShutdown();
        ::CoUninitialize();
    }

    // An encoder whose factory hands out m_fake.
    H264EncoderMF::TransformFactory FakeFactory() {
        FakeEncoderTransform* fake = m_fake.Get();
        return [fake](ComPtr<IMFTransform>& transform) {
            transform = static_cast<IMFTransform*>(fake);
            return S_OK;
        };
    }

    // Encodes a grey 64x48 NV12 frame.
    bool EncodeGrey(H264EncoderMF& encoder, Bytes& out, bool& got) {
        const Bytes frame(64 * 48 * 3 / 2, 128);
        return encoder.EncodeNV12(frame.data(), 64, 48, 0, 0, out, got);
    }

    ComPtr<FakeEncoderTransform> m_fake;
};

TEST_F(H264EncoderMFWine, ConfiguresOutputTypeFirstThenStartsStreaming) {
    H264EncoderMF encoder(FakeFactory());
    ASSERT_TRUE(encoder.Init(64, 48, 30, 2'000'000));
    EXPECT_TRUE(encoder.IsReady());

    const std::vector<std::string> expected = {"GetAttributes",
                                               "CodecAPI LowLatencyMode=TRUE",
                                               "CodecAPI MeanBitRate=2000000",
                                               "CodecAPI BPictureCount=0",
                                               "CodecAPI GOPSize=30",
                                               "SetOutputType",
                                               "SetInputType",
                                               "Message FLUSH",
                                               "Message BEGIN_STREAMING",
                                               "Message START_OF_STREAM"};
    EXPECT_EQ(m_fake->events, expected);
    UINT32 lowLatency = 0;
    EXPECT_TRUE(SUCCEEDED(m_fake->attributes->GetUINT32(MF_LOW_LATENCY, &lowLatency)));
    EXPECT_EQ(lowLatency, 1u);

    struct TypeCase {
        const char* name;
        IMFMediaType* type;
        GUID subtype;
    };
    const TypeCase types[] = {{"output", m_fake->outputType.Get(), MFVideoFormat_H264},
                              {"input", m_fake->inputType.Get(), MFVideoFormat_NV12}};
    for (const TypeCase& t : types) {
        SCOPED_TRACE(t.name);
        ASSERT_NE(t.type, nullptr);
        GUID major = {};
        GUID subtype = {};
        t.type->GetGUID(MF_MT_MAJOR_TYPE, &major);
        t.type->GetGUID(MF_MT_SUBTYPE, &subtype);
        EXPECT_TRUE(major == MFMediaType_Video);
        EXPECT_TRUE(subtype == t.subtype);
        UINT32 w = 0, h = 0, num = 0, den = 0;
        MFGetAttributeSize(t.type, MF_MT_FRAME_SIZE, &w, &h);
        EXPECT_EQ(w, 64u);
        EXPECT_EQ(h, 48u);
        MFGetAttributeRatio(t.type, MF_MT_FRAME_RATE, &num, &den);
        EXPECT_EQ(num, 30u);
        EXPECT_EQ(den, 1u);
        EXPECT_EQ(MFGetAttributeUINT32(t.type, MF_MT_INTERLACE_MODE, 0),
                  static_cast<UINT32>(MFVideoInterlace_Progressive));
        EXPECT_EQ(MFGetAttributeUINT32(t.type, MF_MT_VIDEO_NOMINAL_RANGE, 0),
                  static_cast<UINT32>(MFNominalRange_0_255));
        EXPECT_EQ(MFGetAttributeUINT32(t.type, MF_MT_YUV_MATRIX, 0),
                  static_cast<UINT32>(MFVideoTransferMatrix_BT709));
    }
    EXPECT_EQ(MFGetAttributeUINT32(m_fake->outputType.Get(), MF_MT_AVG_BITRATE, 0), 2'000'000u);

    encoder.Shutdown();
    EXPECT_FALSE(encoder.IsReady());
    EXPECT_EQ(m_fake->events.back(), "Message END_STREAMING");
    EXPECT_EQ(m_fake->events[m_fake->events.size() - 2], "Message END_OF_STREAM");
    EXPECT_EQ(m_fake->References(), 1u) << "the encoder still holds the transform";

    const std::string log = OwnLog();
    EXPECT_TRUE(InOrder(
        log, {"Encoder attribute MF_LOW_LATENCY=TRUE hr=0x00000000",
              "[VIDEO][ENC][CFG] LowLatencyMode=TRUE hr=0x00000000",
              "[VIDEO][ENC][CFG] GOPSize=30 fps=30 idr_period_sec=1.00 hr=0x00000000",
              "[COLOR][ENC][MFT-TYPES] inputSubType=NV12 outputSubType=H264 "
              "nominalRange=MFNominalRange_0_255 mfValue=1 matrix=BT709 fps=30 size=64x48 bitrate=2000000"}));
}

TEST_F(H264EncoderMFWine, FpsZeroUsesTheDefaultRateAndGopSixty) {
    H264EncoderMF encoder(FakeFactory());
    ASSERT_TRUE(encoder.Init(64, 48, 0, 1'000'000));
    EXPECT_EQ(m_fake->CountEvents("CodecAPI GOPSize=60"), 1u);
    UINT32 num = 0, den = 0;
    MFGetAttributeRatio(m_fake->outputType.Get(), MF_MT_FRAME_RATE, &num, &den);
    EXPECT_EQ(num, 30u);
    Bytes out;
    bool got = false;
    ASSERT_TRUE(EncodeGrey(encoder, out, got));
    ASSERT_TRUE(EncodeGrey(encoder, out, got));
    EXPECT_EQ(m_fake->sampleTimes, (std::vector<LONGLONG>{0, 333333}));
    EXPECT_EQ(m_fake->sampleDurations, (std::vector<LONGLONG>{333333, 333333}));
}

TEST_F(H264EncoderMFWine, WithoutCodecApiTheSetUpGoesOn) {
    m_fake->offerCodecApi = false;
    H264EncoderMF encoder(FakeFactory());
    ASSERT_TRUE(encoder.Init(64, 48, 30, 1'000'000));
    EXPECT_EQ(m_fake->CountEvents("CodecAPI"), 0u);
    EXPECT_NE(
        OwnLog().find("[VIDEO][ENC][CFG] CodecAPI unavailable hr=0x80004002; MF_LOW_LATENCY still enabled"),
        std::string::npos);
}

TEST_F(H264EncoderMFWine, InitFailuresLeaveTheEncoderNotReady) {
    {
        H264EncoderMF encoder([](ComPtr<IMFTransform>&) { return REGDB_E_CLASSNOTREG; });
        EXPECT_FALSE(encoder.Init(64, 48, 30, 1'000'000));
        EXPECT_FALSE(encoder.IsReady());
    }
    m_fake->setInputTypeResult = MF_E_INVALIDMEDIATYPE;
    {
        H264EncoderMF encoder(FakeFactory());
        EXPECT_FALSE(encoder.Init(64, 48, 30, 1'000'000));
        EXPECT_FALSE(encoder.IsReady());
    }
    EXPECT_EQ(m_fake->References(), 1u);
    H264EncoderMF odd(FakeFactory());
    EXPECT_FALSE(odd.Init(63, 48, 30, 1'000'000));
    const std::string log = OwnLog();
    EXPECT_TRUE(
        InOrder(log, {"CoCreate CMSH264EncoderMFT failed 0x80040154", "SetInputType NV12 failed 0xC00D36B4",
                      "[VIDEO][ENC][ERR] unsupported size 63x48"}));
}

TEST_F(H264EncoderMFWine, DrainsEveryOutputUntilNeedMoreInput) {
    m_fake->ScriptNextInput({{Cat({kSpsA, kPpsA, kIdr})}, {kIdrTail}});
    m_fake->ScriptNextInput({});
    H264EncoderMF encoder(FakeFactory());
    ASSERT_TRUE(encoder.Init(64, 48, 30, 1'000'000));
    m_fake->events.clear();

    const size_t inputScopes = StallBegins("VideoEncode", "ProcessInput");
    const size_t outputScopes = StallBegins("VideoEncode", "ProcessOutput");
    Bytes out;
    bool got = false;
    ASSERT_TRUE(EncodeGrey(encoder, out, got));
    EXPECT_TRUE(got);
    EXPECT_EQ(out, Cat({kSpsA, kPpsA, kIdr, kIdrTail}));
    // Every call into the transform is timed by the stall watchdog.
    EXPECT_EQ(StallBegins("VideoEncode", "ProcessInput"), inputScopes + 1);
    EXPECT_EQ(StallBegins("VideoEncode", "ProcessOutput"), outputScopes + 3);
    EXPECT_EQ(m_fake->events,
              (std::vector<std::string>{"ProcessInput", "ProcessOutput", "ProcessOutput", "ProcessOutput"}));
    EXPECT_EQ(m_fake->smallestOutputBuffer, 0x100000u) << "no stream size given: 1 MiB buffers";

    ASSERT_TRUE(EncodeGrey(encoder, out, got));
    EXPECT_FALSE(got);
    EXPECT_TRUE(out.empty());
}

TEST_F(H264EncoderMFWine, IdrWithoutParameterSetsGetsTheCachedOnes) {
    m_fake->ScriptNextInput({{Cat({kSpsA, kPpsA, kIdr})}});
    m_fake->ScriptNextInput({{kP}});
    m_fake->ScriptNextInput({{kIdr}});
    m_fake->ScriptNextInput({{Cat({kSpsB, kIdr})}});
    m_fake->ScriptNextInput({{kIdr}});
    m_fake->ScriptNextInput({{Cat({kSpsA, kPpsA, kIdr})}});
    H264EncoderMF encoder(FakeFactory());
    ASSERT_TRUE(encoder.Init(64, 48, 30, 1'000'000));

    const Bytes expected[] = {
        Cat({kSpsA, kPpsA, kIdr}), // complete: unchanged
        kP,                        // not an IDR frame: unchanged
        Cat({kSpsA, kPpsA, kIdr}), // bare IDR: both cached sets in front
        Cat({kSpsB, kPpsA, kIdr}), // a new SPS alone: the cached PPS follows it
        Cat({kSpsB, kPpsA, kIdr}), // the new SPS and the old PPS are both kept
        Cat({kSpsA, kPpsA, kIdr}), // complete again: unchanged
    };
    for (size_t i = 0; i < std::size(expected); ++i) {
        Bytes out;
        bool got = false;
        ASSERT_TRUE(EncodeGrey(encoder, out, got)) << i;
        EXPECT_EQ(out, expected[i]) << "frame " << i + 1;
    }
    const std::string log = OwnLog();
    EXPECT_EQ(CountOf(log, "Encoder prepended cached SPS/PPS before IDR"), 3u);
    EXPECT_TRUE(InOrder(log, {"Encoder cached SPS/PPS bytes=17",
                              "Encoder prepended cached SPS/PPS before IDR, frame=3 size=25",
                              "Encoder prepended cached SPS/PPS before IDR, frame=4 size=25"}));
}

TEST_F(H264EncoderMFWine, FailedFramesAreCountedAndTheEncoderStaysReady) {
    m_fake->ScriptNextInput({{kP}, {Bytes{}, E_UNEXPECTED}});
    m_fake->ScriptNextInput({{kP}});
    H264EncoderMF encoder(FakeFactory());
    ASSERT_TRUE(encoder.Init(64, 48, 30, 1'000'000));
    m_fake->events.clear();
    const Bytes frame(64 * 48 * 3 / 2, 128);
    Bytes out = {1, 2, 3};
    bool got = true;

    // A size other than the initialised one fails without reaching the transform.
    EXPECT_FALSE(encoder.EncodeNV12(frame.data(), 32, 48, 0, 0, out, got));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(got);
    EXPECT_FALSE(encoder.EncodeNV12(nullptr, 64, 48, 0, 0, out, got));
    EXPECT_TRUE(m_fake->events.empty());

    EXPECT_FALSE(encoder.EncodeNV12(frame.data(), 64, 48, 0, 0, out, got)); // ProcessOutput fails
    EXPECT_TRUE(encoder.IsReady());
    EXPECT_TRUE(encoder.EncodeNV12(frame.data(), 64, 48, 0, 0, out, got));
    EXPECT_EQ(out, kP);

    m_fake->processInputResult = E_FAIL;
    EXPECT_FALSE(encoder.EncodeNV12(frame.data(), 64, 48, 0, 0, out, got));
    const Bytes bgra(64 * 48 * 4, 0);
    EXPECT_FALSE(encoder.EncodeBGRA(bgra.data(), 64, 48, out, got));

    const std::string log = OwnLog();
    EXPECT_TRUE(
        InOrder(log, {"[VIDEO][ENC][FRAME] path=NV12 frame=1 ok=0 got=0 bytes=0",
                      "[VIDEO][ENC][FRAME] path=NV12 frame=2 ok=0", "ProcessOutput failed 0x8000FFFF",
                      "[VIDEO][ENC][FRAME] path=NV12 frame=3 ok=0 got=1",
                      "ProcessInput NV12 failed 0x80004005", "[VIDEO][ENC][FRAME] path=NV12 frame=5 ok=0",
                      "ProcessInput failed 0x80004005", "[VIDEO][ENC][FRAME] path=BGRA frame=6 ok=0"}));
    EXPECT_EQ(CountOf(log, "frame=4 ok=1"), 0u) << "good frames are not logged without the media category";
}

TEST_F(H264EncoderMFWine, StreamChangeRenegotiatesAndDrainsOn) {
    m_fake->ScriptNextInput({{Bytes{}, MF_E_TRANSFORM_STREAM_CHANGE}, {Cat({kSpsA, kPpsA, kIdr})}});
    m_fake->ScriptNextInput({{kP}});
    H264EncoderMF encoder(FakeFactory());
    ASSERT_TRUE(encoder.Init(64, 48, 30, 1'000'000));
    m_fake->events.clear();
    Bytes out;
    bool got = false;
    ASSERT_TRUE(EncodeGrey(encoder, out, got));
    EXPECT_TRUE(got);
    EXPECT_EQ(out, Cat({kSpsA, kPpsA, kIdr}));
    EXPECT_EQ(m_fake->events,
              (std::vector<std::string>{"ProcessInput", "ProcessOutput", "GetOutputAvailableType",
                                        "SetOutputType", "ProcessOutput", "ProcessOutput"}));
    // Nothing was left behind: the next input is accepted.
    ASSERT_TRUE(EncodeGrey(encoder, out, got));
    EXPECT_EQ(out, kP);
    EXPECT_NE(OwnLog().find("ProcessOutput stream change"), std::string::npos);
}

TEST_F(H264EncoderMFWine, InputIsPackedNv12AtTheSampleTimes) {
    m_fake->outputStreamSize = 4096;
    H264EncoderMF encoder(FakeFactory());
    ASSERT_TRUE(encoder.Init(4, 4, 30, 1'000'000));
    // Y rows at pitch 8, U,V rows at pitch 6; padding 0xEE.
    Bytes pitched;
    Bytes packed;
    for (int row = 0; row < 4; ++row)
        for (int x = 0; x < 8; ++x)
            pitched.push_back(x < 4 ? static_cast<uint8_t>(row * 4 + x) : 0xEE);
    for (int row = 0; row < 2; ++row)
        for (int x = 0; x < 6; ++x)
            pitched.push_back(x < 4 ? static_cast<uint8_t>(100 + row * 4 + x) : 0xEE);
    ASSERT_TRUE(PackNV12(pitched.data(), 4, 4, 8, 6, packed));
    Bytes out;
    bool got = false;
    ASSERT_TRUE(encoder.EncodeNV12(pitched.data(), 4, 4, 8, 6, out, got));

    Bytes bgra;
    for (int i = 0; i < 16; ++i)
        bgra.insert(bgra.end(), {255, 255, 255, 255});
    ASSERT_TRUE(encoder.EncodeBGRA(bgra.data(), 4, 4, out, got));
    ASSERT_EQ(m_fake->inputs.size(), 2u);
    EXPECT_EQ(m_fake->inputs[0], packed);
    EXPECT_EQ(m_fake->inputs[1], (Bytes{255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255,
                                        255, 255, 255, 255, 128, 128, 128, 128, 128, 128, 128, 128}));
    EXPECT_EQ(m_fake->sampleTimes, (std::vector<LONGLONG>{0, 333333}));
}

// The fake hands out a real stream that x264 made from the clip, with the parameter sets taken off every IDR
// frame but the first; the encoder must put them back for the platform decoder to show the clip's pictures.
TEST_F(H264EncoderMFWine, RealStreamThroughTheEncoderDecodesToTheClip) {
    const Bytes raw = ReadBytes(L"EncoderClip.nv12");
    const Bytes stream = ReadBytes(L"EncoderClip.264");
    const size_t frameBytes = Nv12FrameBytes(kClipWidth, kClipHeight);
    ASSERT_EQ(raw.size(), frameBytes * kClipFrames) << "clip missing beside the test executable";
    std::vector<Bytes> units = SplitAccessUnits(stream);
    ASSERT_EQ(units.size(), static_cast<size_t>(kClipFrames));
    size_t stripped = 0;
    for (size_t i = 1; i < units.size(); ++i) {
        if (ScanNalTypes(units[i].data(), units[i].size()).idr) {
            units[i] = WithoutParameterSets(units[i]);
            ++stripped;
        }
    }
    ASSERT_GE(stripped, 2u);
    for (const Bytes& unit : units)
        m_fake->ScriptNextInput({{unit}});

    H264EncoderMF encoder(FakeFactory());
    ASSERT_TRUE(encoder.Init(kClipWidth, kClipHeight, 30, 1'000'000));
    std::vector<Bytes> encoded;
    for (int i = 0; i < kClipFrames; ++i) {
        Bytes out;
        bool got = false;
        ASSERT_TRUE(encoder.EncodeNV12(raw.data() + i * frameBytes, kClipWidth, kClipHeight, 0, 0, out, got));
        ASSERT_TRUE(got);
        const NalPresence nal = ScanNalTypes(out.data(), out.size());
        EXPECT_EQ(nal.idr, nal.sps && nal.pps) << "frame " << i << ": every IDR frame carries SPS and PPS";
        encoded.push_back(out);
        EXPECT_EQ(m_fake->inputs.back(),
                  Bytes(raw.begin() + i * frameBytes, raw.begin() + (i + 1) * frameBytes));
    }
    // The stream says what the renderer assumes: full range, BT.709 primaries, transfer and matrix.
    const std::string colour = SpsColorCheckLine(encoded[0].data(), encoded[0].size());
    EXPECT_NE(
        colour.find(
            "video_full_range_flag=1 colour_primaries=1 transfer_characteristics=1 matrix_coefficients=1"),
        std::string::npos)
        << colour;

    std::vector<DecodedPicture> pictures;
    std::string error;
    // The clip starts with a complete IDR frame, so it can follow itself; the repeats push the clip's own
    // pictures out of a decoder that holds some back.
    std::vector<Bytes> feed;
    for (int repeat = 0; repeat < 4; ++repeat)
        feed.insert(feed.end(), encoded.begin(), encoded.end());
    ASSERT_TRUE(DecodeH264ForTest(feed, kClipWidth, kClipHeight, pictures, error)) << error;
    ASSERT_GE(pictures.size(), static_cast<size_t>(kClipFrames));
    for (int i = 0; i < kClipFrames; ++i) {
        SCOPED_TRACE(testing::Message() << "picture " << i);
        const DecodedPicture& p = pictures[i];
        ASSERT_EQ(p.width, kClipWidth);
        ASSERT_EQ(p.height, kClipHeight);
        ASSERT_EQ(p.luma.size(), static_cast<size_t>(kClipWidth * kClipHeight));
        EXPECT_NEAR(p.LumaAt(4, 8), 200, 12);
        EXPECT_NEAR(p.LumaAt(100, 80), 40, 12);
        // The bright square's left edge moves 4 pixels right each frame: a picture out of order or repeated
        // puts it elsewhere.
        EXPECT_NEAR(p.LumaAt(10 + 4 * i, 48), 230, 12);
        EXPECT_NEAR(p.LumaAt(5 + 4 * i, 48), 200, 12);
        EXPECT_NEAR(p.LumaAt(10 + 4 * i, 30), 200, 12);
    }
}

} // namespace
