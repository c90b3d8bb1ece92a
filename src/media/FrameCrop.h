#pragma once

#include <cstdint>
#include <vector>

// Both encoders take only even picture sizes, and a desktop (or a rotated or scaled capture) can be odd.
// CropEvenBGRA drops the last column and/or row of an odd-sized BGRA picture in place and logs
// "CropEvenBGRA %dx%d -> %dx%d"; even sizes are left alone.
//
// stride: bytes from one row to the next in pixels, 0 = tightly packed (width * 4). On success the picture
// is tightly packed at its new size (padded rows are packed too, also when both sizes are even). False,
// with nothing changed, when a size is below 2 or above kMaxVideoDimension, the stride is shorter than a
// row, or the buffer does not hold every row.
bool CropEvenBGRA(std::vector<uint8_t>& pixels, int32_t& width, int32_t& height, int32_t stride = 0);
