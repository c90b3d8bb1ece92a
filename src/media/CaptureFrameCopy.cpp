#include "media/CaptureFrameCopy.h"

#include <algorithm>
#include <cstring>

#include "media/VideoLimits.h"

namespace {

bool ValidSide(int32_t side) {
    return side >= 1 && side <= kMaxVideoDimension;
}

int32_t EvenAtLeastTwo(int64_t side) {
    return std::max<int32_t>(2, static_cast<int32_t>(side) & ~1);
}

// Offsets of the raw pixel that output pixel (x, y) reads, split into a part that depends on the output row
// and one that depends on the output column, so the inner loop is a table look-up.
struct SourceOffsets {
    std::vector<size_t> byRow;
    std::vector<size_t> byColumn;
};

int32_t Clamp(int64_t value, int32_t size) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, 0, size - 1));
}

SourceOffsets MapOutputToRaw(const DesktopImageView& image, CaptureRotation rotation, int32_t logicalWidth,
                             int32_t logicalHeight, CaptureSize output) {
    const int64_t rawWidth = image.width;
    const int64_t rawHeight = image.height;
    SourceOffsets offsets;
    offsets.byRow.resize(static_cast<size_t>(output.height));
    offsets.byColumn.resize(static_cast<size_t>(output.width));
    for (int32_t y = 0; y < output.height; ++y) {
        const int64_t logicalRow = int64_t{y} * logicalHeight / output.height;
        size_t offset = 0;
        switch (rotation) {
        case CaptureRotation::Rotate90: // output row y reads raw column u
            offset = size_t(Clamp(logicalRow * rawWidth / logicalHeight, image.width)) * 4;
            break;
        case CaptureRotation::Rotate270: // raw column rawWidth - 1 - u
            offset = size_t(Clamp(rawWidth - 1 - logicalRow * rawWidth / logicalHeight, image.width)) * 4;
            break;
        case CaptureRotation::Rotate180:
            offset = size_t(Clamp(rawHeight - 1 - logicalRow * rawHeight / logicalHeight, image.height)) *
                     image.rowPitch;
            break;
        default:
            offset = size_t(Clamp(logicalRow * rawHeight / logicalHeight, image.height)) * image.rowPitch;
            break;
        }
        offsets.byRow[size_t(y)] = offset;
    }
    for (int32_t x = 0; x < output.width; ++x) {
        const int64_t logicalColumn = int64_t{x} * logicalWidth / output.width;
        size_t offset = 0;
        switch (rotation) {
        case CaptureRotation::Rotate90: // output column x reads raw row rawHeight - 1 - t
            offset = size_t(Clamp(rawHeight - 1 - logicalColumn * rawHeight / logicalWidth, image.height)) *
                     image.rowPitch;
            break;
        case CaptureRotation::Rotate270: // raw row t
            offset = size_t(Clamp(logicalColumn * rawHeight / logicalWidth, image.height)) * image.rowPitch;
            break;
        case CaptureRotation::Rotate180:
            offset = size_t(Clamp(rawWidth - 1 - logicalColumn * rawWidth / logicalWidth, image.width)) * 4;
            break;
        default:
            offset = size_t(Clamp(logicalColumn * rawWidth / logicalWidth, image.width)) * 4;
            break;
        }
        offsets.byColumn[size_t(x)] = offset;
    }
    return offsets;
}

} // namespace

CaptureSize CaptureOutputSize(int32_t logicalWidth, int32_t logicalHeight, int32_t maxWidth,
                              int32_t maxHeight) {
    if (maxWidth <= 0 || maxHeight <= 0 || logicalWidth <= 0 || logicalHeight <= 0 ||
        (logicalWidth <= maxWidth && logicalHeight <= maxHeight))
        return {logicalWidth, logicalHeight};
    // Exact rational arithmetic: scale by maxWidth / width when that ratio is the smaller one.
    const int64_t w = logicalWidth;
    const int64_t h = logicalHeight;
    if (int64_t{maxWidth} * h <= int64_t{maxHeight} * w)
        return {EvenAtLeastTwo(maxWidth), EvenAtLeastTwo(h * maxWidth / w)};
    return {EvenAtLeastTwo(w * maxHeight / h), EvenAtLeastTwo(maxHeight)};
}

bool CopyDesktopImage(const DesktopImageView& image, CaptureRotation rotation, int32_t logicalWidth,
                      int32_t logicalHeight, CaptureSize output, std::vector<uint8_t>& out) {
    if (image.data == nullptr || !IsCaptureBgraFormat(image.format) || !ValidSide(image.width) ||
        !ValidSide(image.height) || !ValidSide(logicalWidth) || !ValidSide(logicalHeight) ||
        !ValidSide(output.width) || !ValidSide(output.height) || image.rowPitch < size_t(image.width) * 4 ||
        static_cast<uint32_t>(rotation) > static_cast<uint32_t>(CaptureRotation::Rotate270))
        return false;

    const size_t outRow = size_t(output.width) * 4;
    out.resize(outRow * size_t(output.height));
    uint8_t* dst = out.data();
    const bool straight = IsUprightRotation(rotation) && output.width == logicalWidth &&
                          output.height == logicalHeight && image.width == logicalWidth &&
                          image.height == logicalHeight;
    if (straight) {
        for (int32_t y = 0; y < output.height; ++y)
            std::memcpy(dst + size_t(y) * outRow, image.data + size_t(y) * image.rowPitch, outRow);
    } else {
        const SourceOffsets offsets = MapOutputToRaw(image, rotation, logicalWidth, logicalHeight, output);
        for (int32_t y = 0; y < output.height; ++y) {
            const uint8_t* row = image.data + offsets.byRow[size_t(y)];
            uint8_t* target = dst + size_t(y) * outRow;
            for (int32_t x = 0; x < output.width; ++x)
                std::memcpy(target + size_t(x) * 4, row + offsets.byColumn[size_t(x)], 4);
        }
    }
    if (image.format == kCaptureFormatB8G8R8X8) {
        for (size_t i = 3; i < out.size(); i += 4)
            out[i] = 255;
    }
    return true;
}

bool CopyNv12Planes(const uint8_t* data, size_t rowPitch, int32_t width, int32_t height,
                    std::vector<uint8_t>& out) {
    if (data == nullptr || width < 2 || height < 2 || width > kMaxVideoDimension ||
        height > kMaxVideoDimension || (width & 1) != 0 || (height & 1) != 0 || rowPitch < size_t(width))
        return false;
    const size_t row = size_t(width);
    const size_t rows = size_t(height) + size_t(height) / 2;
    out.resize(row * rows);
    // The UV plane follows the Y plane's height rows in the mapped texture, so every row is rowPitch apart.
    for (size_t y = 0; y < rows; ++y)
        std::memcpy(out.data() + y * row, data + y * rowPitch, row);
    return true;
}
