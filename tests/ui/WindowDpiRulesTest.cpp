// The DPI helpers and the window's DPI log line.
#include <gtest/gtest.h>

#include "ui/WindowDpiRules.h"

namespace {

TEST(WindowDpi, TheWindowsOwnThenTheDevicesThen96) {
    EXPECT_EQ(ChooseWindowDpi(144, 96), 144u);
    EXPECT_EQ(ChooseWindowDpi(0, 120), 120u);
    EXPECT_EQ(ChooseWindowDpi(0, 0), 96u);
}

TEST(WindowDpi, ScalesLikeMulDiv) {
    EXPECT_EQ(ScaleForDpi(560, 96), 560);
    EXPECT_EQ(ScaleForDpi(560, 144), 840);
    EXPECT_EQ(ScaleForDpi(5, 120), 6); // 6.25 rounds down
    EXPECT_EQ(ScaleForDpi(6, 120), 8); // 7.5 rounds up
    EXPECT_DOUBLE_EQ(DpiScale(144), 1.5);
}

TEST(WindowDpi, TheLineNamesTheMonitorWhenKnown) {
    DpiLineFacts f;
    f.dpi = 144;
    f.clientWidth = 1200;
    f.clientHeight = 700;
    f.windowWidth = 1216;
    f.windowHeight = 739;
    EXPECT_EQ(FormatDpiLine("WM_DPICHANGED", f),
              "WM_DPICHANGED DPI=144 scale=1.500 client=1200x700 window=1216x739");
    f.work = WindowRect{0, 0, 1920, 1040};
    f.monitor = WindowRect{0, 0, 1920, 1080};
    EXPECT_EQ(FormatDpiLine("Main window created at lower-right", f),
              "Main window created at lower-right DPI=144 scale=1.500 client=1200x700 window=1216x739 "
              "work=0,0,1920,1040 monitor=0,0,1920,1080");
}

} // namespace
