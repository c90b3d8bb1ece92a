#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "media/ColorNames.h"

namespace {

TEST(ColorNamesTest, ColourSpaces) {
    struct Case {
        uint32_t value;
        const char* name;
    };
    const Case cases[] = {{0, "RGB_FULL_G22_NONE_P709"},
                          {9, "YCBCR_FULL_G22_LEFT_P709"},
                          {10, "UNKNOWN"},
                          {11, "UNKNOWN"},
                          {12, "RGB_FULL_G2084_NONE_P2020_HDR10"},
                          {13, "YCBCR_STUDIO_G2084_LEFT_P2020_HDR10"},
                          {14, "RGB_STUDIO_G2084_NONE_P2020_HDR10"},
                          {15, "YCBCR_STUDIO_G22_TOPLEFT_P2020"},
                          {16, "YCBCR_STUDIO_G2084_TOPLEFT_P2020_HDR10"},
                          {17, "RGB_FULL_G22_NONE_P2020_WCG"},
                          {18, "YCBCR_STUDIO_GHLG_TOPLEFT_P2020_HLG"},
                          {19, "YCBCR_FULL_GHLG_TOPLEFT_P2020_HLG"},
                          {24, "YCBCR_STUDIO_G24_TOPLEFT_P2020"},
                          {25, "UNKNOWN"},
                          {0xFFFFFFFF, "UNKNOWN"}};
    for (const Case& c : cases)
        EXPECT_STREQ(ColorSpaceName(c.value), c.name) << c.value;
}

TEST(ColorNamesTest, FormatsModesAndTransfers) {
    EXPECT_STREQ(DxgiFormatName(87), "B8G8R8A8_UNORM");
    EXPECT_STREQ(DxgiFormatName(88), "B8G8R8X8_UNORM");
    EXPECT_STREQ(DxgiFormatName(103), "NV12");
    EXPECT_STREQ(DxgiFormatName(104), "P010");
    EXPECT_STREQ(DxgiFormatName(10), "R16G16B16A16_FLOAT");
    EXPECT_STREQ(DxgiFormatName(89), "OTHER");
    EXPECT_STREQ(VideoColorModeName(0), "SDR_BT709_NV12");
    EXPECT_STREQ(VideoColorModeName(2), "HLG_BT2020_P010");
    EXPECT_STREQ(VideoColorModeName(3), "UNKNOWN");
    EXPECT_STREQ(VideoTransferName(1), "ST2084_PQ");
    EXPECT_STREQ(VideoTransferName(7), "UNKNOWN");
}

} // namespace
