#include "media/ColorNames.h"

#include <iterator>

#include "media/VideoColor.h"

namespace {

// Indexed by value; null marks the values logged as "UNKNOWN" (10 and 11).
constexpr const char* kColorSpaceNames[] = {
    "RGB_FULL_G22_NONE_P709",
    "RGB_FULL_G10_NONE_P709",
    "RGB_STUDIO_G22_NONE_P709",
    "RGB_STUDIO_G22_NONE_P2020",
    "RESERVED",
    "YCBCR_FULL_G22_NONE_P709_X601",
    "YCBCR_STUDIO_G22_LEFT_P601",
    "YCBCR_FULL_G22_LEFT_P601",
    "YCBCR_STUDIO_G22_LEFT_P709",
    "YCBCR_FULL_G22_LEFT_P709",
    nullptr,
    nullptr,
    "RGB_FULL_G2084_NONE_P2020_HDR10",
    "YCBCR_STUDIO_G2084_LEFT_P2020_HDR10",
    "RGB_STUDIO_G2084_NONE_P2020_HDR10",
    "YCBCR_STUDIO_G22_TOPLEFT_P2020",
    "YCBCR_STUDIO_G2084_TOPLEFT_P2020_HDR10",
    "RGB_FULL_G22_NONE_P2020_WCG",
    "YCBCR_STUDIO_GHLG_TOPLEFT_P2020_HLG",
    "YCBCR_FULL_GHLG_TOPLEFT_P2020_HLG",
    "RGB_STUDIO_G24_NONE_P709",
    "RGB_STUDIO_G24_NONE_P2020",
    "YCBCR_STUDIO_G24_LEFT_P709",
    "YCBCR_STUDIO_G24_LEFT_P2020",
    "YCBCR_STUDIO_G24_TOPLEFT_P2020",
};

} // namespace

const char* ColorSpaceName(uint32_t colorSpace) {
    if (colorSpace >= std::size(kColorSpaceNames) || kColorSpaceNames[colorSpace] == nullptr) {
        return "UNKNOWN";
    }
    return kColorSpaceNames[colorSpace];
}

const char* DxgiFormatName(uint32_t format) {
    switch (format) {
    case 87:
        return "B8G8R8A8_UNORM";
    case 88:
        return "B8G8R8X8_UNORM";
    case 28:
        return "R8G8B8A8_UNORM";
    case 24:
        return "R10G10B10A2_UNORM";
    case 10:
        return "R16G16B16A16_FLOAT";
    case 103:
        return "NV12";
    case 104:
        return "P010";
    default:
        return "OTHER";
    }
}
