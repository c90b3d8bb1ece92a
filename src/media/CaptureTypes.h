#pragma once

#include <cstdint>
#include <vector>

#include "media/VideoColor.h"

// What the desktop duplicator reports after each capture; the host session decides on a rebuild from it.
enum class CaptureStatus : int32_t {
    FrameDelivered = 0,
    NoNewFrame = 1, // the acquire timed out; also the state after Shutdown
    AccessLost = 2,
    DeviceLost = 3,
    Failed = 4,
};

// The capture thread's mode: BGRA copied to system memory, or NV12 converted on the GPU.
enum class CaptureMode : int32_t {
    CpuBgra = 0,
    GpuNv12 = 1,
};

// DXGI mode rotation of the captured output (DXGI_MODE_ROTATION values).
enum class CaptureRotation : uint32_t {
    Unspecified = 0,
    Identity = 1,
    Rotate90 = 2,
    Rotate180 = 3,
    Rotate270 = 4,
};

// "IDENTITY", "ROTATE90", ... for the logs; "UNSPECIFIED" for 0 and "UNKNOWN" for anything else.
const char* CaptureRotationName(CaptureRotation rotation);

// True for the rotations that leave the image as it is (identity and unspecified).
inline bool IsUprightRotation(CaptureRotation rotation) {
    return rotation == CaptureRotation::Unspecified || rotation == CaptureRotation::Identity;
}

// DXGI formats the CPU path copies (DXGI_FORMAT values); any other desktop format is refused.
inline constexpr uint32_t kCaptureFormatB8G8R8A8 = 87;
inline constexpr uint32_t kCaptureFormatB8G8R8X8 = 88;
inline bool IsCaptureBgraFormat(uint32_t format) {
    return format == kCaptureFormatB8G8R8A8 || format == kCaptureFormatB8G8R8X8;
}

// How the captured picture is described in the video frame header.
struct CaptureColorDescription {
    VideoColorMode colorMode = VideoColorMode::SdrBt709Nv12;
    VideoTransfer transfer = VideoTransfer::Bt709;
    uint32_t bitDepth = 8;
    uint32_t hdrFlags = kVideoHdrFlagsBase;
};

// SDR unless the desktop shows HDR and the HDR switch is on; the pixels stay SDR either way.
CaptureColorDescription CaptureColorFor(bool hdrDesktopActive);

// One captured picture: BGRA (4 bytes a pixel, rows packed) or NV12 (width * height * 3 / 2 bytes).
struct CapturedFrame {
    std::vector<uint8_t> bytes;
    int32_t width = 0;
    int32_t height = 0;
};
