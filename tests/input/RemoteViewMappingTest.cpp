#include <gtest/gtest.h>

#include "input/RemoteViewMapping.h"

namespace {

struct MapCase {
    const char* name;
    int32_t clientW, clientH;
    RemoteSize remote;
    int32_t x, y;
    bool ok;
    int32_t remoteX, remoteY;
};

class MapClientPointToRemoteTest : public ::testing::TestWithParam<MapCase> {};

TEST_P(MapClientPointToRemoteTest, Maps) {
    const MapCase& c = GetParam();
    int32_t rx = -7, ry = -7;
    ASSERT_EQ(MapClientPointToRemote(c.clientW, c.clientH, c.remote, c.x, c.y, rx, ry), c.ok);
    if (c.ok) {
        EXPECT_EQ(rx, c.remoteX);
        EXPECT_EQ(ry, c.remoteY);
    } else {
        EXPECT_EQ(rx, -7) << "a failed mapping leaves the output alone";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, MapClientPointToRemoteTest,
    ::testing::Values(
        MapCase{"HalfSizeBottomRight", 960, 540, {1920, 1080}, 959, 539, true, 1918, 1078},
        MapCase{"PastTheRightEdgeClamps", 960, 540, {1920, 1080}, 2000, 5, true, 1918, 10},
        MapCase{"NegativeClampsToZero", 960, 540, {1920, 1080}, -40, -1, true, 0, 0},
        MapCase{"Origin", 960, 540, {1920, 1080}, 0, 0, true, 0, 0},
        MapCase{"LargerClientTruncates", 1000, 1000, {640, 480}, 999, 1, true, 639, 0},
        MapCase{
            "HugeValuesDoNotOverflow", 0x7FFFFFFF, 2, {0x7FFFFFFF, 2}, 0x7FFFFFFE, 1, true, 0x7FFFFFFE, 1},
        MapCase{"EmptyClient", 0, 540, {1920, 1080}, 5, 5, false, 0, 0},
        MapCase{"RemoteSizeUnknown", 960, 540, {0, 0}, 5, 5, false, 0, 0},
        MapCase{"RemoteHeightUnknown", 960, 540, {1920, 0}, 5, 5, false, 0, 0}),
    [](const ::testing::TestParamInfo<MapCase>& info) { return std::string(info.param.name); });

TEST(RemoteSizeFor, DesktopSizeWinsAndStreamSizeStandsInUntilItIsKnown) {
    RemoteSize desktop = RemoteSizeFor(2560, 1440, 1920, 1080);
    EXPECT_EQ(desktop.width, 2560);
    EXPECT_EQ(desktop.height, 1440);
    RemoteSize stream = RemoteSizeFor(0, 0, 1920, 1080);
    EXPECT_EQ(stream.width, 1920);
    EXPECT_EQ(stream.height, 1080);
    RemoteSize half = RemoteSizeFor(2560, 0, 1920, 1080);
    EXPECT_EQ(half.width, 1920) << "a half-known desktop size is not used";
}

} // namespace

namespace {

struct HidMapCase {
    const char* name;
    int32_t clientW, clientH, x, y;
    int32_t hidX, hidY;
};

class MapClientPointToHidAbsoluteTest : public ::testing::TestWithParam<HidMapCase> {};

TEST_P(MapClientPointToHidAbsoluteTest, Maps) {
    const HidMapCase& c = GetParam();
    const HidPoint p = MapClientPointToHidAbsolute(c.clientW, c.clientH, c.x, c.y);
    EXPECT_EQ(p.x, c.hidX);
    EXPECT_EQ(p.y, c.hidY);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MapClientPointToHidAbsoluteTest,
    ::testing::Values(HidMapCase{"Centre", 960, 540, 480, 270, 2050, 2051},
                      HidMapCase{"LastPixelReachesTheEdge", 960, 540, 959, 539, 4096, 4096},
                      HidMapCase{"FirstPixelIsZero", 960, 540, 0, 0, 0, 0},
                      HidMapCase{"PastTheEdgeClampsToTheRange", 960, 540, 5000, 541, 4096, 4096},
                      HidMapCase{"NegativeClampsToZero", 960, 540, -3, -1, 0, 0},
                      HidMapCase{"EmptyClientMapsToZero", 0, 0, 5, 0, 0, 0},
                      HidMapCase{"OnePixelOrNegativeAxisMapsToZero", 1, -4, 0, 1, 0, 0},
                      HidMapCase{"TwoPixels", 2, 2, 1, 0, 4096, 0},
                      HidMapCase{"HugeClientDoesNotOverflow", 0x7FFFFFFF, 3, 0x7FFFFFFF, 1, 4096, 2048}),
    [](const ::testing::TestParamInfo<HidMapCase>& info) { return std::string(info.param.name); });

} // namespace
