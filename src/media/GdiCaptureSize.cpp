#include "media/GdiCaptureSize.h"

#include <algorithm>

namespace {

int32_t EvenAtLeastTwo(int64_t value) {
    return static_cast<int32_t>(std::max<int64_t>(value & ~int64_t{1}, 2));
}

} // namespace

CaptureSize GdiCaptureOutputSize(CaptureSize source, int32_t maxWidth, int32_t maxHeight) {
    const int64_t w = std::max(source.width, 1);
    const int64_t h = std::max(source.height, 1);
    if (maxWidth < 1 || maxHeight < 1 || (w <= maxWidth && h <= maxHeight))
        return {EvenAtLeastTwo(w), EvenAtLeastTwo(h)};

    // maxWidth / w <= maxHeight / h  <=>  maxWidth * h <= maxHeight * w: the width ratio is the smaller one.
    if (int64_t{maxWidth} * h <= int64_t{maxHeight} * w)
        return {EvenAtLeastTwo(maxWidth), EvenAtLeastTwo(h * maxWidth / w)};
    return {EvenAtLeastTwo(w * maxHeight / h), EvenAtLeastTwo(maxHeight)};
}
