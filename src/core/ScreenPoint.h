#pragma once

#include <cstdint>

// A point in screen (virtual-desktop) pixels.
struct ScreenPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const ScreenPoint&) const = default;
};
