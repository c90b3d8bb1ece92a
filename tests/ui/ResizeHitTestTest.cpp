// The border hit test and the drag rectangles of the main window's custom resize.
#include <gtest/gtest.h>

#include <string>

#include "ui/CustomResizeRect.h"
#include "ui/ResizeHitTest.h"

namespace {

struct BandCase {
    const char* name;
    uint32_t windowDpi;
    int32_t padded, frame;
    int32_t band;
};

class HitTestBandTest : public ::testing::TestWithParam<BandCase> {};

TEST_P(HitTestBandTest, ScalesFourPixelsAndAddsTheFrame) {
    const BandCase& c = GetParam();
    EXPECT_EQ(HitTestBand(HitTestDpi(c.windowDpi), c.padded, c.frame), c.band);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HitTestBandTest,
    ::testing::Values(BandCase{"Dpi96", 96, 4, 4, 12}, BandCase{"Dpi144", 144, 4, 4, 14},
                      BandCase{"Dpi192", 192, 4, 4, 16}, BandCase{"Dpi400FallsBackTo96", 400, 4, 4, 12},
                      BandCase{"Dpi0FallsBackTo96", 0, 4, 4, 12}, BandCase{"Dpi72IsKept", 72, 4, 4, 11},
                      BandCase{"Dpi384IsKept", 384, 4, 4, 24}, BandCase{"Dpi385FallsBackTo96", 385, 4, 4, 12},
                      BandCase{"ThinFrameCountsAsEight", 96, 0, 2, 12},
                      BandCase{"WideFrameCappedAt32", 192, 20, 10, 32},
                      BandCase{"JustBelowTheCap", 96, 14, 13, 31}),
    [](const ::testing::TestParamInfo<BandCase>& info) { return std::string(info.param.name); });

struct HitCase {
    const char* name;
    int32_t x, y;
    int32_t hit;
};

class CustomResizeHitTest : public ::testing::TestWithParam<HitCase> {};

// A window at (100, 50)-(900, 650) with a 12-pixel band.
TEST_P(CustomResizeHitTest, NamesTheBorderUnderThePoint) {
    const HitCase& c = GetParam();
    EXPECT_EQ(CustomResizeHit({100, 50, 900, 650}, {c.x, c.y}, 12), c.hit);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CustomResizeHitTest,
    ::testing::Values(
        HitCase{"Left", 100, 300, kHitLeft}, HitCase{"LastLeftPixel", 111, 300, kHitLeft},
        HitCase{"InsideLeft", 112, 300, kHitNone}, HitCase{"Right", 899, 300, kHitRight},
        HitCase{"FirstRightPixel", 888, 300, kHitRight}, HitCase{"InsideRight", 887, 300, kHitNone},
        HitCase{"Top", 500, 50, kHitTop}, HitCase{"Bottom", 500, 649, kHitBottom},
        HitCase{"TopLeft", 105, 55, kHitTopLeft}, HitCase{"TopRight", 895, 61, kHitTopRight},
        HitCase{"BottomLeft", 111, 638, kHitBottomLeft}, HitCase{"BottomRight", 899, 649, kHitBottomRight},
        HitCase{"Centre", 500, 300, kHitNone}, HitCase{"OutsideLeft", 99, 300, kHitNone},
        HitCase{"OutsideRightEdge", 900, 300, kHitNone}, HitCase{"OutsideBottomEdge", 500, 650, kHitNone}),
    [](const ::testing::TestParamInfo<HitCase>& info) { return std::string(info.param.name); });

struct RectCase {
    const char* name;
    int32_t hit;
    int32_t dx, dy;
    WindowRect expected;
};

class CustomResizeRectTest : public ::testing::TestWithParam<RectCase> {};

// Start rectangle (100, 100)-(900, 600), pressed at (500, 400).
TEST_P(CustomResizeRectTest, MovesTheNamedEdgesAndKeepsTheOppositeOnesAtTheMinimum) {
    const RectCase& c = GetParam();
    const WindowRect r = CustomResizeRect(c.hit, {100, 100, 900, 600}, {500, 400}, {500 + c.dx, 400 + c.dy});
    EXPECT_EQ(r.left, c.expected.left);
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.right, c.expected.right);
    EXPECT_EQ(r.bottom, c.expected.bottom);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CustomResizeRectTest,
    ::testing::Values(
        RectCase{"LeftOut", kHitLeft, -50, 30, {50, 100, 900, 600}},
        RectCase{"LeftPastRightEdgeStopsAt640", kHitLeft, 1000, 0, {260, 100, 900, 600}},
        RectCase{"RightIn", kHitRight, -100, 0, {100, 100, 800, 600}},
        RectCase{"RightPastLeftEdgeStopsAt640", kHitRight, -900, 0, {100, 100, 740, 600}},
        RectCase{"TopUp", kHitTop, 40, -60, {100, 40, 900, 600}},
        RectCase{"TopPastBottomStopsAt360", kHitTop, 0, 700, {100, 240, 900, 600}},
        RectCase{"BottomPastTopStopsAt360", kHitBottom, 0, -700, {100, 100, 900, 460}},
        RectCase{"BottomDown", kHitBottom, 0, 25, {100, 100, 900, 625}},
        RectCase{"TopLeftBoth", kHitTopLeft, -10, -20, {90, 80, 900, 600}},
        RectCase{"TopLeftClampsBoth", kHitTopLeft, 800, 800, {260, 240, 900, 600}},
        RectCase{"TopRightBoth", kHitTopRight, 10, -20, {100, 80, 910, 600}},
        RectCase{"TopRightClampsKeepLeftAndBottom", kHitTopRight, -800, 800, {100, 240, 740, 600}},
        RectCase{"BottomLeftBoth", kHitBottomLeft, -10, 20, {90, 100, 900, 620}},
        RectCase{"BottomLeftClampsKeepRightAndTop", kHitBottomLeft, 800, -800, {260, 100, 900, 460}},
        RectCase{"BottomRightBoth", kHitBottomRight, 15, 5, {100, 100, 915, 605}},
        RectCase{"BottomRightClampsKeepLeftAndTop", kHitBottomRight, -800, -800, {100, 100, 740, 460}},
        RectCase{"NotABorderLeavesItAlone", kHitNone, 100, 100, {100, 100, 900, 600}}),
    [](const ::testing::TestParamInfo<RectCase>& info) { return std::string(info.param.name); });

TEST(CustomResizeRect, ACursorFarOffTheDesktopDoesNotOverflow) {
    const WindowRect r = CustomResizeRect(kHitRight, {100, 100, 900, 600}, {0, 0}, {INT32_MAX, 0});
    EXPECT_EQ(r.right, INT32_MAX);
    EXPECT_EQ(r.left, 100);
    const WindowRect l = CustomResizeRect(kHitLeft, {100, 100, 900, 600}, {INT32_MAX, 0}, {INT32_MIN, 0});
    EXPECT_EQ(l.left, INT32_MIN);
    EXPECT_EQ(l.right, 900);
}

} // namespace
