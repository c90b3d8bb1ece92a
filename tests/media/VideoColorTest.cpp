#include "media/VideoColor.h"

#include <gtest/gtest.h>

TEST(EnvSwitch, FirstCharacterDecides) {
    struct Case {
        const char* value;
        bool on;
    } cases[] = {
        {"1", true},   {"true", true}, {"True", true}, {"yes", true}, {"Y", true},
        {"on", false}, {"0", false},   {"", false},    {"no", false}, {" 1", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsEnvSwitchOn(c.value), c.on) << c.value;
    }
    EXPECT_FALSE(IsEnvSwitchOn(nullptr));
}

TEST(ColorSpaceName, NamesTheDxgiSpacesAndMarksHdrWcgAndHlg) {
    struct Case {
        uint32_t value;
        const char* name;
    } cases[] = {
        {0, "RGB_FULL_G22_NONE_P709"},
        {4, "RESERVED"},
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
        {0xFFFFFFFFu, "UNKNOWN"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(VideoColorSpaceName(c.value), c.name) << c.value;
    }
}
