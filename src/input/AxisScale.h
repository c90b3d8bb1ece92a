#pragma once

#include <cstdint>

// One axis of an absolute pointer range: the pixel is clamped into [origin, origin + extent - 1], then the
// first pixel maps to 0 and the last to outMax, in 64-bit arithmetic. An axis of one pixel or less maps to
// 0 (there is nothing to divide by).
int32_t ScaleAxisToRange(int32_t pixel, int32_t origin, int32_t extent, int32_t outMax);
