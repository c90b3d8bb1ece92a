#include "ui/MainWindowGeometry.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

int32_t MulDivRounded(int32_t value, int32_t numerator, int32_t denominator) {
    if (denominator == 0)
        return -1;
    int64_t product = static_cast<int64_t>(value) * numerator;
    bool negative = (product < 0) != (denominator < 0);
    uint64_t magnitude = static_cast<uint64_t>(std::llabs(product));
    uint64_t divisor = static_cast<uint64_t>(std::llabs(static_cast<int64_t>(denominator)));
    uint64_t quotient = (magnitude + divisor / 2) / divisor;
    if (quotient > static_cast<uint64_t>(std::numeric_limits<int32_t>::max()))
        return -1;
    return negative ? -static_cast<int32_t>(quotient) : static_cast<int32_t>(quotient);
}

WindowPlacement InitialMainWindowPlacement(int32_t screenWidth, int32_t screenHeight,
                                           std::optional<WindowRect> workArea) {
    WindowPlacement p;
    p.width = std::max(MulDivRounded(screenWidth, 17, 40), kMainWindowMinWidth);
    p.height = std::max(MulDivRounded(screenHeight, 17, 40), kMainWindowMinHeight);
    WindowRect work = workArea.value_or(WindowRect{0, 0, screenWidth, screenHeight});
    p.x = std::max(work.right - p.width - kMainWindowEdgeGap, work.left);
    p.y = std::max(work.bottom - p.height - kMainWindowEdgeGap, work.top);
    return p;
}
