#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Log.h"
#include "link/ControlMessage.h"
#include "link/ControlRequestParams.h"
#include "link/LocalIdentity.h"
#include "support/TestLog.h"

namespace {

using namespace Discovery;

class ControlRequestTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
    }
    void TearDown() override { Log::Close(); }

    static ControlRequestSources Sources() {
        ControlRequestSources s;
        s.config.fps = 30;
        s.config.bitrate = 25000000;
        s.config.audioEnable = 1;
        s.screenWidth = 2560;
        s.screenHeight = 1440;
        return s;
    }
    static std::vector<std::string> Lines() { return TestLog().Messages(); }
};

TEST_F(ControlRequestTest, SizeFollowsTheScreenOnlyUnderAConfiguredLimit) {
    struct {
        int32_t maxW, maxH, screenW, screenH;
        uint32_t w, h;
    } cases[] = {
        {0, 0, 2560, 1440, 0, 0},  // no limit: the controlled side keeps its own size
        {-4, 0, 2560, 1440, 0, 0}, // a negative limit is no limit
        {1920, 1080, 2560, 1440, 1920, 1080},
        {3840, 2160, 2560, 1440, 2560, 1440},
        {1920, 0, 2560, 1440, 1920, 1440},
        {0, 1080, 2561, 1441, 2560, 1080},
        {1920, 1080, 0, -1, 1920, 1080}, // no screen size: the limit
        {1280, 0, 0, 0, 1280, 1080},     // no screen height and no height limit: 1080
        {0, 720, -5, 0, 1920, 720},
        {1281, 721, 4000, 3000, 1280, 720},
        {1920, 1080, 1, 1, 0, 0}, // a width of 1 gives 0
    };
    for (const auto& c : cases) {
        ControlRequestSources s = Sources();
        s.config.maxVideoWidth = c.maxW;
        s.config.maxVideoHeight = c.maxH;
        s.screenWidth = c.screenW;
        s.screenHeight = c.screenH;
        ControlRequestParams r = BuildControlRequestParams(s, "10.0.0.2");
        EXPECT_EQ(r.width, c.w) << c.maxW << "x" << c.maxH << " screen " << c.screenW << "x" << c.screenH;
        EXPECT_EQ(r.height, c.h) << c.maxW << "x" << c.maxH << " screen " << c.screenW << "x" << c.screenH;
    }
}

TEST_F(ControlRequestTest, FpsAndBitrateAreDefaultedThenClamped) {
    struct {
        uint32_t fps, bitrate, sentFps, sentBitrate;
    } cases[] = {
        {0, 0, 30, 25000000},       {1, 1, 10, 2000000},        {60, 300000000, 30, 25000000},
        {24, 8000000, 24, 8000000}, {10, 2000000, 10, 2000000}, {9, 1999999, 10, 2000000},
    };
    for (const auto& c : cases) {
        ControlRequestSources s = Sources();
        s.config.fps = c.fps;
        s.config.bitrate = c.bitrate;
        ControlRequestParams r = BuildControlRequestParams(s, "10.0.0.2");
        EXPECT_EQ(r.fps, c.sentFps) << c.fps;
        EXPECT_EQ(r.bitrate, c.sentBitrate) << c.bitrate;
    }
}

TEST_F(ControlRequestTest, ViewAudioAndSequencesComeFromTheLocalState) {
    ControlRequestSources s = Sources();
    s.viewHidden = true;
    s.viewSeq = 41;
    s.qualitySeq = 42;
    s.config.audioEnable = 0;
    ControlRequestParams r = BuildControlRequestParams(s, "10.0.0.2");
    EXPECT_EQ(r.viewHidden, 1u);
    EXPECT_EQ(r.viewSeq, 41u);
    EXPECT_EQ(r.qualitySeq, 42u);
    EXPECT_EQ(r.audio, 0u);
    s.config.audioEnable = 7;
    EXPECT_EQ(BuildControlRequestParams(s, "10.0.0.2").audio, 1u);
}

TEST_F(ControlRequestTest, UltraOnlyWhenChosenAndOfferedElseFallbackIsLogged) {
    struct {
        uint32_t mode;
        bool peerUltra;
        uint32_t quality;
        bool logged;
    } cases[] = {{0, false, 0, false}, {0, true, 0, false}, {1, true, 1, false}, {1, false, 0, true}};
    for (const auto& c : cases) {
        TestLog().Clear();
        ControlRequestSources s = Sources();
        s.config.videoQualityMode = c.mode;
        s.peerUltraCapable = c.peerUltra;
        EXPECT_EQ(BuildControlRequestParams(s, "10.0.0.9").quality, c.quality);
        std::vector<std::string> expected;
        if (c.logged)
            expected.push_back("[QUALITY][NEGOTIATE] peer=10.0.0.9 capability=absent requested=ultra "
                               "result=H264_FALLBACK");
        EXPECT_EQ(Lines(), expected) << c.mode << c.peerUltra;
    }
}

// A message with the fields of the table after the head; the capability tail when `capability`.
std::string Request(const std::string& fields, bool capability = true) {
    std::string text = "TSLY_CONTROL_REQUEST;id=TSLY-B;name=B;ver=1;" + fields;
    if (capability)
        text += std::string("cap_uq=1;");
    return text + "end=1;";
}

TEST_F(ControlRequestTest, ReceivedValuesAreHeldToTheSendersRules) {
    struct {
        std::string fields;
        ControlRequestParams expected;
    } cases[] = {
        {"req_w=1921;req_h=1081;req_fps=25;req_bitrate=8000000;", {1920, 1080, 25, 8000000}},
        {"req_w=9000;req_h=100000;req_fps=1000000000;req_bitrate=1000000000;", {8192, 8192, 30, 25000000}},
        {"req_w=8193;req_h=8192;req_fps=1;req_bitrate=1;", {8192, 8192, 10, 2000000}},
        {"req_w=0;req_h=abc;req_fps=0;req_bitrate=-3;", {0, 0, 0, 0}}, // 0 stays "not asked"
        {"", {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        ControlRequestParams r = ReadControlRequestParams(Request(c.fields), "10.0.0.2", false);
        EXPECT_EQ(r.width, c.expected.width) << c.fields;
        EXPECT_EQ(r.height, c.expected.height) << c.fields;
        EXPECT_EQ(r.fps, c.expected.fps) << c.fields;
        EXPECT_EQ(r.bitrate, c.expected.bitrate) << c.fields;
    }
}

TEST_F(ControlRequestTest, AClampIsLoggedWithTheSender) {
    ReadControlRequestParams(Request("req_w=1920;req_h=1080;req_fps=30;req_bitrate=25000000;"), "10.0.0.2",
                             true);
    EXPECT_TRUE(Lines().empty());
    ReadControlRequestParams(Request("req_w=1920;req_h=1080;req_fps=30;req_bitrate=1000000000;"), "10.0.0.2",
                             true);
    EXPECT_EQ(Lines(),
              std::vector<std::string>{"[CONTROL][REQUEST_CLAMPED] peer=10.0.0.2 req=1920x1080 fps=30 "
                                       "bitrate=1000000000 -> req=1920x1080 fps=30 bitrate=25000000"});
}

TEST_F(ControlRequestTest, AudioQualityAndSequencesFollowTheNewRequestRules) {
    struct {
        std::string text;
        bool localAudio;
        uint32_t viewHidden, viewSeq, audio, quality, qualitySeq;
    } cases[] = {
        {Request("view_hidden=1;view_seq=5;req_audio=0;req_quality=1;quality_seq=8;"), true, 1, 5, 0, 1, 8},
        {Request("view_hidden=true;view_seq=x;req_quality=1;quality_seq=8;"), true, 0, 0, 1, 1, 8},
        {Request("req_audio=1;"), false, 0, 0, 1, 0, 0},
        {Request("req_audio=;"), true, 0, 0, 0, 0, 0}, // present but not "1"
        // Without the capability, ULTRA and its sequence are not taken.
        {Request("req_quality=1;quality_seq=8;", false), false, 0, 0, 0, 0, 0},
        {Request("req_quality=11;quality_seq=8;"), false, 0, 0, 0, 0, 8},
    };
    for (const auto& c : cases) {
        ControlRequestParams r = ReadControlRequestParams(c.text, "10.0.0.2", c.localAudio);
        EXPECT_EQ(r.viewHidden, c.viewHidden) << c.text;
        EXPECT_EQ(r.viewSeq, c.viewSeq) << c.text;
        EXPECT_EQ(r.audio, c.audio) << c.text;
        EXPECT_EQ(r.quality, c.quality) << c.text;
        EXPECT_EQ(r.qualitySeq, c.qualitySeq) << c.text;
    }
}

// A controller that chose ULTRA facing a peer without the capability sends H264, and the receiver reads
// H264 from it.
TEST_F(ControlRequestTest, PeerWithoutCapabilityGetsH264EndToEnd) {
    ControlRequestSources s = Sources();
    s.config.videoQualityMode = 1;
    s.peerUltraCapable = false;
    LocalIdentity pc = MakeLocalIdentity("A");
    std::string text =
        BuildControlRequestMessage(pc, BuildControlRequestParams(s, "10.0.0.2"), ControlTransport::Tcp);
    EXPECT_NE(text.find("req_quality=0;"), std::string::npos) << text;
    EXPECT_EQ(ReadControlRequestParams(text, "10.0.0.1", true).quality, 0u);
}

} // namespace
