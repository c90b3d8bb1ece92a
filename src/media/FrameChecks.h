#pragma once

#include <cstdint>
#include <vector>

// Black-picture tests of the session run bodies. Both sample a sparse grid: every (height / 36)-th row when
// the height is above 36, else every row; every (width / 64)-th column when the width is above 64, else
// every column. The picture is black when at least 98 per cent of the samples are dark.
//
// stride is the number of bytes from one row to the next; 0 means tightly packed (width * 4 for BGRA,
// width for luma). False when a size is below 1, the stride is shorter than a row, or the buffer does
// not hold every row.

// Dark: blue, green and red all below 10 (alpha ignored).
bool IsBlackFrameBGRA(const std::vector<uint8_t>& pixels, int32_t width, int32_t height, int32_t stride = 0);
// Dark: luma below 16 (the luma plane of an NV12 picture).
bool IsBlackFrameLuma(const std::vector<uint8_t>& luma, int32_t width, int32_t height, int32_t stride = 0);
