#include <gtest/gtest.h>

#include "ui/ResizeBorder.h"

namespace {

TEST(ResizeBandWidth, PaddedPlusFramePlusFourWithATenPixelFloor) {
    EXPECT_EQ(ResizeBandWidth(4, 4), 12);
    EXPECT_EQ(ResizeBandWidth(0, 4), 10) << "0 + 4 + 4 is raised to the floor";
    EXPECT_EQ(ResizeBandWidth(0, 0), 10);
    EXPECT_EQ(ResizeBandWidth(8, 10), 22); // 192 dpi metrics
}

struct BandCase {
    const char* name;
    int32_t x, y;
    bool inBand;
};

class ResizeBandTest : public ::testing::TestWithParam<BandCase> {};

// A window at (100, 50)-(900, 650) with a 12-pixel side band and a 14-pixel top/bottom band.
TEST_P(ResizeBandTest, Classifies) {
    const BandCase& c = GetParam();
    EXPECT_EQ(IsPointInResizeBand({100, 50, 900, 650}, c.x, c.y, 12, 14), c.inBand);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ResizeBandTest,
    ::testing::Values(BandCase{"LeftEdge", 100, 300, true}, BandCase{"LastLeftBandPixel", 111, 300, true},
                      BandCase{"FirstInnerPixelFromLeft", 112, 300, false},
                      BandCase{"RightBand", 888, 300, true}, BandCase{"InsideRightOfBand", 887, 300, false},
                      BandCase{"TopBandUsesY", 500, 63, true}, BandCase{"BelowTopBand", 500, 64, false},
                      BandCase{"BottomBand", 500, 636, true}, BandCase{"Centre", 500, 300, false},
                      BandCase{"OutsideLeft", 99, 300, false}, BandCase{"OutsideBottom", 500, 650, false}),
    [](const ::testing::TestParamInfo<BandCase>& info) { return std::string(info.param.name); });

} // namespace
