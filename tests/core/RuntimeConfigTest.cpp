#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/RuntimeConfig.h"
#include "SettingsTestSupport.h"
#include "core/Log.h"
#include "support/TestLog.h"

namespace {

// The log is open for these tests and starts empty.
void FreshLog() {
    Log::Open();
    TestLog().Clear();
}

struct ValidationCase {
    const char* label;
    std::function<void(RuntimeConfig&)> input;   // applied to the defaults
    std::function<void(RuntimeConfig&)> changes; // what validation must change in the input
    std::vector<std::string> log;                // the lines it must write, in order
};

auto None = [](RuntimeConfig&) {};

const ValidationCase kCases[] = {
    {"defaults stay", None, None, {}},
    {"fps 0",
     [](RuntimeConfig& c) { c.fps = 0; },
     [](RuntimeConfig& c) { c.fps = 30; },
     {"RuntimeConfig: fps=0 out of range [1,240], fallback=30"}},
    {"fps 241",
     [](RuntimeConfig& c) { c.fps = 241; },
     [](RuntimeConfig& c) { c.fps = 30; },
     {"RuntimeConfig: fps=241 out of range [1,240], fallback=30"}},
    {"fps and idleFps at their top", [](RuntimeConfig& c) { c.fps = 240, c.idleFps = 240; }, None, {}},
    {"idleFps above fps",
     [](RuntimeConfig& c) { c.fps = 4, c.idleFps = 5; },
     [](RuntimeConfig& c) { c.idleFps = 2; },
     {"RuntimeConfig: idleFps=5 out of range [0,4], fallback=2"}},
    {"default idleFps above fps 1 falls back to 1",
     [](RuntimeConfig& c) { c.fps = 1; },
     [](RuntimeConfig& c) { c.idleFps = 1; },
     {"RuntimeConfig: idleFps=2 out of range [0,1], fallback=1"}},
    {"negative idleFps",
     [](RuntimeConfig& c) { c.idleFps = -1; },
     [](RuntimeConfig& c) { c.idleFps = 2; },
     {"RuntimeConfig: idleFps=-1 out of range [0,30], fallback=2"}},
    {"idleFps is checked against the repaired fps",
     [](RuntimeConfig& c) { c.fps = 0, c.idleFps = 20; },
     [](RuntimeConfig& c) { c.fps = 30; },
     {"RuntimeConfig: fps=0 out of range [1,240], fallback=30"}},
    {"bitrate below",
     [](RuntimeConfig& c) { c.bitrate = 999999; },
     [](RuntimeConfig& c) { c.bitrate = 25000000; },
     {"RuntimeConfig: bitrate=999999 out of range [1000000,300000000], fallback=25000000"}},
    {"bitrate above",
     [](RuntimeConfig& c) { c.bitrate = 300000001; },
     [](RuntimeConfig& c) { c.bitrate = 25000000; },
     {"RuntimeConfig: bitrate=300000001 out of range [1000000,300000000], fallback=25000000"}},
    {"bitrate bottom", [](RuntimeConfig& c) { c.bitrate = 1000000; }, None, {}},
    {"bitrate top", [](RuntimeConfig& c) { c.bitrate = 300000000; }, None, {}},
    {"negative sizes",
     [](RuntimeConfig& c) { c.maxVideoWidth = -5, c.maxVideoHeight = -1; },
     [](RuntimeConfig& c) { c.maxVideoWidth = 0, c.maxVideoHeight = 0; },
     {"RuntimeConfig: maxVideoWidth=-5 invalid, fallback=0",
      "RuntimeConfig: maxVideoHeight=-1 invalid, fallback=0"}},
    {"small sizes",
     [](RuntimeConfig& c) { c.maxVideoWidth = 100, c.maxVideoHeight = 239; },
     [](RuntimeConfig& c) { c.maxVideoWidth = 320, c.maxVideoHeight = 240; },
     {"RuntimeConfig: maxVideoWidth=100 too small, fallback=320",
      "RuntimeConfig: maxVideoHeight=239 too small, fallback=240"}},
    {"odd sizes become even",
     [](RuntimeConfig& c) { c.maxVideoWidth = 1921, c.maxVideoHeight = 1081; },
     [](RuntimeConfig& c) { c.maxVideoWidth = 1920, c.maxVideoHeight = 1080; },
     {}},
    {"large sizes",
     [](RuntimeConfig& c) { c.maxVideoWidth = 9000, c.maxVideoHeight = 8193; },
     [](RuntimeConfig& c) { c.maxVideoWidth = 8192, c.maxVideoHeight = 8192; },
     {"RuntimeConfig: maxVideoWidth=9000 too large, fallback=8192",
      "RuntimeConfig: maxVideoHeight=8193 too large, fallback=8192"}},
    {"sizes at the limits",
     [](RuntimeConfig& c) { c.maxVideoWidth = 320, c.maxVideoHeight = 8192; },
     None,
     {}},
    {"bools become 0 or 1",
     [](RuntimeConfig& c) {
         c.lowBandwidthEnable = 2, c.audioEnable = 7, c.uiLanguageEnglish = 0xFFFFFFFF,
         c.remoteInputEnable = 3;
         c.clipboardEnable = 4, c.fileConflictRename = 5, c.autoConnectEnable = 6, c.videoQualityMode = 9;
     },
     [](RuntimeConfig& c) {
         c.lowBandwidthEnable = c.audioEnable = c.uiLanguageEnglish = c.remoteInputEnable = 1;
         c.clipboardEnable = c.fileConflictRename = c.autoConnectEnable = c.videoQualityMode = 1;
     },
     {"RuntimeConfig: lowBandwidthEnable=2 out of range [0,1], fallback=1",
      "RuntimeConfig: audioEnable=7 out of range [0,1], fallback=1",
      "RuntimeConfig: uiLanguageEnglish=-1 out of range [0,1], fallback=1",
      "RuntimeConfig: remoteInputEnable=3 out of range [0,1], fallback=1",
      "RuntimeConfig: clipboardEnable=4 out of range [0,1], fallback=1",
      "RuntimeConfig: fileConflictRename=5 out of range [0,1], fallback=1",
      "RuntimeConfig: autoConnectEnable=6 out of range [0,1], fallback=1",
      "RuntimeConfig: videoQualityMode=9 out of range [0,1], fallback=1"}},
    {"modes out of range",
     [](RuntimeConfig& c) { c.virtualScreenMode = 5, c.renderScaleMode = 4, c.remoteTextMode = 4; },
     [](RuntimeConfig& c) { c.virtualScreenMode = 0, c.renderScaleMode = 2, c.remoteTextMode = 0; },
     {"RuntimeConfig: virtualScreenMode=5 out of range [0,4], fallback=0",
      "RuntimeConfig: renderScaleMode=4 out of range [0,3], fallback=2",
      "RuntimeConfig: remoteTextMode=4 out of range [0,3], fallback=0"}},
    {"modes at their top",
     [](RuntimeConfig& c) { c.virtualScreenMode = 4, c.renderScaleMode = 3, c.remoteTextMode = 3; },
     None,
     {}},
    {"transfer delay below",
     [](RuntimeConfig& c) { c.longTransferAutoShowDelayMs = 999; },
     [](RuntimeConfig& c) { c.longTransferAutoShowDelayMs = 5000; },
     {"RuntimeConfig: longTransferAutoShowDelayMs=999 out of range [1000,60000], fallback=5000"}},
    {"transfer delay above",
     [](RuntimeConfig& c) { c.longTransferAutoShowDelayMs = 60001; },
     [](RuntimeConfig& c) { c.longTransferAutoShowDelayMs = 5000; },
     {"RuntimeConfig: longTransferAutoShowDelayMs=60001 out of range [1000,60000], fallback=5000"}},
    {"transfer delay and keep-alive at their ends",
     [](RuntimeConfig& c) { c.longTransferAutoShowDelayMs = 60000, c.idleKeepaliveMs = 250; },
     None,
     {}},
    {"keep-alive below",
     [](RuntimeConfig& c) { c.idleKeepaliveMs = 249; },
     [](RuntimeConfig& c) { c.idleKeepaliveMs = 1000; },
     {"RuntimeConfig: idleKeepaliveMs=249 out of range [250,10000], fallback=1000"}},
    {"keep-alive above",
     [](RuntimeConfig& c) { c.idleKeepaliveMs = 10001; },
     [](RuntimeConfig& c) { c.idleKeepaliveMs = 1000; },
     {"RuntimeConfig: idleKeepaliveMs=10001 out of range [250,10000], fallback=1000"}},
    {"zero ports",
     [](RuntimeConfig& c) { c.videoPort = c.inputPort = c.audioPort = c.clipboardPort = 0; },
     [](RuntimeConfig& c) {
         c.videoPort = 6000, c.inputPort = 5000, c.audioPort = 7001, c.clipboardPort = 5002;
     },
     {"RuntimeConfig: videoPort=0 invalid, fallback=6000",
      "RuntimeConfig: inputPort=0 invalid, fallback=5000",
      "RuntimeConfig: audioPort=0 invalid, fallback=7001",
      "RuntimeConfig: clipboardPort=0 invalid, fallback=5002"}},
    {"input on the video port",
     [](RuntimeConfig& c) { c.inputPort = 6000; },
     [](RuntimeConfig& c) { c.inputPort = 5000; },
     {"RuntimeConfig: port conflict inputPort=6000 and videoPort=6000, fallback inputPort=5000"}},
    {"repaired video port then conflicts with input",
     [](RuntimeConfig& c) { c.videoPort = 0, c.inputPort = 6000; },
     [](RuntimeConfig& c) { c.videoPort = 6000, c.inputPort = 5000; },
     {"RuntimeConfig: videoPort=0 invalid, fallback=6000",
      "RuntimeConfig: port conflict inputPort=6000 and videoPort=6000, fallback inputPort=5000"}},
    {"audio on the video port",
     [](RuntimeConfig& c) { c.audioPort = 6000; },
     [](RuntimeConfig& c) { c.audioPort = 7001; },
     {"RuntimeConfig: port conflict audioPort=6000 and videoPort=6000, fallback audioPort=7001"}},
    {"audio on the input port",
     [](RuntimeConfig& c) { c.audioPort = 5000; },
     [](RuntimeConfig& c) { c.audioPort = 7001; },
     {"RuntimeConfig: port conflict audioPort=5000 and inputPort=5000, fallback audioPort=7001"}},
    {"clipboard on the video port",
     [](RuntimeConfig& c) { c.clipboardPort = 6000; },
     [](RuntimeConfig& c) { c.clipboardPort = 5002; },
     {"RuntimeConfig: port conflict clipboardPort=6000 and videoPort=6000, fallback clipboardPort=5002"}},
    {"clipboard on the input port",
     [](RuntimeConfig& c) { c.clipboardPort = 5000; },
     [](RuntimeConfig& c) { c.clipboardPort = 5002; },
     {"RuntimeConfig: port conflict clipboardPort=5000 and inputPort=5000, fallback clipboardPort=5002"}},
    {"clipboard on the audio port",
     [](RuntimeConfig& c) { c.clipboardPort = 7001; },
     [](RuntimeConfig& c) { c.clipboardPort = 5002; },
     {"RuntimeConfig: port conflict clipboardPort=7001 and audioPort=7001, fallback clipboardPort=5002"}},
    {"other distinct ports stay",
     [](RuntimeConfig& c) { c.videoPort = 1, c.inputPort = 2, c.audioPort = 3, c.clipboardPort = 65535; },
     None,
     {}},
};

std::string Describe(const RuntimeConfig& c) {
    std::string s;
    auto add = [&](const char* name, long long v) { s += std::string(name) + "=" + std::to_string(v) + " "; };
    add("videoPort", c.videoPort), add("inputPort", c.inputPort), add("fps", c.fps),
        add("bitrate", c.bitrate);
    add("maxW", c.maxVideoWidth), add("maxH", c.maxVideoHeight), add("lowBw", c.lowBandwidthEnable);
    add("idleFps", c.idleFps), add("keepalive", c.idleKeepaliveMs), add("audio", c.audioEnable);
    add("english", c.uiLanguageEnglish), add("audioPort", c.audioPort),
        add("remoteInput", c.remoteInputEnable);
    add("clipboard", c.clipboardEnable), add("rename", c.fileConflictRename),
        add("clipPort", c.clipboardPort);
    add("scale", c.renderScaleMode), add("text", c.remoteTextMode),
        add("delay", c.longTransferAutoShowDelayMs);
    add("auto", c.autoConnectEnable), add("vscreen", c.virtualScreenMode), add("quality", c.videoQualityMode);
    return s + "peer=" + c.peerAddress;
}

TEST(RuntimeConfigTest, ValidationRepairsOnlyWhatIsOutOfRangeAndLogsEachFallback) {
    for (const ValidationCase& tc : kCases) {
        SCOPED_TRACE(tc.label);
        RuntimeConfig config;
        tc.input(config);
        RuntimeConfig expected = config;
        tc.changes(expected);

        FreshLog();
        ValidateRuntimeConfig(config);

        EXPECT_EQ(Describe(config), Describe(expected));
        EXPECT_EQ(TestLog().Messages(), tc.log);
        EXPECT_EQ(RangeViolation(SnapshotOf(config), config.renderScaleMode), "");
    }
}

} // namespace
