#include "ui/CustomResizeRect.h"

#include <cstdint>

namespace {

bool MovesLeft(int32_t hit) {
    return hit == kHitLeft || hit == kHitTopLeft || hit == kHitBottomLeft;
}
bool MovesRight(int32_t hit) {
    return hit == kHitRight || hit == kHitTopRight || hit == kHitBottomRight;
}
bool MovesTop(int32_t hit) {
    return hit == kHitTop || hit == kHitTopLeft || hit == kHitTopRight;
}
bool MovesBottom(int32_t hit) {
    return hit == kHitBottom || hit == kHitBottomLeft || hit == kHitBottomRight;
}

// 64-bit arithmetic: a cursor far off a huge virtual desktop cannot overflow an edge.
int32_t Shift(int32_t edge, int64_t delta) {
    const int64_t v = edge + delta;
    return static_cast<int32_t>(v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : v);
}

} // namespace

WindowRect CustomResizeRect(int32_t hit, const WindowRect& start, ScreenPoint startCursor,
                            ScreenPoint cursor) {
    WindowRect r = start;
    if (!IsBorderHit(hit))
        return r;
    const int64_t dx = static_cast<int64_t>(cursor.x) - startCursor.x;
    const int64_t dy = static_cast<int64_t>(cursor.y) - startCursor.y;
    if (MovesLeft(hit))
        r.left = Shift(r.left, dx);
    if (MovesRight(hit))
        r.right = Shift(r.right, dx);
    if (MovesTop(hit))
        r.top = Shift(r.top, dy);
    if (MovesBottom(hit))
        r.bottom = Shift(r.bottom, dy);
    if (static_cast<int64_t>(r.right) - r.left < kMainWindowMinWidth) {
        if (MovesLeft(hit))
            r.left = Shift(r.right, -kMainWindowMinWidth);
        else
            r.right = Shift(r.left, kMainWindowMinWidth);
    }
    if (static_cast<int64_t>(r.bottom) - r.top < kMainWindowMinHeight) {
        if (MovesTop(hit))
            r.top = Shift(r.bottom, -kMainWindowMinHeight);
        else
            r.bottom = Shift(r.top, kMainWindowMinHeight);
    }
    return r;
}
