#include "ui/ResizeBorder.h"

#include <algorithm>

int32_t ResizeBandWidth(int32_t paddedBorder, int32_t frame) {
    return std::max(paddedBorder + frame + 4, 10);
}

bool IsPointInResizeBand(const BorderRect& window, int32_t x, int32_t y, int32_t bandX, int32_t bandY) {
    if (x < window.left || x >= window.right || y < window.top || y >= window.bottom)
        return false;
    return x < window.left + bandX || x >= window.right - bandX || y < window.top + bandY ||
           y >= window.bottom - bandY;
}
