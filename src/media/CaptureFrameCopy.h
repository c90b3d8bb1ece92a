#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/CaptureTypes.h"
#include "media/GdiCaptureSize.h" // CaptureSize

// Turning a mapped desktop image into the picture the capture thread hands out. Pure functions: the
// Win32 side maps the staging texture and passes the bytes in.

// The CPU mode's output size: the logical size, or, when a maximum is given (both above 0) and the
// logical size exceeds it, the logical size scaled by the smaller of the two ratios, truncated, each side
// made even and kept at least 2. An unscaled size stays as it is, odd or not.
CaptureSize CaptureOutputSize(int32_t logicalWidth, int32_t logicalHeight, int32_t maxWidth,
                              int32_t maxHeight);

// A mapped desktop image in the duplication's own (unrotated) orientation.
struct DesktopImageView {
    const uint8_t* data = nullptr;
    size_t rowPitch = 0; // bytes from one row to the next
    int32_t width = 0;   // raw size
    int32_t height = 0;
    uint32_t format = 0; // kCaptureFormatB8G8R8A8 or kCaptureFormatB8G8R8X8
};

// Copies image into out (width * height * 4 bytes, rows packed) as an upright picture of the logical
// size scaled to the output size: each output pixel takes the nearest raw pixel through the rotation. An
// X8 source gets alpha 255. False, with out untouched, when a size is below 1 or above kMaxVideoDimension,
// the format is not BGRA, the pitch is shorter than a row, or the rotation is unknown.
bool CopyDesktopImage(const DesktopImageView& image, CaptureRotation rotation, int32_t logicalWidth,
                      int32_t logicalHeight, CaptureSize output, std::vector<uint8_t>& out);

// Copies a mapped NV12 texture of width x height (the UV plane starts height rows after the Y plane) into
// out: the Y plane, then the interleaved UV plane, rows packed (width * height * 3 / 2 bytes). False when a
// size is odd, below 2 or above kMaxVideoDimension, or the pitch is shorter than a row.
bool CopyNv12Planes(const uint8_t* data, size_t rowPitch, int32_t width, int32_t height,
                    std::vector<uint8_t>& out);
