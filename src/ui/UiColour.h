#pragma once

#include <cstdint>

// A colour of the painted windows, kept free of the GDI type so the core can choose it.
struct UiColour {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const UiColour&, const UiColour&) = default;
};
