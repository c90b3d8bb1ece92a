#pragma once

#include <cstdint>

#include "core/ScreenPoint.h"
#include "ui/MainWindowGeometry.h"

// The main window's border codes: the system's own hit-test values, so they pass through WM_NCHITTEST and
// WM_SETCURSOR unchanged. 0 is the inside (or outside) of the window.
inline constexpr int32_t kHitNone = 0;
inline constexpr int32_t kHitLeft = 10;
inline constexpr int32_t kHitRight = 11;
inline constexpr int32_t kHitTop = 12;
inline constexpr int32_t kHitTopLeft = 13;
inline constexpr int32_t kHitTopRight = 14;
inline constexpr int32_t kHitBottom = 15;
inline constexpr int32_t kHitBottomLeft = 16;
inline constexpr int32_t kHitBottomRight = 17;

bool IsBorderHit(int32_t hit);

// The DPI the hit test works at: the window's own when it is plausible (72..384), else 96.
uint32_t HitTestDpi(uint32_t windowDpi);

// The width of the grab band along every edge: 4 px scaled to the DPI, plus the system frame (padded border
// plus sizing frame, at least 8), never more than 32 px so that the band does not eat into the picture.
int32_t HitTestBand(uint32_t dpi, int32_t paddedBorder, int32_t sizeFrame);

// The border code of point in window (screen coordinates; right and bottom exclusive): corners where two
// bands meet, else the edge, else 0; 0 also outside the window.
int32_t CustomResizeHit(const WindowRect& window, ScreenPoint point, int32_t band);
