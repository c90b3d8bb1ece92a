#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "media/TileContainerHeader.h"
#include "media/VideoLimits.h"

namespace {

TEST(TileContainerHeaderTest, PacksEveryFieldAtItsOffsetLittleEndian) {
    TileContainerHeader header;
    header.width = 1920;
    header.height = 1080;
    header.tileBytes = {0x01020304u, 5u, 0x4000000u, 0xA0B0C0D0u};
    std::array<uint8_t, kTileContainerHeaderSize> bytes{};
    PackTileContainerHeader(header, bytes.data());

    const std::array<uint8_t, kTileContainerHeaderSize> expected = {
        'M', 'F', '4',  '4',  1,    0,    36, 0, 0x80, 0x07, 0, 0, 0x38, 0x04, 0,    0,    2,    0,
        2,   0,   0x04, 0x03, 0x02, 0x01, 5,  0, 0,    0,    0, 0, 0,    4,    0xD0, 0xC0, 0xB0, 0xA0};
    EXPECT_EQ(bytes, expected);

    const TileContainerHeader parsed = ParseTileContainerHeader(bytes.data());
    EXPECT_EQ(parsed.magic, kTileContainerMagic);
    EXPECT_EQ(parsed.version, 1);
    EXPECT_EQ(parsed.headerSize, 36);
    EXPECT_EQ(parsed.width, 1920);
    EXPECT_EQ(parsed.height, 1080);
    EXPECT_EQ(parsed.gridColumns, 2);
    EXPECT_EQ(parsed.gridRows, 2);
    EXPECT_EQ(parsed.tileBytes, header.tileBytes);
}

TEST(TileContainerHeaderTest, SizesFromTheWireKeepTheirSign) {
    TileContainerHeader header;
    header.width = -2;
    header.height = INT32_MIN;
    std::array<uint8_t, kTileContainerHeaderSize> bytes{};
    PackTileContainerHeader(header, bytes.data());
    const TileContainerHeader parsed = ParseTileContainerHeader(bytes.data());
    EXPECT_EQ(parsed.width, -2);
    EXPECT_EQ(parsed.height, INT32_MIN);
}

struct SizeCase {
    const char* name;
    int32_t width, height;
    bool ok;
};

class TileFrameSizeTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(TileFrameSizeTest, Table) {
    EXPECT_EQ(IsTileFrameSize(GetParam().width, GetParam().height), GetParam().ok);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, TileFrameSizeTest,
    ::testing::Values(SizeCase{"Smallest", 2, 2, true}, SizeCase{"FullHd", 1920, 1080, true},
                      SizeCase{"Largest", kMaxVideoDimension, kMaxVideoDimension, true},
                      SizeCase{"OddWidth", 1919, 1080, false}, SizeCase{"OddHeight", 1920, 1081, false},
                      SizeCase{"Zero", 0, 0, false}, SizeCase{"One", 1, 2, false},
                      SizeCase{"Negative", -2, 2, false}, SizeCase{"NegativeHeight", 2, -1080, false},
                      SizeCase{"WidthAboveLimit", kMaxVideoDimension + 2, 2, false},
                      SizeCase{"HeightAboveLimit", 2, kMaxVideoDimension + 2, false},
                      SizeCase{"HugeEven", 0x7FFFFFFE, 0x7FFFFFFE, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
