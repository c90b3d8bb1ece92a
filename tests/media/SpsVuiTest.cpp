#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "media/AnnexB.h"
#include "media/ColorDiagnostics.h"
#include "media/SpsVui.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes FromHex(const std::string& hex) {
    Bytes bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

// SPS units written by x264 for a 128x96 clip with --range pc (or tv) and BT.709 colour description.
const std::string kHighFull = "000000016764000aacd9420da6e0202028000003000800000301e478912cb0";
const std::string kBaselineFull = "000000016742c00ad9020da6e0202028000003000800000301e478913240";
const std::string kHighInterlaced = "0000000167640015acd9421b4dc0404050000003001000000303c9f1429960";
const std::string kHighLimited = "000000016764000aacd9420da6a0202028000003000800000301e478912cb0";

std::optional<SpsColorInfo> Parse(const std::string& hex) {
    const Bytes unit = FromHex(hex);
    const Bytes payload = FirstNalPayload(unit.data(), unit.size(), kNalSps);
    const Bytes rbsp = RemoveEmulationPrevention(payload.data(), payload.size());
    return ParseSpsColor(rbsp.data(), rbsp.size());
}

TEST(SpsVuiTest, ReadsTheColourSignallingOfEncoderOutput) {
    struct Case {
        const char* name;
        const std::string& hex;
        uint32_t profile;
        uint32_t heightMbs;
        int32_t fullRange;
    };
    const Case cases[] = {{"high, full range", kHighFull, 100, 6, 1},
                          {"baseline, full range", kBaselineFull, 66, 6, 1},
                          {"high, field coding", kHighInterlaced, 100, 6, 1},
                          {"high, limited range", kHighLimited, 100, 6, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<SpsColorInfo> sps = Parse(c.hex);
        ASSERT_TRUE(sps.has_value());
        EXPECT_EQ(sps->profileIdc, c.profile);
        EXPECT_EQ(sps->spsId, 0u);
        EXPECT_EQ(sps->widthMbs, 8u);
        EXPECT_EQ(sps->heightMbs, c.heightMbs);
        EXPECT_TRUE(sps->vuiPresent);
        EXPECT_EQ(sps->videoFullRange, c.fullRange);
        EXPECT_EQ(sps->colourPrimaries, 1);
        EXPECT_EQ(sps->transferCharacteristics, 1);
        EXPECT_EQ(sps->matrixCoefficients, 1);
    }
}

TEST(SpsVuiTest, RemovesEmulationPreventionBytes) {
    struct Case {
        Bytes in;
        Bytes out;
    };
    const Case cases[] = {{{0, 0, 3, 1}, {0, 0, 1}},
                          {{0, 0, 3, 0, 0, 3}, {0, 0, 0, 0}},
                          {{0, 3, 0, 0, 3}, {0, 3, 0, 0}},
                          {{0, 0, 0, 3}, {0, 0, 0}},
                          {{5, 3, 3}, {5, 3, 3}}};
    for (const Case& c : cases)
        EXPECT_EQ(RemoveEmulationPrevention(c.in.data(), c.in.size()), c.out);
}

TEST(SpsVuiTest, ShortSpsIsRefusedAndCutVuiLeavesFieldsUnknown) {
    const Bytes unit = FromHex(kHighFull);
    const Bytes payload = FirstNalPayload(unit.data(), unit.size(), kNalSps);
    const Bytes rbsp = RemoveEmulationPrevention(payload.data(), payload.size());
    bool sawCutVui = false;
    for (size_t n = 0; n < rbsp.size(); ++n) {
        // Each cut is a copy of its own, so a read past it shows under the address sanitizer.
        const Bytes cut(rbsp.begin(), rbsp.begin() + static_cast<ptrdiff_t>(n));
        const std::optional<SpsColorInfo> sps = ParseSpsColor(cut.data(), cut.size());
        if (n < 5) {
            EXPECT_FALSE(sps.has_value()) << n;
        }
        if (sps && sps->vuiPresent && sps->matrixCoefficients == -1)
            sawCutVui = true;
    }
    EXPECT_TRUE(sawCutVui);
    EXPECT_FALSE(ParseSpsColor(nullptr, 4).has_value());
}

TEST(SpsVuiTest, ColourCheckLines) {
    const Bytes high = FromHex(kHighFull);
    EXPECT_EQ(SpsColorCheckLine(high.data(), high.size()),
              "[COLOR][H264][SPS-VUI] profile=100 level=10 sps=0 codedMbs=8x6 vui=1 video_full_range_flag=1 "
              "colour_primaries=1 transfer_characteristics=1 matrix_coefficients=1 expected_full_range=1 "
              "expected_cp/tc/matrix=1/1/1(BT709)");
    const Bytes pps = {0, 0, 0, 1, 0x68, 0xEE};
    EXPECT_EQ(SpsColorCheckLine(pps.data(), pps.size()),
              "[COLOR][H264][SPS] no SPS payload found for VUI parse bytes=6");
    const Bytes shortSps = {0, 0, 0, 1, 0x67, 0x64, 0x00};
    EXPECT_EQ(SpsColorCheckLine(shortSps.data(), shortSps.size()),
              "[COLOR][H264][SPS] parse failed at header rbsp=3");
}

} // namespace
