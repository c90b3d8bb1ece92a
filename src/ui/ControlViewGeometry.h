#pragma once

#include <cstdint>

// Where ControlView, the big connect button, sits inside the main window, and how a drag moves it. Sizes
// are design sizes times the scale, rounded.

// clamp(monitor height / 2160, 0.65, 1.0): full size from a 4K-high monitor up, never below 0.65.
double ControlViewScaleFor(int32_t monitorHeight);
// design * scale, rounded half up.
int32_t ScaleControlViewSize(int32_t design, double scale);

// The button's centre as a share of the main window's client size, until the user drags it.
inline constexpr double kControlViewDefaultRelativeX = 0.5;
inline constexpr double kControlViewDefaultRelativeY = 0.75;

struct ControlViewRect {
    int32_t x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(const ControlViewRect&, const ControlViewRect&) = default;
};

// The window's place in a W x H client area: 520 x 88 (shrunk to the client width less the margins on a
// narrow window) centred on the relative point, then clamped.
ControlViewRect LayoutControlViewRect(int32_t clientWidth, int32_t clientHeight, double scale,
                                      double relativeX, double relativeY);
// Keeps a width x height window 8 s inside the client area; an axis too small for that centres it.
void ClampControlViewPosition(int32_t& x, int32_t& y, int32_t width, int32_t height, int32_t clientWidth,
                              int32_t clientHeight, double scale);

// A press turns into a drag once the cursor has moved the system drag distance on either axis.
bool ControlViewDragStarted(int32_t dx, int32_t dy, int32_t dragWidth, int32_t dragHeight);
// The share (0..1) of the client size at which a window at position with this size has its centre. The
// caller stores it only for a non-empty client area; an empty one gives the middle.
double ControlViewRelativeCentre(int32_t position, int32_t size, int32_t clientSize);
