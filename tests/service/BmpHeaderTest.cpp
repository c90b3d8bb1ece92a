#include <gtest/gtest.h>

#include <cstring>

#include "core/LittleEndian.h"
#include "service/BmpHeader.h"

namespace {

TEST(BmpHeader, TopDownThirtyTwoBitHeader) {
    const auto header = BuildBmpHeader(3, 2, 16);
    ASSERT_TRUE(header);
    const uint8_t expected[kBmpHeaderSize] = {
        'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,               // file header: 54 + 24 bytes
        40, 0, 0, 0, 3, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 1, 0, 32, 0, // size, width, -height, planes,
                                                                      // bpp
        0, 0, 0, 0, 24, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}; // BI_RGB, image size
    EXPECT_EQ(std::memcmp(header->data(), expected, kBmpHeaderSize), 0);
}

TEST(BmpHeader, RefusesGeometryThatDoesNotFit) {
    struct Case {
        const char* name;
        int32_t width;
        int32_t height;
        int32_t stride;
    };
    const Case cases[] = {
        {"zero width", 0, 10, 0},
        {"zero height", 10, 0, 40},
        {"negative height", 10, -1, 40},
        {"negative stride", 10, 10, -40},
        {"rows overlap", 10, 10, 39},
        {"image of exactly 2^32 bytes", 65536, 16384, 262144},
        {"largest int sides", INT32_MAX, INT32_MAX, INT32_MAX},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(BuildBmpHeader(c.width, c.height, c.stride)) << c.name;
}

TEST(BmpHeader, LargestFileThatFits) {
    // 54 + 2 x 536,870,905 x 4 = 4,294,967,294 bytes, just inside 32 bits; one pixel more per row is not.
    const auto header = BuildBmpHeader(536870905, 2, 536870905 * 4);
    ASSERT_TRUE(header);
    EXPECT_EQ(GetLe32(header->data() + 2), 4'294'967'294u);
    EXPECT_EQ(GetLe32(header->data() + 34), 4'294'967'240u);
    EXPECT_FALSE(BuildBmpHeader(536870906, 2, 536870906 * 4));
}

} // namespace
