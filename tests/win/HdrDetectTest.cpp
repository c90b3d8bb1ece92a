#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "core/Log.h"
#include "media/win/HdrDetect.h"

#include "LogAssertions.h"

namespace {

class HdrDetectWine : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Log::Open()); }
    void TearDown() override { Log::Close(); }
};

TEST_F(HdrDetectWine, PrimaryScreenAnswerMatchesItsLogLine) {
    const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    HdrOutputInfo info;
    const bool found = DetectHdr(nullptr, screen, info, true);
    const std::string log = OwnLog();
    if (found) {
        // An SDR test display: DXGI names its colour space and says no HDR.
        EXPECT_NE(log.find("[COLOR][HDR-DETECT] hwnd=0x"), std::string::npos) << log;
        EXPECT_NE(log.find("colorSpace=0(RGB_FULL_G22_NONE_P709)"), std::string::npos) << log;
        EXPECT_NE(log.find("hdr10=0"), std::string::npos) << log;
        EXPECT_FALSE(info.windowsHdr);
    } else {
        // The display's output lies under the screen, so only IDXGIOutput6 can be missing.
        EXPECT_NE(log.find("no IDXGIOutput6 match anyIntersect=1"), std::string::npos) << log;
    }
}

TEST_F(HdrDetectWine, RectangleOffEveryOutputFindsNothing) {
    const RECT nowhere = {-200000, -200000, -199000, -199000};
    HdrOutputInfo info;
    EXPECT_FALSE(DetectHdr(nullptr, nowhere, info, true));
    EXPECT_NE(
        OwnLog().find("[COLOR][HDR-DETECT] hwnd=0x0000000000000000 no IDXGIOutput6 match anyIntersect=0"),
        std::string::npos)
        << OwnLog();
    EXPECT_FALSE(info.windowsHdr);
}

} // namespace
