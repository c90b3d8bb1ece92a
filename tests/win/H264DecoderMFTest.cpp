#include <gtest/gtest.h>

#include <windows.h>
#include <mfapi.h>
#include <mferror.h>

#include <string>
#include <vector>

#include "core/Log.h"
#include "media/RemoteViewFrame.h"
#include "media/win/H264DecoderMF.h"
#include "media/win/MediaTypeLog.h"

#include "FakeDecoderTransform.h"
#include "LogAssertions.h"

using Microsoft::WRL::ComPtr;

namespace {

using Bytes = FakeDecoderTransform::Bytes;
using Output = FakeDecoderTransform::Output;

// A picture of n bytes that tells its origin: every byte is seed + index.
Bytes Pattern(size_t n, uint8_t seed) {
    Bytes bytes(n);
    for (size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<uint8_t>(seed + i);
    return bytes;
}

const Bytes kFrame = {0, 0, 0, 1, 0x65, 0x88, 0x84, 0x21};

ComPtr<IMFMediaType> Nv12(UINT32 width = 0, UINT32 height = 0) {
    return FakeDecoderTransform::VideoType(MFVideoFormat_NV12, width, height);
}

class H264DecoderMFFake : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
        ASSERT_TRUE(SUCCEEDED(::MFStartup(MF_VERSION, MFSTARTUP_NOSOCKET)));
        ASSERT_TRUE(Log::Open());
        m_fake = NewFake();
    }
    void TearDown() override {
        Log::Close();
        ::MFShutdown();
        ::CoUninitialize();
    }

    static ComPtr<FakeDecoderTransform> NewFake() {
        ComPtr<FakeDecoderTransform> fake;
        // Not Attach: mingw's adds a reference.
        *fake.GetAddressOf() = new FakeDecoderTransform();
        return fake;
    }

    // A factory that hands out fake (a new reference each time).
    static H264DecoderMF::TransformFactory FactoryOf(FakeDecoderTransform* fake) {
        return [fake](ComPtr<IMFTransform>& transform) {
            transform = static_cast<IMFTransform*>(fake);
            return true;
        };
    }

    // A decoder on m_fake, initialised with a 64x48 hint; m_fake offers YUY2 then NV12 at that size.
    void InitDecoder(H264DecoderMF& decoder) {
        m_fake->availableTypes = {FakeDecoderTransform::VideoType(MFVideoFormat_YUY2, 64, 48), Nv12(64, 48)};
        ASSERT_TRUE(decoder.Init(64, 48));
    }

    ComPtr<FakeDecoderTransform> m_fake;
};

TEST_F(H264DecoderMFFake, InitSetsUpLowLatencyH264InNv12OutAndReleaseEndsTheStream) {
    H264DecoderMF decoder(FactoryOf(m_fake.Get()));
    InitDecoder(decoder);
    EXPECT_TRUE(decoder.HasTransform());
    EXPECT_TRUE(decoder.OutputSubtype() == MFVideoFormat_NV12);

    const std::vector<std::string> expected = {
        "GetAttributes",          "GetStreamIDs",  "SetInputType",  "GetOutputAvailableType",
        "GetOutputAvailableType", "SetOutputType", "Message FLUSH", "Message BEGIN_STREAMING",
        "Message START_OF_STREAM"};
    EXPECT_EQ(m_fake->events, expected);
    EXPECT_EQ(MFGetAttributeUINT32(m_fake->attributes.Get(), MF_LOW_LATENCY, 0), 1u);

    ASSERT_TRUE(m_fake->inputType);
    GUID major = {};
    GUID subtype = {};
    m_fake->inputType->GetGUID(MF_MT_MAJOR_TYPE, &major);
    m_fake->inputType->GetGUID(MF_MT_SUBTYPE, &subtype);
    EXPECT_TRUE(major == MFMediaType_Video);
    EXPECT_TRUE(subtype == MFVideoFormat_H264);
    UINT32 a = 0, b = 0;
    ASSERT_TRUE(SUCCEEDED(MFGetAttributeSize(m_fake->inputType.Get(), MF_MT_FRAME_SIZE, &a, &b)));
    EXPECT_EQ(a, 64u);
    EXPECT_EQ(b, 48u);
    MFGetAttributeRatio(m_fake->inputType.Get(), MF_MT_FRAME_RATE, &a, &b);
    EXPECT_EQ(a, 30u);
    EXPECT_EQ(b, 1u);
    MFGetAttributeRatio(m_fake->inputType.Get(), MF_MT_PIXEL_ASPECT_RATIO, &a, &b);
    EXPECT_EQ(a, 1u);
    EXPECT_EQ(b, 1u);
    ASSERT_TRUE(m_fake->outputType);
    m_fake->outputType->GetGUID(MF_MT_SUBTYPE, &subtype);
    EXPECT_TRUE(subtype == MFVideoFormat_NV12);

    decoder.Release();
    EXPECT_FALSE(decoder.HasTransform());
    EXPECT_TRUE(decoder.OutputSubtype() == GUID_NULL);
    const std::vector<std::string> tail(m_fake->events.end() - 2, m_fake->events.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"Message END_OF_STREAM", "Message FLUSH"}));
    EXPECT_EQ(m_fake->References(), 1u) << "the decoder still holds the transform";

    // The set-up steps log under the media debug category; the outcome is always written.
    EXPECT_NE(OwnLog().find("H264DecoderMF LowLatency4 NV12-only init OK hint=64x48"), std::string::npos);
}

TEST_F(H264DecoderMFFake, AnAsynchronousTransformIsRecognisedSoTheSearchSkipsIt) {
    EXPECT_FALSE(H264DecoderMF::IsAsyncTransform(m_fake.Get()));
    ASSERT_TRUE(SUCCEEDED(m_fake->attributes->SetUINT32(MF_TRANSFORM_ASYNC, TRUE)));
    EXPECT_TRUE(H264DecoderMF::IsAsyncTransform(m_fake.Get()));
    ASSERT_TRUE(SUCCEEDED(m_fake->attributes->SetUINT32(MF_TRANSFORM_ASYNC, FALSE)));
    EXPECT_FALSE(H264DecoderMF::IsAsyncTransform(m_fake.Get()));
}

TEST_F(H264DecoderMFFake, HintsGoIntoTheTypesOnlyWhenBothAreKnown) {
    struct Case {
        const char* name;
        int32_t width;
        int32_t height;
        bool sized;
    };
    const Case cases[] = {{"both", 80, 60, true}, {"unknown", 0, 0, false}, {"width only", 80, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ComPtr<FakeDecoderTransform> fake = NewFake();
        // The offered NV12 type carries the transform's own guess, which the hint replaces.
        fake->availableTypes = {Nv12(16, 16)};
        H264DecoderMF decoder(FactoryOf(fake.Get()));
        ASSERT_TRUE(decoder.Init(c.width, c.height));
        UINT32 w = 0, h = 0;
        EXPECT_EQ(SUCCEEDED(MFGetAttributeSize(fake->inputType.Get(), MF_MT_FRAME_SIZE, &w, &h)), c.sized);
        ASSERT_TRUE(SUCCEEDED(MFGetAttributeSize(fake->outputType.Get(), MF_MT_FRAME_SIZE, &w, &h)));
        EXPECT_EQ(w, c.sized ? 80u : 16u);
        EXPECT_EQ(h, c.sized ? 60u : 16u);
        // The transform's own offered type is left as it was.
        ASSERT_TRUE(SUCCEEDED(MFGetAttributeSize(fake->availableTypes[0].Get(), MF_MT_FRAME_SIZE, &w, &h)));
        EXPECT_EQ(w, 16u);
    }
}

// Fake switches that make Init fail; each must leave no transform behind.
TEST_F(H264DecoderMFFake, InitFailuresLeaveNoTransform) {
    struct Case {
        const char* name;
        void (*arrange)(FakeDecoderTransform&);
        const char* line;
    };
    const Case cases[] = {
        {"no NV12 offered",
         [](FakeDecoderTransform& f) {
             f.availableTypes = {FakeDecoderTransform::VideoType(MFVideoFormat_YUY2),
                                 FakeDecoderTransform::VideoType(MFVideoFormat_RGB32)};
         },
         "Decoder SetOutputType failed for NV12-only output."},
        {"every NV12 refused",
         [](FakeDecoderTransform& f) {
             f.availableTypes = {Nv12(), Nv12()};
             f.refuseOutputTypes = 2;
         },
         "Decoder SetOutputType subtype=NV12 failed hr=0xC00D36B4"},
        {"type walk fails",
         [](FakeDecoderTransform& f) {
             f.availableTypes = {Nv12()};
             f.availableTypeResult = E_UNEXPECTED;
         },
         "Decoder GetOutputAvailableType failed i=0 hr=0x8000FFFF"},
        {"input type refused",
         [](FakeDecoderTransform& f) {
             f.availableTypes = {Nv12()};
             f.setInputTypeResult = MF_E_INVALIDMEDIATYPE;
         },
         "Decoder SetInputType H264 failed hr=0xC00D36B4 hint=64x48"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Log::Open());
        ComPtr<FakeDecoderTransform> fake = NewFake();
        c.arrange(*fake.Get());
        H264DecoderMF decoder(FactoryOf(fake.Get()));
        EXPECT_FALSE(decoder.Init(64, 48));
        EXPECT_FALSE(decoder.HasTransform());
        EXPECT_TRUE(decoder.OutputSubtype() == GUID_NULL);
        EXPECT_EQ(fake->References(), 1u);
        EXPECT_EQ(fake->CountEvents("Message"), 0u) << "streaming started on a failed set-up";
        const std::string log = OwnLog();
        EXPECT_NE(log.find(c.line), std::string::npos) << log;
        EXPECT_EQ(log.find("init OK"), std::string::npos) << log;
        H264DecodedPicture picture;
        EXPECT_FALSE(decoder.Decode(kFrame.data(), kFrame.size(), picture));
        EXPECT_FALSE(picture.got);
        Log::Close();
    }
}

TEST_F(H264DecoderMFFake, WithoutAnyTransformInitFailsWithTheHint) {
    H264DecoderMF decoder([](ComPtr<IMFTransform>&) { return false; });
    EXPECT_FALSE(decoder.Init(64, 48));
    EXPECT_FALSE(decoder.HasTransform());
    EXPECT_NE(
        OwnLog().find("No H264 decoder can be created. If this is Windows N/KN, install Media Feature Pack."),
        std::string::npos);
}

TEST_F(H264DecoderMFFake, SecondNv12TypeIsTriedWhenTheFirstIsRefused) {
    m_fake->availableTypes = {Nv12(), Nv12()};
    m_fake->refuseOutputTypes = 1;
    H264DecoderMF decoder(FactoryOf(m_fake.Get()));
    ASSERT_TRUE(decoder.Init(64, 48));
    EXPECT_EQ(m_fake->CountEvents("SetOutputType"), 2u);
    EXPECT_EQ(CountOf(OwnLog(), "Decoder SetOutputType subtype=NV12 failed hr=0xC00D36B4"), 1u);
}

TEST_F(H264DecoderMFFake, InitAgainReleasesTheFirstTransform) {
    ComPtr<FakeDecoderTransform> second = NewFake();
    second->availableTypes = {Nv12()};
    int made = 0;
    FakeDecoderTransform* first = m_fake.Get();
    H264DecoderMF decoder([&](ComPtr<IMFTransform>& transform) {
        transform = static_cast<IMFTransform*>(made++ == 0 ? first : second.Get());
        return true;
    });
    InitDecoder(decoder);
    ASSERT_TRUE(decoder.Init(32, 32));
    const std::vector<std::string> tail(m_fake->events.end() - 2, m_fake->events.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"Message END_OF_STREAM", "Message FLUSH"}));
    EXPECT_EQ(m_fake->References(), 1u);
    EXPECT_EQ(second->References(), 2u);
}

// Stream ids come from the transform; E_NOTIMPL means 0 and 0. The fake refuses any other id.
TEST_F(H264DecoderMFFake, StreamIdsFromTheTransformOrZero) {
    struct Case {
        const char* name;
        HRESULT result;
        DWORD in;
        DWORD out;
    };
    const Case cases[] = {{"not implemented", E_NOTIMPL, 0, 0}, {"given", S_OK, 3, 7}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ComPtr<FakeDecoderTransform> fake = NewFake();
        fake->streamIdsResult = c.result;
        fake->inputStreamId = c.in;
        fake->outputStreamId = c.out;
        fake->availableTypes = {Nv12(8, 4)};
        fake->ScriptNextInput({FakeDecoderTransform::Picture(Pattern(48, 1))});
        H264DecoderMF decoder(FactoryOf(fake.Get()));
        ASSERT_TRUE(decoder.Init(8, 4));
        H264DecodedPicture picture;
        ASSERT_TRUE(decoder.Decode(kFrame.data(), kFrame.size(), picture));
        EXPECT_TRUE(picture.got);
        EXPECT_EQ(picture.bytes, Pattern(48, 1));
        EXPECT_EQ(fake->inputs, std::vector<Bytes>{kFrame});
    }
}

// The picture is exactly the packed NV12 size of the output type, whatever the buffer holds beyond; an odd
// height keeps its last chroma row.
TEST_F(H264DecoderMFFake, PictureIsTheExactNv12SizeOfTheOutputType) {
    struct Case {
        const char* name;
        UINT32 width;
        UINT32 height;
        size_t bufferBytes;
        bool ok;
        const char* line;
    };
    const Case cases[] = {
        {"even", 8, 6, 72, true, nullptr},
        {"padded buffer", 8, 6, 96, true, nullptr},
        {"odd height", 8, 5, 64, true, nullptr},
        {"odd height, chroma row missing", 8, 5, 60, false,
         "Decoder unsupported/short output buffer subtype=NV12 curLen=60 expected=64 size=8x5"},
        {"short", 8, 6, 71, false,
         "Decoder unsupported/short output buffer subtype=NV12 curLen=71 expected=72 size=8x6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Log::Open());
        ComPtr<FakeDecoderTransform> fake = NewFake();
        fake->availableTypes = {Nv12(c.width, c.height)};
        fake->outputStreamSize = 128;
        const Bytes written = Pattern(c.bufferBytes, 9);
        fake->ScriptNextInput({FakeDecoderTransform::Picture(written)});
        H264DecoderMF decoder(FactoryOf(fake.Get()));
        ASSERT_TRUE(decoder.Init(0, 0));
        H264DecodedPicture picture;
        picture.bytes = Pattern(5, 0); // a caller's earlier picture
        EXPECT_EQ(decoder.Decode(kFrame.data(), kFrame.size(), picture), c.ok);
        EXPECT_EQ(picture.got, c.ok);
        if (c.ok) {
            const size_t expected =
                Nv12PictureBytes(static_cast<int32_t>(c.width), static_cast<int32_t>(c.height));
            EXPECT_EQ(picture.bytes, Bytes(written.begin(), written.begin() + expected));
            EXPECT_EQ(picture.width, static_cast<int32_t>(c.width));
            EXPECT_EQ(picture.height, static_cast<int32_t>(c.height));
            EXPECT_TRUE(picture.subtype == MFVideoFormat_NV12);
        } else {
            const std::string log = OwnLog();
            EXPECT_NE(log.find(c.line), std::string::npos) << log;
            // Still usable: the next frame with a full buffer decodes.
            fake->ScriptNextInput({FakeDecoderTransform::Picture(Pattern(c.bufferBytes + 8, 3))});
            EXPECT_TRUE(decoder.Decode(kFrame.data(), kFrame.size(), picture));
            EXPECT_TRUE(picture.got);
        }
        Log::Close();
    }
}

TEST_F(H264DecoderMFFake, NonNv12CurrentTypeIsRefused) {
    m_fake->availableTypes = {Nv12(8, 4)};
    H264DecoderMF decoder(FactoryOf(m_fake.Get()));
    ASSERT_TRUE(decoder.Init(8, 4));
    m_fake->outputStreamSize = 128;
    // A transform that swapped its output type behind the decoder's back.
    m_fake->outputType = FakeDecoderTransform::VideoType(MFVideoFormat_YUY2, 8, 4);
    m_fake->ScriptNextInput({FakeDecoderTransform::Picture(Pattern(64, 0))});
    H264DecodedPicture picture;
    EXPECT_FALSE(decoder.Decode(kFrame.data(), kFrame.size(), picture));
    EXPECT_FALSE(picture.got);
    EXPECT_NE(
        OwnLog().find("Decoder unsupported/short output buffer subtype=YUY2 curLen=64 expected=48 size=8x4"),
        std::string::npos);
}

TEST_F(H264DecoderMFFake, OnlyTheNewestOfSeveralReadyPicturesIsHandedOut) {
    m_fake->availableTypes = {Nv12(8, 4)};
    m_fake->ScriptNextInput(
        {FakeDecoderTransform::Picture(Pattern(48, 1)), FakeDecoderTransform::Picture(Pattern(48, 2))});
    H264DecoderMF decoder(FactoryOf(m_fake.Get()));
    ASSERT_TRUE(decoder.Init(8, 4));
    H264DecodedPicture picture;
    ASSERT_TRUE(decoder.Decode(kFrame.data(), kFrame.size(), picture));
    ASSERT_TRUE(picture.got);
    EXPECT_EQ(picture.bytes, Pattern(48, 2));
    EXPECT_EQ(m_fake->CountEvents("ProcessOutput"), 3u);

    // Nothing ready: success without a picture.
    ASSERT_TRUE(decoder.Decode(kFrame.data(), kFrame.size(), picture));
    EXPECT_FALSE(picture.got);
    EXPECT_EQ(decoder.DrainOutput(picture), 1);
    EXPECT_FALSE(picture.got);
}

// A transform that refuses input is drained and given the frame once more; the newest picture of the call
// is handed out, including one the first drain took when the second brings nothing.
TEST_F(H264DecoderMFFake, NotAcceptingDrainsThenInputsAgain) {
    struct Case {
        const char* name;
        bool laterPicture;
        uint8_t handedOut;
    };
    const Case cases[] = {{"picture after the input", true, 2}, {"none after the input", false, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ComPtr<FakeDecoderTransform> fake = NewFake();
        fake->availableTypes = {Nv12(8, 4)};
        H264DecoderMF decoder(FactoryOf(fake.Get()));
        ASSERT_TRUE(decoder.Init(8, 4));
        fake->events.clear();
        fake->ReadyNow({FakeDecoderTransform::Picture(Pattern(48, 1))});
        if (c.laterPicture)
            fake->ScriptNextInput({FakeDecoderTransform::Picture(Pattern(48, 2))});
        H264DecodedPicture picture;
        ASSERT_TRUE(decoder.Decode(kFrame.data(), kFrame.size(), picture));
        ASSERT_TRUE(picture.got);
        EXPECT_EQ(picture.bytes, Pattern(48, c.handedOut));
        EXPECT_EQ(fake->inputs, std::vector<Bytes>{kFrame});
        std::vector<std::string> expected = {"ProcessInput", "ProcessOutput", "ProcessOutput", "ProcessInput",
                                             "ProcessOutput"};
        if (c.laterPicture)
            expected.push_back("ProcessOutput");
        EXPECT_EQ(fake->events, expected);
    }
}

TEST_F(H264DecoderMFFake, StreamChangeMidDrainSwitchesTheSize) {
    m_fake->availableTypes = {Nv12(8, 4)};
    // The transform asks for buffers of its current picture size, so a stale size after the change is too
    // small for the new pictures.
    m_fake->bufferSizeFollowsType = true;
    m_fake->ScriptNextInput({FakeDecoderTransform::Picture(Pattern(48, 1)),
                             FakeDecoderTransform::StreamChange(
                                 {FakeDecoderTransform::VideoType(MFVideoFormat_YUY2, 16, 12), Nv12(16, 12)}),
                             FakeDecoderTransform::Picture(Pattern(288, 2))});
    H264DecoderMF decoder(FactoryOf(m_fake.Get()));
    ASSERT_TRUE(decoder.Init(8, 4));
    H264DecodedPicture picture;
    ASSERT_TRUE(decoder.Decode(kFrame.data(), kFrame.size(), picture));
    ASSERT_TRUE(picture.got);
    EXPECT_EQ(picture.width, 16);
    EXPECT_EQ(picture.height, 12);
    EXPECT_EQ(picture.bytes, Pattern(288, 2));
    EXPECT_EQ(decoder.Width(), 16);
    EXPECT_TRUE(decoder.OutputSubtype() == MFVideoFormat_NV12);

    m_fake->ScriptNextInput({FakeDecoderTransform::Picture(Pattern(288, 3))});
    ASSERT_TRUE(decoder.Decode(kFrame.data(), kFrame.size(), picture));
    ASSERT_TRUE(picture.got);
    EXPECT_EQ(picture.width, 16);
    EXPECT_EQ(picture.bytes, Pattern(288, 3));
}

TEST_F(H264DecoderMFFake, StreamChangeWithoutNv12EndsInFailure) {
    m_fake->availableTypes = {Nv12(8, 4)};
    m_fake->ScriptNextInput(
        {FakeDecoderTransform::StreamChange({FakeDecoderTransform::VideoType(MFVideoFormat_YUY2, 16, 12)})});
    H264DecoderMF decoder(FactoryOf(m_fake.Get()));
    ASSERT_TRUE(decoder.Init(8, 4));
    H264DecodedPicture picture;
    EXPECT_FALSE(decoder.Decode(kFrame.data(), kFrame.size(), picture));
    EXPECT_FALSE(picture.got);
    EXPECT_NE(OwnLog().find("Decoder ProcessOutput failed hr=0xC00D6D60"), std::string::npos);
}

// Failures are reported, logged once, and leave the decoder usable for the next frame.
TEST_F(H264DecoderMFFake, FailuresLeaveTheDecoderUsable) {
    struct Case {
        const char* name;
        void (*arrange)(FakeDecoderTransform&);
        void (*restore)(FakeDecoderTransform&);
        const char* line;
    };
    const Case cases[] = {
        {"input refused", [](FakeDecoderTransform& f) { f.processInputResult = E_FAIL; },
         [](FakeDecoderTransform& f) { f.processInputResult = S_OK; },
         "Decoder ProcessInput failed hr=0x80004005 size=8"},
        {"output fails",
         [](FakeDecoderTransform& f) {
             f.ScriptNextInput({Output{E_FAIL, {}, {}}});
         },
         [](FakeDecoderTransform&) {}, "Decoder ProcessOutput failed hr=0x80004005"},
        {"output never ends",
         [](FakeDecoderTransform& f) {
             f.endlessPictures = true;
             f.ScriptNextInput({FakeDecoderTransform::Picture(Pattern(48, 4))});
         },
         [](FakeDecoderTransform& f) { f.endlessPictures = false; }, "Decoder drain stopped after 64 rounds"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Log::Open());
        ComPtr<FakeDecoderTransform> fake = NewFake();
        fake->availableTypes = {Nv12(8, 4)};
        H264DecoderMF decoder(FactoryOf(fake.Get()));
        ASSERT_TRUE(decoder.Init(8, 4));
        c.arrange(*fake.Get());
        H264DecodedPicture picture;
        EXPECT_FALSE(decoder.Decode(kFrame.data(), kFrame.size(), picture));
        EXPECT_EQ(CountOf(OwnLog(), c.line), 1u) << OwnLog();
        c.restore(*fake.Get());
        fake->ScriptNextInput({FakeDecoderTransform::Picture(Pattern(48, 5))});
        ASSERT_TRUE(decoder.Decode(kFrame.data(), kFrame.size(), picture));
        ASSERT_TRUE(picture.got);
        EXPECT_EQ(picture.bytes, Pattern(48, 5));
        Log::Close();
    }
}

TEST_F(H264DecoderMFFake, UnusableInputIsRefusedBeforeTheTransform) {
    m_fake->availableTypes = {Nv12(8, 4)};
    H264DecoderMF decoder(FactoryOf(m_fake.Get()));
    H264DecodedPicture picture;
    EXPECT_FALSE(decoder.Decode(kFrame.data(), kFrame.size(), picture)) << "not initialised";
    EXPECT_EQ(decoder.DrainOutput(picture), 0);
    ASSERT_TRUE(decoder.Init(8, 4));
    EXPECT_FALSE(decoder.Decode(kFrame.data(), 0, picture));
    EXPECT_FALSE(decoder.Decode(nullptr, 8, picture));
    EXPECT_EQ(m_fake->CountEvents("ProcessInput"), 0u);
}

TEST(MediaSubtypeNameTest, NamesTheSystemSubtypes) {
    struct Case {
        GUID subtype;
        const char* name;
    };
    const Case cases[] = {
        {MFVideoFormat_H264, "H264"},     {MFVideoFormat_RGB32, "RGB32"},
        {MFVideoFormat_ARGB32, "ARGB32"}, {MFVideoFormat_NV12, "NV12"},
        {MFVideoFormat_YUY2, "YUY2"},     {MFVideoFormat_P010, "{30313050-0000-0010-8000-00AA00389B71}"}};
    for (const Case& c : cases)
        EXPECT_EQ(MediaSubtypeName(c.subtype), c.name);
}

} // namespace
