#include "ui/DragCursorPixels.h"

namespace {

constexpr uint32_t kBlack = 0xFF000000, kWhite = 0xFFFFFFFF;
constexpr uint32_t kPageFill = 0xFFF7F7F7, kPageLine = 0xFF555555, kTextLine = 0xFFB8B8B8,
                   kShade = 0xFFE4E4E4;
constexpr uint32_t kBadge = 0xFF1AA03A;

struct Canvas {
    std::array<uint32_t, kDragCursorSize * kDragCursorSize> px{};
    void Set(int x, int y, uint32_t c) {
        if (x >= 0 && x < kDragCursorSize && y >= 0 && y < kDragCursorSize)
            px[y * kDragCursorSize + x] = c;
    }
    void Fill(int l, int t, int r, int b, uint32_t c) { // right and bottom exclusive
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x)
                Set(x, y, c);
    }
};

} // namespace

std::array<uint32_t, kDragCursorSize * kDragCursorSize> DragCursorPixels() {
    Canvas c;

    // The page, behind the arrow's tail: fill, outline, a shaded folded corner and two text lines.
    c.Fill(12, 9, 26, 27, kPageFill);
    c.Fill(21, 9, 26, 14, kShade);
    for (int x = 12; x < 26; ++x)
        c.Set(x, 9, kPageLine), c.Set(x, 26, kPageLine);
    for (int y = 9; y < 27; ++y)
        c.Set(12, y, kPageLine), c.Set(25, y, kPageLine);
    for (int i = 0; i < 5; ++i)
        c.Set(21, 9 + i, kPageLine), c.Set(21 + i, 13, kPageLine);
    c.Fill(15, 17, 23, 18, kTextLine);
    c.Fill(15, 20, 21, 21, kTextLine);

    // The arrow: rows widen by two pixels every three rows from the hotspot; its left and top inner edge
    // is white so it stays visible on a black picture.
    for (int y = 1; y <= 17; ++y) {
        const int width = 1 + (y - 1) * 2 / 3;
        for (int x = 1; x <= width; ++x)
            c.Set(x, y, kBlack);
        if (y >= 3 && width >= 3)
            c.Set(2, y, kWhite);
    }
    for (int x = 2; x <= 3; ++x)
        c.Set(x, 4, kWhite);

    // The badge with its plus.
    c.Fill(20, 20, 31, 31, kBadge);
    c.Fill(25, 22, 26, 29, kWhite);
    c.Fill(22, 25, 29, 26, kWhite);
    return c.px;
}
