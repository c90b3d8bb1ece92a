#pragma once

#include <cstdint>
#include <utility>
#include <vector>

// The drag overlay's glyph (a page with a folded corner and a green plus badge) as a list of GDI-style
// primitives in client coordinates, so the picture can be checked without a device context. Magenta is
// the colour key: those pixels are transparent on screen.

struct OverlayColor {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const OverlayColor&) const = default;
};

inline constexpr OverlayColor kOverlayColorKey{255, 0, 255};

struct OverlayPrimitive {
    enum class Kind {
        FillRect, // rect filled with fill, no outline
        Outline,  // rect outlined with a pen of penWidth in pen, not filled
        Ellipse,  // ellipse in rect, filled with fill, outlined with pen
        Polyline  // points joined with a pen
    };
    Kind kind = Kind::FillRect;
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    OverlayColor fill;
    OverlayColor pen;
    int32_t penWidth = 1;
    std::vector<std::pair<int32_t, int32_t>> points;
};

// The glyph for a client rect of the given size, drawn in order.
std::vector<OverlayPrimitive> DragOverlayPrimitives(int32_t width, int32_t height);
