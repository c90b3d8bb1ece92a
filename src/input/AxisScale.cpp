#include "input/AxisScale.h"

#include <algorithm>

int32_t ScaleAxisToRange(int32_t pixel, int32_t origin, int32_t extent, int32_t outMax) {
    if (extent <= 1)
        return 0;
    const int64_t first = origin;
    const int64_t last = first + extent - 1;
    const int64_t clamped = std::clamp<int64_t>(pixel, first, last);
    return static_cast<int32_t>((clamped - first) * outMax / (extent - 1));
}
