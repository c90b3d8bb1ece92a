#pragma once

#include <cstdint>
#include <optional>

struct WindowRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct WindowPlacement {
    int32_t x = 0, y = 0, width = 0, height = 0;
};

inline constexpr int32_t kMainWindowMinWidth = 640;
inline constexpr int32_t kMainWindowMinHeight = 360;
inline constexpr int32_t kMainWindowEdgeGap = 24;

// MulDiv as Windows does it: the 64-bit product divided with rounding half away from zero; -1 when the
// divisor is 0 or the result does not fit.
int32_t MulDivRounded(int32_t value, int32_t numerator, int32_t denominator);

// The first placement: 17/40 of the primary screen in each direction (at least 640 x 360), at the lower
// right of the work area 24 px from its edges, never left of or above it. Without a work area the whole
// screen stands in for it.
WindowPlacement InitialMainWindowPlacement(int32_t screenWidth, int32_t screenHeight,
                                           std::optional<WindowRect> workArea);
