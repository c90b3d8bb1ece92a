#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

// The 54 bytes in front of a 32-bit BGRA BMP: the file header and a BITMAPINFOHEADER with a negative height,
// so the rows follow top-down as captured.
inline constexpr size_t kBmpHeaderSize = 54;
using BmpHeaderBytes = std::array<uint8_t, kBmpHeaderSize>;

// Nothing when the width or height is below 1, the rows (stride bytes apart) overlap, or the file size does
// not fit the format's 32 bits.
std::optional<BmpHeaderBytes> BuildBmpHeader(int32_t width, int32_t height, int32_t stride);
