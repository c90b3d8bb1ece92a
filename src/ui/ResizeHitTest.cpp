#include "ui/ResizeHitTest.h"

#include <algorithm>

bool IsBorderHit(int32_t hit) {
    return hit >= kHitLeft && hit <= kHitBottomRight;
}

uint32_t HitTestDpi(uint32_t windowDpi) {
    return windowDpi >= 72 && windowDpi <= 384 ? windowDpi : 96;
}

int32_t HitTestBand(uint32_t dpi, int32_t paddedBorder, int32_t sizeFrame) {
    const int32_t scaled = MulDivRounded(4, static_cast<int32_t>(dpi), 96);
    return std::min(32, scaled + std::max(paddedBorder + sizeFrame, 8));
}

int32_t CustomResizeHit(const WindowRect& window, ScreenPoint p, int32_t band) {
    if (p.x < window.left || p.x >= window.right || p.y < window.top || p.y >= window.bottom)
        return kHitNone;
    const bool left = p.x < window.left + band;
    const bool right = p.x >= window.right - band;
    if (p.y < window.top + band)
        return left ? kHitTopLeft : right ? kHitTopRight : kHitTop;
    if (p.y >= window.bottom - band)
        return left ? kHitBottomLeft : right ? kHitBottomRight : kHitBottom;
    if (left)
        return kHitLeft;
    if (right)
        return kHitRight;
    return kHitNone;
}
