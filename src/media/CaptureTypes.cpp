#include "media/CaptureTypes.h"

const char* CaptureRotationName(CaptureRotation rotation) {
    switch (rotation) {
    case CaptureRotation::Unspecified:
        return "UNSPECIFIED";
    case CaptureRotation::Identity:
        return "IDENTITY";
    case CaptureRotation::Rotate90:
        return "ROTATE90";
    case CaptureRotation::Rotate180:
        return "ROTATE180";
    case CaptureRotation::Rotate270:
        return "ROTATE270";
    }
    return "UNKNOWN";
}

CaptureColorDescription CaptureColorFor(bool hdrDesktopActive) {
    CaptureColorDescription color;
    if (hdrDesktopActive) {
        color.colorMode = VideoColorMode::Hdr10Bt2020P010;
        color.transfer = VideoTransfer::St2084Pq;
        color.bitDepth = 10;
        color.hdrFlags = kVideoHdrFlagsBase | 0x1;
    }
    return color;
}
