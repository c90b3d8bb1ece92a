#include <gtest/gtest.h>

#include <windows.h>
#include <mfapi.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "core/Log.h"
#include "media/RemoteViewFrame.h"
#include "media/win/H264DecoderMF.h"

#include "TestClip.h"

using Microsoft::WRL::ComPtr;
using test_clip::Bytes;
using test_clip::ClipSize;

// The platform's own H.264 decoder (under Wine, winegstreamer's, which needs the GStreamer plugins) on the
// clips x264 made at build time. Without that decoder these tests fail: the controller cannot show video.
namespace {

struct Clip {
    ClipSize size;
    Bytes raw; // the source NV12 frames, back to back
    std::vector<Bytes> units;

    const uint8_t* Frame(int i) const {
        return raw.data() + static_cast<size_t>(i) * Nv12PictureBytes(size.width, size.height);
    }
};

Clip LoadClip(const ClipSize& size) {
    Clip clip{size, test_clip::ReadBytes(std::wstring(size.name) + L".nv12"), {}};
    clip.units = test_clip::SplitAccessUnits(test_clip::ReadBytes(std::wstring(size.name) + L".264"));
    return clip;
}

// Which source frame the picture shows: the one it differs least from, when it differs little enough to be
// that frame (mean difference of all NV12 bytes below 2, no luma far off) and the moving square stands where
// that frame has it. -1 otherwise.
int SourceFrameOf(const H264DecodedPicture& picture, const Clip& clip, std::string& why) {
    const int32_t w = clip.size.width;
    const size_t bytes = Nv12PictureBytes(w, clip.size.height);
    if (picture.width != w || picture.height != clip.size.height || picture.bytes.size() != bytes) {
        why = "size " + std::to_string(picture.width) + "x" + std::to_string(picture.height) + " bytes " +
              std::to_string(picture.bytes.size());
        return -1;
    }
    int best = -1;
    double bestMean = 1e9;
    for (int f = 0; f < clip.size.frames; ++f) {
        const uint8_t* source = clip.Frame(f);
        uint64_t sum = 0;
        for (size_t i = 0; i < bytes; ++i)
            sum += static_cast<uint64_t>(std::abs(picture.bytes[i] - source[i]));
        const double mean = static_cast<double>(sum) / static_cast<double>(bytes);
        if (mean < bestMean) {
            bestMean = mean;
            best = f;
        }
    }
    const uint8_t* source = clip.Frame(best);
    int maxLuma = 0;
    for (size_t i = 0; i < static_cast<size_t>(w) * clip.size.height; ++i)
        maxLuma = std::max(maxLuma, std::abs(picture.bytes[i] - source[i]));
    auto luma = [&](int x, int y) { return static_cast<int>(picture.bytes[static_cast<size_t>(y) * w + x]); };
    const bool square = std::abs(luma(10 + 4 * best, 48) - 230) <= 12 &&
                        std::abs(luma(5 + 4 * best, 48) - 200) <= 12 &&
                        std::abs(luma(10 + 4 * best, 30) - 200) <= 12;
    if (bestMean >= 2.0 || maxLuma > 48 || !square) {
        why = "closest frame " + std::to_string(best) + " mean difference " + std::to_string(bestMean) +
              " largest luma difference " + std::to_string(maxLuma) + (square ? "" : ", square misplaced");
        return -1;
    }
    return best;
}

class H264DecoderMFReal : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
        ASSERT_TRUE(SUCCEEDED(::MFStartup(MF_VERSION, MFSTARTUP_NOSOCKET)));
        ASSERT_TRUE(Log::Open());
        m_small = LoadClip(test_clip::kEncoderClip);
        m_large = LoadClip(test_clip::kLargeClip);
        for (const Clip* clip : {&m_small, &m_large}) {
            ASSERT_EQ(clip->raw.size(),
                      Nv12PictureBytes(clip->size.width, clip->size.height) * clip->size.frames)
                << "clip missing beside the test executable";
            ASSERT_EQ(clip->units.size(), static_cast<size_t>(clip->size.frames));
        }
    }
    void TearDown() override {
        Log::Close();
        ::MFShutdown();
        ::CoUninitialize();
    }

    // Decodes the units, keeping every picture handed out.
    void Feed(H264DecoderMF& decoder, const std::vector<Bytes>& units, int repeats) {
        for (int r = 0; r < repeats; ++r) {
            for (const Bytes& unit : units) {
                H264DecodedPicture picture;
                EXPECT_TRUE(decoder.Decode(unit.data(), unit.size(), picture));
                if (picture.got)
                    m_pictures.push_back(std::move(picture));
            }
        }
    }

    // Pictures may still be on their way from the decoder's own threads after the last input.
    void Settle(H264DecoderMF& decoder) {
        for (int i = 0; i < 25; ++i) {
            H264DecodedPicture picture;
            EXPECT_EQ(decoder.DrainOutput(picture), 1);
            if (picture.got)
                m_pictures.push_back(std::move(picture));
            ::Sleep(20);
        }
    }

    Clip m_small;
    Clip m_large;
    std::vector<H264DecodedPicture> m_pictures;
};

TEST_F(H264DecoderMFReal, SoftwareSearchFindsTheDecoder) {
    ComPtr<IMFTransform> transform;
    ASSERT_TRUE(H264DecoderMF::TryEnumDecoder(MFT_ENUM_FLAG_SYNCMFT | MFT_ENUM_FLAG_LOCALMFT |
                                                  MFT_ENUM_FLAG_SORTANDFILTER,
                                              "software/local", transform))
        << "no H.264 decoder transform in this system (under Wine: GStreamer plugins missing?)";
    EXPECT_TRUE(transform);
}

TEST_F(H264DecoderMFReal, DecodesTheClip) {
    H264DecoderMF decoder;
    ASSERT_TRUE(decoder.Init(m_small.size.width, m_small.size.height))
        << "no usable H.264 decoder (under Wine: GStreamer plugins missing?)";
    Feed(decoder, m_small.units, 4);
    Settle(decoder);
    ASSERT_GE(m_pictures.size(), 3u);
    std::set<int> shown;
    for (size_t i = 0; i < m_pictures.size(); ++i) {
        std::string why;
        const int frame = SourceFrameOf(m_pictures[i], m_small, why);
        EXPECT_GE(frame, 0) << "picture " << i << ": " << why;
        EXPECT_TRUE(m_pictures[i].subtype == MFVideoFormat_NV12);
        shown.insert(frame);
    }
    EXPECT_GE(shown.size(), 2u) << "the same picture over and over";
    decoder.Release();
    EXPECT_FALSE(decoder.HasTransform());
}

// A new SPS and IDR frame of another size in the middle of the stream. A decoder that follows the change
// hands out pictures of the new size; one that cannot (Wine 8's fails every output after the change) must
// report failures, never a picture that is not the clip's. Either way the client session's answer, Release
// and Init with the new stream size, brings pictures of the new size.
TEST_F(H264DecoderMFReal, SizeChangeMidStreamGivesPicturesOfTheNewSize) {
    H264DecoderMF decoder;
    ASSERT_TRUE(decoder.Init(m_small.size.width, m_small.size.height));
    Feed(decoder, m_small.units, 2);
    const size_t beforeChange = m_pictures.size();
    ASSERT_GT(beforeChange, 0u);
    int failures = 0;
    for (int r = 0; r < 3; ++r) {
        for (const Bytes& unit : m_large.units) {
            H264DecodedPicture picture;
            if (!decoder.Decode(unit.data(), unit.size(), picture))
                ++failures;
            if (picture.got)
                m_pictures.push_back(std::move(picture));
        }
    }
    if (failures == 0) {
        Settle(decoder);
        ASSERT_GT(m_pictures.size(), beforeChange);
        EXPECT_EQ(m_pictures.back().width, m_large.size.width);
        EXPECT_EQ(decoder.Width(), m_large.size.width);
    }
    bool large = false;
    for (size_t i = 0; i < m_pictures.size(); ++i) {
        large = large || m_pictures[i].width == m_large.size.width;
        std::string why;
        EXPECT_GE(SourceFrameOf(m_pictures[i], large ? m_large : m_small, why), 0)
            << "picture " << i << ": " << why;
    }

    decoder.Release();
    m_pictures.clear();
    ASSERT_TRUE(decoder.Init(m_large.size.width, m_large.size.height));
    Feed(decoder, m_large.units, 3);
    Settle(decoder);
    ASSERT_FALSE(m_pictures.empty());
    for (size_t i = 0; i < m_pictures.size(); ++i) {
        std::string why;
        EXPECT_GE(SourceFrameOf(m_pictures[i], m_large, why), 0) << "picture " << i << ": " << why;
    }
    EXPECT_EQ(decoder.Width(), m_large.size.width);
    EXPECT_EQ(decoder.Height(), m_large.size.height);
}

// A damaged frame must neither crash nor wedge the decoder: once the stream starts again at an IDR frame,
// pictures of the clip come out.
TEST_F(H264DecoderMFReal, CorruptFrameLeavesTheDecoderUsable) {
    struct Case {
        const char* name;
        Bytes (*damage)(const Bytes& idrUnit);
    };
    const Case cases[] = {
        {"slice data scrambled",
         [](const Bytes& u) {
             Bytes b = u;
             for (size_t i = b.size() / 2; i < b.size(); ++i)
                 b[i] ^= 0x5A;
             return b;
         }},
        {"cut short", [](const Bytes& u) { return Bytes(u.begin(), u.begin() + u.size() / 2); }},
        {"no start code",
         [](const Bytes&) {
             Bytes b(300);
             uint32_t x = 12345;
             for (uint8_t& v : b)
                 v = static_cast<uint8_t>((x = x * 1103515245u + 12345u) >> 24);
             return b;
         }},
        {"nonsense parameter set",
         [](const Bytes&) { return Bytes{0, 0, 0, 1, 0x67, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_pictures.clear();
        H264DecoderMF decoder;
        ASSERT_TRUE(decoder.Init(m_small.size.width, m_small.size.height));
        Feed(decoder, m_small.units, 1);
        H264DecodedPicture picture;
        const Bytes damaged = c.damage(m_small.units[2]);
        decoder.Decode(damaged.data(), damaged.size(), picture); // may fail; must not crash
        const size_t before = m_pictures.size();
        Feed(decoder, m_small.units, 3);
        Settle(decoder);
        ASSERT_GT(m_pictures.size(), before) << "no picture after the damaged frame";
        std::string why;
        EXPECT_GE(SourceFrameOf(m_pictures.back(), m_small, why), 0) << why;
    }
}

} // namespace
