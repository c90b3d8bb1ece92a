#include "media/VideoColor.h"

#include <iterator>

bool IsEnvSwitchOn(const char* value) {
    if (value == nullptr) {
        return false;
    }
    switch (value[0]) {
    case '1':
    case 'T':
    case 't':
    case 'Y':
    case 'y':
        return true;
    default:
        return false;
    }
}

const char* VideoColorModeName(uint32_t mode) {
    switch (static_cast<VideoColorMode>(mode)) {
    case VideoColorMode::SdrBt709Nv12:
        return "SDR_BT709_NV12";
    case VideoColorMode::Hdr10Bt2020P010:
        return "HDR10_BT2020_P010";
    case VideoColorMode::HlgBt2020P010:
        return "HLG_BT2020_P010";
    }
    return "UNKNOWN";
}

const char* VideoTransferName(uint32_t transfer) {
    switch (static_cast<VideoTransfer>(transfer)) {
    case VideoTransfer::Bt709:
        return "BT709";
    case VideoTransfer::St2084Pq:
        return "ST2084_PQ";
    case VideoTransfer::Hlg:
        return "HLG";
    }
    return "UNKNOWN";
}

const char* VideoColorSpaceName(uint32_t colorSpace) {
    static const char* const kNames[] = {
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
        "UNKNOWN",
        "UNKNOWN",
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
    return colorSpace < std::size(kNames) ? kNames[colorSpace] : "UNKNOWN";
}
