#include <gtest/gtest.h>

#include "input/ScreenScale.h"

namespace {

struct ScaleCase {
    const char* name;
    int32_t width, height, windowDpi, deviceDpi;
    uint32_t dpi, dpiScale, controlUiScale;
};

class ScreenScaleTest : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(ScreenScaleTest, Measures) {
    const ScaleCase& c = GetParam();
    const ScreenScaleState s = MeasureScreenScale(c.width, c.height, c.windowDpi, c.deviceDpi);
    EXPECT_EQ(s.screenWidth, c.width < 0 ? 0u : static_cast<uint32_t>(c.width));
    EXPECT_EQ(s.screenHeight, c.height < 0 ? 0u : static_cast<uint32_t>(c.height));
    EXPECT_EQ(s.dpi, c.dpi);
    EXPECT_EQ(s.dpiScalePercent, c.dpiScale);
    EXPECT_EQ(s.controlUiScalePercent, c.controlUiScale);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScreenScaleTest,
    ::testing::Values(ScaleCase{"Uhd144", 3840, 2160, 144, 96, 144, 150, 100},
                      ScaleCase{"FullHd96ClampsTo65", 1920, 1080, 96, 96, 96, 100, 65},
                      ScaleCase{"Qhd120", 2560, 1440, 120, 0, 120, 125, 67},
                      ScaleCase{"RoundsHalfUp", 1920, 1512, 100, 0, 100, 104, 70},
                      ScaleCase{"TallerThanUhdClampsTo100", 5120, 2880, 192, 0, 192, 200, 100},
                      ScaleCase{"HeightZeroGives100", 0, 0, 96, 96, 96, 100, 100},
                      ScaleCase{"NegativeSizesStoredAsZero", -5, -1, 96, 96, 96, 100, 100},
                      ScaleCase{"WindowDpiMissingTakesDeviceDpi", 1920, 1080, 0, 120, 120, 125, 65},
                      ScaleCase{"BothDpisMissingGive96", 1920, 1080, 0, 0, 96, 100, 65},
                      ScaleCase{"NegativeDpisGive96", 1920, 1080, -1, -20, 96, 100, 65}),
    [](const ::testing::TestParamInfo<ScaleCase>& info) { return std::string(info.param.name); });

TEST(ScreenScaleRules, HugeValuesDoNotWrap) {
    EXPECT_EQ(DpiScalePercent(INT32_MAX), INT32_MAX);
    EXPECT_EQ(ControlUiScalePercent(INT32_MAX), 100);
    EXPECT_EQ(ControlUiScalePercent(INT32_MIN), 100);
}

} // namespace
