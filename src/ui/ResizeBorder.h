#pragma once

#include <cstdint>

// The band along the main window's edges in which the main window's own resize cursor wins over the
// child's cursor. Window-rect (screen) coordinates; right and bottom are exclusive.
struct BorderRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// Padded border plus frame, plus 4, at least 10 pixels.
int32_t ResizeBandWidth(int32_t paddedBorder, int32_t frame);

// The point lies inside the window rect and within bandX of its left or right edge, or within bandY of its
// top or bottom edge.
bool IsPointInResizeBand(const BorderRect& window, int32_t x, int32_t y, int32_t bandX, int32_t bandY);
