#include "media/FrameCrop.h"

#include <cstring>

#include "core/Log.h"
#include "media/VideoLimits.h"

bool CropEvenBGRA(std::vector<uint8_t>& pixels, int32_t& width, int32_t& height, int32_t stride) {
    if (width < 2 || height < 2 || width > kMaxVideoDimension || height > kMaxVideoDimension || stride < 0)
        return false;
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    const size_t pitch = stride == 0 ? rowBytes : static_cast<size_t>(stride);
    if (pitch < rowBytes || pixels.size() < pitch * static_cast<size_t>(height - 1) + rowBytes)
        return false;

    const int32_t evenWidth = width & ~1;
    const int32_t evenHeight = height & ~1;
    const size_t evenRowBytes = static_cast<size_t>(evenWidth) * 4;
    if (evenWidth == width && evenHeight == height && pitch == rowBytes)
        return true;

    // Rows only move towards the front (evenRowBytes <= pitch), so one forward pass packs in place.
    for (int32_t y = 1; y < evenHeight; ++y)
        std::memmove(pixels.data() + evenRowBytes * static_cast<size_t>(y),
                     pixels.data() + pitch * static_cast<size_t>(y), evenRowBytes);
    pixels.resize(evenRowBytes * static_cast<size_t>(evenHeight));

    if (evenWidth != width || evenHeight != height)
        Log::Write("CropEvenBGRA %dx%d -> %dx%d", width, height, evenWidth, evenHeight);
    width = evenWidth;
    height = evenHeight;
    return true;
}
