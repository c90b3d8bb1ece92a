#pragma once

#include <array>
#include <cstdint>

// RemoteView's drag cursor, 32x32 with its hotspot at (1, 1): a black arrow with a white inner edge, a
// light page and a green badge with a white plus at the bottom right. Top-down rows of 0xAARRGGBB; 0 is
// transparent.
inline constexpr int kDragCursorSize = 32;
inline constexpr int kDragCursorHotspot = 1;

std::array<uint32_t, kDragCursorSize * kDragCursorSize> DragCursorPixels();
