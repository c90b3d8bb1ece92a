#include <gtest/gtest.h>

#include "ui/ControlViewGeometry.h"

namespace {

TEST(ControlViewGeometryTest, ScaleFollowsTheMonitorHeightWithinItsBounds) {
    struct Case {
        int32_t height;
        double scale;
    };
    for (Case c : {Case{1080, 0.65}, Case{720, 0.65}, Case{1728, 0.8}, Case{2160, 1.0}, Case{4320, 1.0}})
        EXPECT_DOUBLE_EQ(ControlViewScaleFor(c.height), c.scale) << c.height;
    EXPECT_EQ(ScaleControlViewSize(520, 0.65), 338);
    EXPECT_EQ(ScaleControlViewSize(88, 0.65), 57); // 57.2
    EXPECT_EQ(ScaleControlViewSize(17, 0.5), 9);   // 8.5 rounds up
}

struct LayoutCase {
    const char* name;
    int32_t w, h;
    double scale, rx, ry;
    ControlViewRect expected;
};

class ControlViewLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ControlViewLayoutTest, PlacesTheButton) {
    const LayoutCase& c = GetParam();
    EXPECT_EQ(LayoutControlViewRect(c.w, c.h, c.scale, c.rx, c.ry), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ControlViewLayoutTest,
    ::testing::Values(
        // 1280 * 0.5 - 260 = 380; 720 * 0.75 - 44 = 496.
        LayoutCase{"DefaultPlace", 1280, 720, 1.0, 0.5, 0.75, {380, 496, 520, 88}},
        LayoutCase{"ScaledDown", 1280, 720, 0.65, 0.5, 0.75, {471, 512, 338, 57}},
        // 552 = 2 * 16 + 520: the button shrinks to the width less the margins and is centred.
        LayoutCase{"NarrowShrinks", 552, 400, 1.0, 0.5, 0.75, {16, 256, 520, 88}},
        LayoutCase{"NarrowerShrinks", 400, 400, 1.0, 0.5, 0.75, {16, 256, 368, 88}},
        // Not even the margins fit: the whole width, centred.
        LayoutCase{"TinyTakesTheWidth", 30, 400, 1.0, 0.5, 0.75, {0, 256, 30, 88}},
        // Dragged into a corner: kept 8 px inside.
        LayoutCase{"ClampedTopLeft", 1280, 720, 1.0, 0.0, 0.0, {8, 8, 520, 88}},
        LayoutCase{"ClampedBottomRight", 1280, 720, 1.0, 1.0, 1.0, {752, 624, 520, 88}},
        // Too low for the button and its margins: centred vertically.
        LayoutCase{"ShortCentres", 1280, 90, 1.0, 0.5, 0.75, {380, 1, 520, 88}}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return info.param.name; });

TEST(ControlViewGeometryTest, DragStartsAtTheSystemDistanceOnEitherAxis) {
    EXPECT_FALSE(ControlViewDragStarted(3, -3, 4, 4));
    EXPECT_TRUE(ControlViewDragStarted(4, 0, 4, 4));
    EXPECT_TRUE(ControlViewDragStarted(0, -4, 4, 4));
    EXPECT_TRUE(ControlViewDragStarted(-10, 1, 4, 4));
    EXPECT_FALSE(ControlViewDragStarted(5, 1, 6, 2)); // each axis has its own distance
}

TEST(ControlViewGeometryTest, RelativeCentreIsClampedToTheClientArea) {
    EXPECT_DOUBLE_EQ(ControlViewRelativeCentre(380, 520, 1280), 0.5);
    EXPECT_DOUBLE_EQ(ControlViewRelativeCentre(-600, 520, 1280), 0.0);
    EXPECT_DOUBLE_EQ(ControlViewRelativeCentre(1200, 520, 1280), 1.0);
    EXPECT_DOUBLE_EQ(ControlViewRelativeCentre(10, 20, 0), 0.5);
}

TEST(ControlViewGeometryTest, AStoredCentreSurvivesAResize) {
    // Dragged to the left third of a 1200 x 800 window, then the window grows.
    const double rx = ControlViewRelativeCentre(140, 520, 1200), ry = ControlViewRelativeCentre(156, 88, 800);
    const ControlViewRect r = LayoutControlViewRect(2400, 1600, 1.0, rx, ry);
    EXPECT_EQ(r.x + r.width / 2, 800);
    EXPECT_EQ(r.y + r.height / 2, 400);
}

} // namespace
