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
