// The first placement of the main window: 17/40 of the screen with a floor, at the lower right of the work
// area, never outside its top-left corner.
#include <gtest/gtest.h>

#include "ui/MainWindowGeometry.h"

namespace {

TEST(MainWindowGeometry, SizeAndLowerRightCorner) {
    struct Case {
        const char* name;
        int32_t screenW, screenH;
        std::optional<WindowRect> work;
        WindowPlacement expected;
    } cases[] = {
        {"1920x1080 with taskbar", 1920, 1080, WindowRect{0, 0, 1920, 1040}, {1080, 557, 816, 459}},
        {"floor of 640 x 360", 1280, 800, std::nullopt, {616, 416, 640, 360}},
        {"half rounds up (1940*17/40 = 824.5)", 1940, 1080, std::nullopt, {1091, 597, 825, 459}},
        {"3840x2160", 3840, 2160, WindowRect{0, 0, 3840, 2100}, {2184, 1158, 1632, 918}},
        {"tiny screen clamps to work origin", 800, 400, WindowRect{0, 0, 800, 400}, {136, 16, 640, 360}},
        {"screen smaller than the floor", 600, 300, WindowRect{10, 20, 600, 300}, {10, 20, 640, 360}},
        {"work area off the origin", 1920, 1080, WindowRect{100, 50, 1920, 1080}, {1080, 597, 816, 459}},
    };
    for (const Case& c : cases) {
        WindowPlacement p = InitialMainWindowPlacement(c.screenW, c.screenH, c.work);
        EXPECT_EQ(p.width, c.expected.width) << c.name;
        EXPECT_EQ(p.height, c.expected.height) << c.name;
        EXPECT_EQ(p.x, c.expected.x) << c.name;
        EXPECT_EQ(p.y, c.expected.y) << c.name;
    }
}

TEST(MainWindowGeometry, MulDivRoundsHalfAwayFromZeroAndRefusesZero) {
    EXPECT_EQ(MulDivRounded(3, 1, 2), 2);
    EXPECT_EQ(MulDivRounded(-3, 1, 2), -2);
    EXPECT_EQ(MulDivRounded(5, 17, 40), 2);
    EXPECT_EQ(MulDivRounded(10, 1, 0), -1);
    EXPECT_EQ(MulDivRounded(0x7FFFFFFF, 4, 1), -1);
}

} // namespace
