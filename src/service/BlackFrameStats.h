#pragma once

#include <cstddef>
#include <cstdint>

// How dark a captured BGRA frame is, from a grid of at most about 320 x 180 samples. Black frames (a desktop
// switch in progress) are never published.
struct BlackFrameStats {
    uint32_t maxRgb = 0;           // the largest max(B, G, R) of the samples
    uint32_t nonBlackPermille = 0; // share of samples with max(B, G, R) >= 3, for the log only
    bool black = true;             // no non-black sample
};

// pixels holds bufferSize bytes; rows are stride bytes apart. Any geometry that does not fit the buffer, or a
// width or height below 1, counts as black.
BlackFrameStats MeasureBlackFrame(const uint8_t* pixels, size_t bufferSize, int32_t width, int32_t height,
                                  int32_t stride);
