#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <regex>
#include <string>
#include <vector>

#include "LogAssertions.h"
#include "core/Log.h"
#include "media/CaptureOutputRank.h"
#include "media/win/DesktopDuplicator.h"

namespace {

// Wine 8 offers Direct3D 11 and DXGI outputs but no desktop duplication: Init must pick the output, try it,
// and fail cleanly, so that the host falls back to the GDI capture. On real Windows duplication works and
// the test has nothing to show.
TEST(DesktopDuplicator, InitFailsCleanlyWithoutDesktopDuplication) {
    ASSERT_TRUE(Log::Open());
    DesktopDuplicator duplicator;
    EXPECT_FALSE(duplicator.StartAsyncCapture(1280, 720)); // nothing to capture before Init
    const bool ready = duplicator.Init();
    Log::Flush();
    const std::string log = OwnLog();
    Log::Close();
    if (ready)
        GTEST_SKIP() << "desktop duplication works on this system";

    // The output that shows the primary screen was found and scored with both bonuses.
    const int64_t area = int64_t{GetSystemMetrics(SM_CXSCREEN)} * GetSystemMetrics(SM_CYSCREEN);
    const std::string score = std::to_string(area + kCaptureOriginBonus + kCaptureExactBonus);
    EXPECT_TRUE(std::regex_search(
        log, std::regex(R"(\[DXGI\]\[SELECT\]\[CANDIDATE\] adapter=0 output=0 vendor=0x[0-9A-F]{4} )"
                        R"(device=0x[0-9A-F]{4} name=.* display=.* desktop=0,0,)" +
                        std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "," +
                        std::to_string(GetSystemMetrics(SM_CYSCREEN)) + R"( rotation=\d score=)" + score +
                        "\r\n")))
        << log;
    // The device was created and the duplication refused (E_NOTIMPL), then the whole attempt gave up.
    EXPECT_TRUE(std::regex_search(
        log, std::regex(R"(\[DXGI\]\[SELECT\]\[DUP_FAIL\] rank=0 adapter=0 output=0 vendor=0x[0-9A-F]{4} )"
                        R"(device=0x[0-9A-F]{4} display=.* hr=0x80004001\r\n)")))
        << log;
    EXPECT_TRUE(InOrder(log, {"[DXGI][SELECT][CANDIDATE]", "[DXGI][SELECT][DUP_FAIL]",
                              "DesktopDuplicator all adapter/output DuplicateOutput attempts failed\r\n"}));
    EXPECT_EQ(CountOf(log, "DesktopDuplicator init OK"), 0u);
    EXPECT_EQ(CountOf(log, "[DXGI][SELECT][SUCCESS]"), 0u);

    // Nothing runs and nothing waits after the failure.
    EXPECT_EQ(duplicator.Status(), CaptureStatus::NoNewFrame);
    EXPECT_FALSE(duplicator.StartAsyncCapture(1280, 720));
    EXPECT_FALSE(duplicator.StartAsyncCaptureNV12());
    EXPECT_FALSE(duplicator.AsyncRunning());
    std::vector<uint8_t> bytes;
    int32_t width = 0, height = 0;
    const DWORD start = GetTickCount();
    EXPECT_FALSE(duplicator.GetLatestFrame(bytes, width, height, 2000));
    EXPECT_FALSE(duplicator.GetLatestFrameBGRA(bytes, width, height, 2000));
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_TRUE(bytes.empty());
    const CaptureColorDescription color = duplicator.ColorDescription();
    EXPECT_EQ(color.bitDepth, 8u);
    EXPECT_EQ(color.hdrFlags, 0x100u);
    EXPECT_FALSE(duplicator.HdrDesktopActive());

    // Shutdown twice, then a second Init fails the same way.
    duplicator.Shutdown();
    duplicator.Shutdown();
    EXPECT_EQ(duplicator.Status(), CaptureStatus::NoNewFrame);
    EXPECT_EQ(duplicator.Rotation(), CaptureRotation::Identity);
    EXPECT_FALSE(duplicator.Init());
    duplicator.Shutdown();
}

} // namespace
