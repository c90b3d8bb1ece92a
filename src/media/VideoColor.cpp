#include "media/VideoColor.h"

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
