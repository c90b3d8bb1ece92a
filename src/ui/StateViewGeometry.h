#pragma once

#include <cstdint>

// Where the StateView panel sits: at the top right of the main window's client area with an 8-px margin,
// a third of the client width (340..460 px) and 456 px high, shrinking on a small window.
struct StateViewRect {
    int32_t x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(const StateViewRect&, const StateViewRect&) = default;
};

StateViewRect LayoutStateViewRect(int32_t clientWidth, int32_t clientHeight);
