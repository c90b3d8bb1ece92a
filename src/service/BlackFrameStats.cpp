#include "service/BlackFrameStats.h"

#include <algorithm>

namespace {

constexpr uint32_t kNonBlackLevel = 3;
constexpr int32_t kSampleColumns = 320;
constexpr int32_t kSampleRows = 180;

} // namespace

BlackFrameStats MeasureBlackFrame(const uint8_t* pixels, size_t bufferSize, int32_t width, int32_t height,
                                  int32_t stride) {
    BlackFrameStats stats;
    if (pixels == nullptr || width < 1 || height < 1 || stride < 0)
        return stats;
    const uint64_t rowBytes = uint64_t(width) * 4;
    if (uint64_t(stride) < rowBytes || uint64_t(stride) * uint64_t(height - 1) + rowBytes > bufferSize)
        return stats;

    const int32_t stepX = std::max(1, width / kSampleColumns);
    const int32_t stepY = std::max(1, height / kSampleRows);
    uint64_t samples = 0;
    uint64_t nonBlack = 0;
    for (int64_t y = 0; y < height; y += stepY) {
        const uint8_t* row = pixels + y * stride;
        for (int64_t x = 0; x < width; x += stepX) {
            const uint8_t* bgra = row + x * 4;
            const uint32_t value = std::max({bgra[0], bgra[1], bgra[2]});
            stats.maxRgb = std::max(stats.maxRgb, value);
            ++samples;
            if (value >= kNonBlackLevel)
                ++nonBlack;
        }
    }
    stats.nonBlackPermille = static_cast<uint32_t>(nonBlack * 1000 / samples);
    // Black is decided by the samples themselves: on a large frame a few lit pixels round to 0 per mille.
    stats.black = nonBlack == 0;
    return stats;
}
