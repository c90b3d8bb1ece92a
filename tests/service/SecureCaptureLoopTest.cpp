#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "service/SecureCaptureLoop.h"
#include "service/WardletShared.h"

namespace {

constexpr int32_t kOk = 0;
constexpr int32_t kAccessLost = static_cast<int32_t>(0x887A0026);
constexpr int32_t kInvalidArg = static_cast<int32_t>(0x80070057);

// What one BeginFrame of the fake source does.
enum class Shot { Black, Picture, Timeout, Fail };

struct Step {
    Shot shot = Shot::Picture;
    int32_t hr = kOk; // for Fail
};

// A fake of the platform: a clock that moves only when the loop waits (or a scripted acquire takes its
// time), the stop and rebuild events as flags, and recordings of what was published, written and logged.
class FakePlatform final : public ISecureCapturePlatform {
public:
    static constexpr size_t kRunawayWaits = 5000;

    bool WaitForStop(uint32_t timeoutMs) override {
        waits.push_back(timeoutMs);
        now += timeoutMs;
        if (timeoutMs == stopOnWaitMs)
            stop = true;
        // A loop that never ends would hang the suite: stop it, and let the rig fail the test.
        if (waits.size() > kRunawayWaits)
            stop = true;
        return stop;
    }
    bool RebuildRequested() override { return rebuild; }
    void ResetRebuildRequest() override {
        rebuild = false;
        ++rebuildResets;
    }
    uint64_t NowMs() override { return now; }
    bool Publish(const SecureCaptureImage& image) override {
        if (!publishing)
            return false;
        published.push_back({now, std::vector<uint8_t>(image.pixels, image.pixels + image.bufferSize)});
        return true;
    }
    SecureBmpResult WriteBmp(const SecureCaptureImage&) override {
        ++bmpWrites;
        return bmpResult;
    }
    void Log(const std::string& line) override { lines.push_back(line); }
    std::string ErrorText(int32_t) override { return "text"; }

    // The first wait that is more than a look at the stop event.
    uint32_t FirstPause() const {
        for (uint32_t ms : waits)
            if (ms != 0)
                return ms;
        return 0;
    }
    size_t CountLines(const std::string& prefix) const {
        return size_t(std::count_if(lines.begin(), lines.end(),
                                    [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
    }
    bool HasLine(const std::string& line) const {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    struct Published {
        uint64_t atMs;
        std::vector<uint8_t> pixels;
    };

    uint64_t now = 1000;
    bool stop = false;
    uint32_t stopOnWaitMs = UINT32_MAX; // the stop event is set during the first wait this long
    bool rebuild = true;                // the worker requests the first build
    bool publishing = true;
    int rebuildResets = 0;
    int bmpWrites = 0;
    SecureBmpResult bmpResult{true, 0};
    std::vector<uint32_t> waits;
    std::vector<Published> published;
    std::vector<std::string> lines;
};

// A capture source that plays a script of Init results and frames; when the frames run out it sets the
// stop event, so every run ends.
class FakeSource final : public ISecureCaptureSource {
public:
    explicit FakeSource(FakePlatform& platform) : m_platform(platform) {}

    int32_t Init() override {
        calls.push_back("init");
        if (initResults.empty())
            return kOk;
        const int32_t hr = initResults.front();
        initResults.pop_front();
        return hr;
    }
    int32_t BeginFrame(SecureCaptureImage& image) override {
        calls.push_back("begin");
        if (Count("begin") == rebuildAtBegin)
            m_platform.rebuild = true;
        if (frames.empty()) {
            m_platform.stop = true;
            return kSecureCaptureWaitTimeout;
        }
        const Step step = frames.front();
        frames.pop_front();
        switch (step.shot) {
        case Shot::Timeout:
            m_platform.now += kSecureAcquireTimeoutMs; // AcquireNextFrame waited for nothing
            return kSecureCaptureWaitTimeout;
        case Shot::Fail:
            return step.hr;
        case Shot::Black:
        case Shot::Picture:
            m_pixels.assign(size_t(width) * size_t(height) * 4, 0);
            if (step.shot == Shot::Picture)
                for (size_t i = 0; i < m_pixels.size(); i += 4)
                    m_pixels[i + 1] = 0x80; // green
            image.pixels = m_pixels.data();
            image.bufferSize = m_pixels.size();
            image.width = width;
            image.height = height;
            image.stride = width * 4;
            return kOk;
        }
        return kOk;
    }
    int32_t EndFrame() override {
        calls.push_back("end");
        return endResult;
    }
    void Release() override { calls.push_back("release"); }

    size_t Count(const std::string& call) const {
        return size_t(std::count(calls.begin(), calls.end(), call));
    }

    std::deque<int32_t> initResults;
    std::deque<Step> frames;
    int32_t endResult = kOk;
    size_t rebuildAtBegin = 0; // the rebuild request is raised during this BeginFrame (1-based)
    int32_t width = 8;
    int32_t height = 4;
    std::vector<std::string> calls;

private:
    FakePlatform& m_platform;
    std::vector<uint8_t> m_pixels;
};

std::deque<Step> Repeat(Shot shot, int count) {
    return std::deque<Step>(size_t(count), Step{shot, kOk});
}

struct Rig {
    FakePlatform platform;
    FakeSource duplication{platform};
    FakeSource gdi{platform};
    SecureCaptureLoop loop{platform, duplication, gdi};
    ~Rig() {
        EXPECT_LE(platform.waits.size(), FakePlatform::kRunawayWaits) << "the run did not end by itself";
    }
};

SecureCaptureOptions Worker(uint32_t accessDeniedExitCode = kWardletExitDefaultActive) {
    SecureCaptureOptions options;
    options.accessDeniedExitCode = accessDeniedExitCode;
    options.publishShared = true;
    return options;
}

SecureCaptureOptions Diagnostic(bool captureOnce) {
    SecureCaptureOptions options;
    options.captureOnce = captureOnce;
    options.bmpDiagnostics = true;
    return options;
}

TEST(SecureCaptureLoop, StopAlreadySetReturnsAtOnce) {
    Rig rig;
    rig.platform.stop = true;
    EXPECT_EQ(rig.loop.Run(Worker()), 0u);
    EXPECT_EQ(rig.duplication.Count("init"), 0u);
}

TEST(SecureCaptureLoop, BlackFramesAreNeverPublishedAndLoggedAtFirstAndEveryTenth) {
    Rig rig;
    rig.duplication.frames = Repeat(Shot::Black, 25);
    EXPECT_EQ(rig.loop.Run(Worker()), 0u);
    EXPECT_TRUE(rig.platform.published.empty());
    EXPECT_EQ(rig.platform.CountLines("zero/black frame skipped"), 3u);
    EXPECT_TRUE(
        rig.platform.HasLine("zero/black frame skipped path=DDA count=1 maxRgb=0 nonBlackPermille=0"));
    EXPECT_TRUE(
        rig.platform.HasLine("zero/black frame skipped path=DDA count=10 maxRgb=0 nonBlackPermille=0"));
    EXPECT_TRUE(
        rig.platform.HasLine("zero/black frame skipped path=DDA count=20 maxRgb=0 nonBlackPermille=0"));
    // Every frame was given back.
    EXPECT_EQ(rig.duplication.Count("end"), 25u);
}

TEST(SecureCaptureLoop, DeliveredFramesAreLoggedAtFirstAndEveryTenthAndPacedByTheFrameWait) {
    Rig rig;
    rig.duplication.frames = Repeat(Shot::Picture, 12);
    EXPECT_EQ(rig.loop.Run(Worker()), 0u);
    EXPECT_EQ(rig.platform.published.size(), 12u);
    EXPECT_EQ(rig.platform.CountLines("frame delivered"), 2u);
    EXPECT_TRUE(rig.platform.HasLine(
        "frame delivered path=DDA frame=1 shared=1 bmp=0 maxRgb=128 nonBlackPermille=1000"));
    EXPECT_TRUE(rig.platform.HasLine(
        "frame delivered path=DDA frame=10 shared=1 bmp=0 maxRgb=128 nonBlackPermille=1000"));
    EXPECT_EQ(std::count(rig.platform.waits.begin(), rig.platform.waits.end(), kSecureFrameIntervalMs), 12);
}

struct CaptureOnceCase {
    const char* name;
    std::deque<int32_t> initResults;
    std::deque<Step> frames;
    uint32_t result;
    int bmpWrites;
};

class SecureCaptureOnce : public ::testing::TestWithParam<CaptureOnceCase> {};

TEST_P(SecureCaptureOnce, EndsWithTheFirstDeliveredFrameOrTheInitResult) {
    const CaptureOnceCase& c = GetParam();
    Rig rig;
    rig.duplication.initResults = c.initResults;
    rig.duplication.frames = c.frames;
    EXPECT_EQ(rig.loop.Run(Diagnostic(true)), c.result);
    EXPECT_EQ(rig.platform.bmpWrites, c.bmpWrites);
    EXPECT_FALSE(rig.platform.stop) << "ended by the stop event, not by its own result";
    EXPECT_EQ(rig.gdi.Count("init"), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SecureCaptureOnce,
    ::testing::Values(
        CaptureOnceCase{"FirstPicture", {}, {{Shot::Picture}, {Shot::Picture}}, 0, 1},
        CaptureOnceCase{"BlackThenPicture", {}, {{Shot::Black}, {Shot::Timeout}, {Shot::Picture}}, 0, 1},
        CaptureOnceCase{"InitNotImplemented", {kSecureCaptureNotImplemented}, {}, 0x80004001u, 0},
        CaptureOnceCase{"InitAccessDenied", {kSecureCaptureAccessDenied}, {}, 0x80070005u, 0},
        CaptureOnceCase{"InitUnsupported", {kSecureCaptureUnsupported}, {}, 0x887A0004u, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SecureCaptureLoop, CaptureOnceLogsTheInitFailureWithItsText) {
    Rig rig;
    rig.duplication.initResults = {kSecureCaptureNotImplemented};
    rig.loop.Run(Diagnostic(true));
    EXPECT_TRUE(rig.platform.HasLine("DDA initialize failed hr=0x80004001 text"));
}

class SecureCaptureAccessDenied : public ::testing::TestWithParam<uint32_t> {};

TEST_P(SecureCaptureAccessDenied, DeniedDuplicationRequestsTheOtherDesktop) {
    Rig rig;
    rig.duplication.initResults = {kSecureCaptureAccessDenied};
    EXPECT_EQ(rig.loop.Run(Worker(GetParam())), GetParam());
    char expected[128];
    std::snprintf(expected, sizeof expected,
                  "DDA access denied on current worker desktop; requesting alternate desktop exitCode=0x%08X",
                  GetParam());
    EXPECT_TRUE(rig.platform.HasLine(expected));
    EXPECT_EQ(rig.gdi.Count("init"), 0u);
}

INSTANTIATE_TEST_SUITE_P(ExitCodes, SecureCaptureAccessDenied,
                         ::testing::Values(kWardletExitWinlogonActive, kWardletExitDefaultActive));

TEST(SecureCaptureLoop, DeniedDuplicationWithoutExitCodeRetriesAfterTheLongWait) {
    Rig rig;
    rig.duplication.initResults = {kSecureCaptureAccessDenied, kSecureCaptureAccessDenied};
    rig.duplication.frames = Repeat(Shot::Picture, 1);
    EXPECT_EQ(rig.loop.Run(Worker(0)), 0u);
    EXPECT_EQ(rig.duplication.Count("init"), 3u);
    EXPECT_EQ(std::count(rig.platform.waits.begin(), rig.platform.waits.end(), kSecureRetryWaitMs), 2);
    EXPECT_EQ(rig.platform.published.size(), 1u);
}

struct GdiFallbackCase {
    const char* name;
    int32_t initHr;
    bool publishShared;
    bool usesGdi;
};

class SecureCaptureGdiFallback : public ::testing::TestWithParam<GdiFallbackCase> {};

TEST_P(SecureCaptureGdiFallback, MissingDuplicationIsCapturedByGdiOnlyWhilePublishing) {
    const GdiFallbackCase& c = GetParam();
    Rig rig;
    rig.duplication.initResults = {c.initHr, c.initHr};
    rig.gdi.frames = Repeat(Shot::Picture, 3);
    rig.duplication.frames = Repeat(Shot::Picture, 3);
    SecureCaptureOptions options = Worker();
    options.publishShared = c.publishShared;
    options.bmpDiagnostics = !c.publishShared;
    EXPECT_EQ(rig.loop.Run(options), 0u);
    const std::string enter =
        "[SECURE_GDI][ENTER] DuplicateOutput unsupported; continue Winlogon capture with "
        "GDI shared-frame publisher";
    EXPECT_EQ(rig.platform.HasLine(enter), c.usesGdi);
    EXPECT_EQ(rig.gdi.Count("begin") > 0, c.usesGdi);
    if (c.usesGdi) {
        EXPECT_EQ(rig.platform.published.size(), 3u);
        EXPECT_TRUE(rig.platform.HasLine(
            "frame delivered path=GDI frame=1 shared=1 bmp=0 maxRgb=128 nonBlackPermille=1000"));
    } else {
        // Without publishing the loop keeps trying duplication after the long wait.
        EXPECT_EQ(rig.duplication.Count("init"), 3u);
        EXPECT_EQ(rig.platform.FirstPause(), kSecureRetryWaitMs);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SecureCaptureGdiFallback,
    ::testing::Values(GdiFallbackCase{"UnsupportedPublishing", kSecureCaptureUnsupported, true, true},
                      GdiFallbackCase{"NotImplementedPublishing", kSecureCaptureNotImplemented, true, true},
                      GdiFallbackCase{"UnsupportedNotPublishing", kSecureCaptureUnsupported, false, false},
                      GdiFallbackCase{"OtherFailurePublishing", kInvalidArg, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SecureCaptureLoop, FailedGdiInitIsLoggedAndRetriedAfterTheLongWait) {
    Rig rig;
    rig.duplication.initResults = {kSecureCaptureUnsupported, kSecureCaptureUnsupported};
    rig.gdi.initResults = {kInvalidArg};
    rig.gdi.frames = Repeat(Shot::Picture, 1);
    EXPECT_EQ(rig.loop.Run(Worker()), 0u);
    EXPECT_TRUE(
        rig.platform.HasLine("[SECURE_GDI][INIT_FAIL] hr=0x80070057 text; retry capture initialization"));
    EXPECT_EQ(rig.platform.FirstPause(), kSecureRetryWaitMs);
    EXPECT_EQ(rig.gdi.Count("init"), 2u);
    EXPECT_EQ(rig.platform.published.size(), 1u);
}

TEST(SecureCaptureLoop, DeniedGdiCopyRequestsTheOtherDesktop) {
    Rig rig;
    rig.duplication.initResults = {kSecureCaptureNotImplemented};
    rig.gdi.frames = {{Shot::Picture}, {Shot::Fail, kSecureCaptureAccessDenied}};
    EXPECT_EQ(rig.loop.Run(Worker(kWardletExitWinlogonActive)), kWardletExitWinlogonActive);
    EXPECT_TRUE(rig.platform.HasLine(
        "[SECURE_GDI][DESKTOP_CHANGED] GDI access denied; request alternate desktop exitCode=0xDDE50001"));
}

struct CaptureFailureCase {
    const char* name;
    bool gdi;
    int32_t hr;
    uint32_t retryWaitMs;
    const char* line;
};

class SecureCaptureFailure : public ::testing::TestWithParam<CaptureFailureCase> {};

TEST_P(SecureCaptureFailure, FailedFrameRebuildsThePipelineAfterItsPathsWait) {
    const CaptureFailureCase& c = GetParam();
    Rig rig;
    if (c.gdi)
        rig.duplication.initResults = {kSecureCaptureUnsupported, kSecureCaptureUnsupported};
    FakeSource& source = c.gdi ? rig.gdi : rig.duplication;
    source.frames = {{Shot::Fail, c.hr}, {Shot::Picture}};
    EXPECT_EQ(rig.loop.Run(Worker(c.gdi ? 0 : kWardletExitDefaultActive)), 0u);
    EXPECT_TRUE(rig.platform.HasLine(c.line));
    EXPECT_EQ(rig.platform.FirstPause(), c.retryWaitMs);
    EXPECT_EQ(source.Count("init"), 2u);
    EXPECT_EQ(rig.platform.published.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SecureCaptureFailure,
    ::testing::Values(
        CaptureFailureCase{"DuplicationAccessLost", false, kAccessLost, kSecureDuplicationRetryWaitMs,
                           "capture failed path=DDA hr=0x887A0026 text; pipeline will be recreated"},
        // Only GDI's own access-denied ends the run, and only with an exit code.
        CaptureFailureCase{"GdiDeniedWithoutExitCode", true, kSecureCaptureAccessDenied, kSecureRetryWaitMs,
                           "capture failed path=GDI hr=0x80070005 text; pipeline will be recreated"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SecureCaptureLoop, DuplicationBmpThatCannotBeWrittenFailsTheFrame) {
    Rig rig;
    rig.platform.bmpResult = {false, 5};
    rig.duplication.frames = Repeat(Shot::Picture, 1);
    EXPECT_EQ(rig.loop.Run(Diagnostic(false)), 0u);
    EXPECT_TRUE(
        rig.platform.HasLine("capture failed path=DDA hr=0x80070005 text; pipeline will be recreated"));
    EXPECT_EQ(rig.duplication.Count("end"), 1u) << "the frame is given back also when its BMP failed";
    EXPECT_EQ(rig.platform.CountLines("frame delivered"), 0u);
}

TEST(SecureCaptureLoop, FailedReleaseOfAFrameFailsThePass) {
    Rig rig;
    rig.duplication.endResult = kAccessLost;
    rig.duplication.frames = Repeat(Shot::Black, 1);
    EXPECT_EQ(rig.loop.Run(Worker()), 0u);
    EXPECT_TRUE(
        rig.platform.HasLine("capture failed path=DDA hr=0x887A0026 text; pipeline will be recreated"));
}

TEST(SecureCaptureLoop, StaticScreenIsPublishedAgainAtLeastOnceASecond) {
    Rig rig;
    std::deque<Step> frames = Repeat(Shot::Picture, 1);
    for (const Step& step : Repeat(Shot::Timeout, 8))
        frames.push_back(step);
    rig.duplication.frames = frames;
    EXPECT_EQ(rig.loop.Run(Worker()), 0u);
    const auto& published = rig.platform.published;
    ASSERT_EQ(published.size(), 9u);
    for (size_t i = 1; i < published.size(); ++i) {
        EXPECT_LE(published[i].atMs - published[i - 1].atMs,
                  kSecureAcquireTimeoutMs + kSecureFrameIntervalMs);
        EXPECT_EQ(published[i].pixels, published[0].pixels);
    }
    // Only real frames count as delivered.
    EXPECT_EQ(rig.platform.CountLines("frame delivered"), 1u);
}

TEST(SecureCaptureLoop, NothingIsPublishedAgainBeforeAFrameOrAfterARebuild) {
    Rig rig;
    rig.duplication.frames = {
        {Shot::Timeout}, {Shot::Picture}, {Shot::Fail, kAccessLost}, {Shot::Timeout}, {Shot::Timeout}};
    EXPECT_EQ(rig.loop.Run(Worker()), 0u);
    EXPECT_EQ(rig.platform.published.size(), 1u);
}

TEST(SecureCaptureLoop, QuickTimeoutsDoNotPublishMoreThanOnceASecond) {
    Rig rig;
    // Time-outs that come back at once (no clock movement) must not flood the mapping.
    rig.duplication.frames = {{Shot::Picture},
                              {Shot::Fail, kSecureCaptureWaitTimeout},
                              {Shot::Fail, kSecureCaptureWaitTimeout},
                              {Shot::Fail, kSecureCaptureWaitTimeout}};
    EXPECT_EQ(rig.loop.Run(Worker()), 0u);
    EXPECT_EQ(rig.platform.published.size(), 1u);
}

TEST(SecureCaptureLoop, RebuildRequestLeavesTheFrameLoopAndRecreatesThePipeline) {
    Rig rig;
    rig.duplication.frames = Repeat(Shot::Picture, 4);
    rig.duplication.rebuildAtBegin = 2; // as a session notification would, during the second frame
    EXPECT_EQ(rig.loop.Run(Worker()), 0u);
    EXPECT_EQ(rig.platform.rebuildResets, 2);
    EXPECT_EQ(rig.platform.CountLines("session/desktop notification: recreating capture pipeline"), 2u);
    EXPECT_EQ(rig.duplication.Count("init"), 2u);
    EXPECT_EQ(rig.platform.published.size(), 4u);
    EXPECT_NE(std::find(rig.platform.waits.begin(), rig.platform.waits.end(), kSecureDuplicationRetryWaitMs),
              rig.platform.waits.end());
}

TEST(SecureCaptureLoop, StopDuringTheFrameWaitEndsTheRunWithoutAnotherCapture) {
    Rig rig;
    rig.duplication.frames = Repeat(Shot::Picture, 5);
    rig.platform.stopOnWaitMs = kSecureFrameIntervalMs;
    EXPECT_EQ(rig.loop.Run(Worker()), 0u);
    EXPECT_EQ(rig.duplication.Count("begin"), 1u);
    EXPECT_EQ(rig.duplication.calls.back(), "release") << "the pipeline is released on return";
}

TEST(SecureCaptureLoop, FrameTooLargeForTheMappingIsLoggedThrottledNotPublished) {
    Rig rig;
    // 8192 x 2049 x 4 bytes is just above one 64 MiB buffer.
    rig.duplication.width = 8192;
    rig.duplication.height = 2049;
    rig.duplication.frames = Repeat(Shot::Picture, 3);
    EXPECT_EQ(rig.loop.Run(Worker()), 0u);
    EXPECT_TRUE(rig.platform.published.empty());
    EXPECT_EQ(rig.platform.CountLines("[SECURE_PUBLISH][TOO_LARGE]"), 1u);
    EXPECT_TRUE(
        rig.platform.HasLine("[SECURE_PUBLISH][TOO_LARGE] size=8192x2049 bytes=67141632 limit=67108864"));
    EXPECT_EQ(rig.platform.CountLines("frame delivered"), 0u);
}

} // namespace
