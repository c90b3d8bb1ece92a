#include "media/FrameChecks.h"

namespace {

constexpr int32_t kRowSamples = 36;
constexpr int32_t kColumnSamples = 64;
constexpr uint64_t kBlackPercent = 98;

// Dark test of one sample at its first byte.
using DarkTest = bool (*)(const uint8_t* sample);

bool IsBlackFrame(const std::vector<uint8_t>& buffer, int32_t width, int32_t height, int32_t stride,
                  uint32_t bytesPerPixel, DarkTest isDark) {
    if (width < 1 || height < 1 || stride < 0)
        return false;
    const uint64_t rowBytes = static_cast<uint64_t>(width) * bytesPerPixel;
    const uint64_t pitch = stride == 0 ? rowBytes : static_cast<uint64_t>(stride);
    if (pitch < rowBytes)
        return false;
    // The last row needs only its own pixels, not a whole stride.
    const uint64_t needed = pitch * static_cast<uint64_t>(height - 1) + rowBytes;
    if (buffer.size() < needed)
        return false;

    const int32_t rowStep = height > kRowSamples ? height / kRowSamples : 1;
    const int32_t columnStep = width > kColumnSamples ? width / kColumnSamples : 1;
    uint64_t samples = 0;
    uint64_t dark = 0;
    for (int32_t y = 0; y < height; y += rowStep) {
        const uint8_t* row = buffer.data() + pitch * static_cast<uint64_t>(y);
        for (int32_t x = 0; x < width; x += columnStep) {
            ++samples;
            if (isDark(row + static_cast<uint64_t>(x) * bytesPerPixel))
                ++dark;
        }
    }
    return samples > 0 && dark * 100 >= samples * kBlackPercent;
}

bool IsDarkBgra(const uint8_t* p) {
    return p[0] < 10 && p[1] < 10 && p[2] < 10;
}

bool IsDarkLuma(const uint8_t* p) {
    return p[0] < 16;
}

} // namespace

bool IsBlackFrameBGRA(const std::vector<uint8_t>& pixels, int32_t width, int32_t height, int32_t stride) {
    return IsBlackFrame(pixels, width, height, stride, 4, &IsDarkBgra);
}

bool IsBlackFrameLuma(const std::vector<uint8_t>& luma, int32_t width, int32_t height, int32_t stride) {
    return IsBlackFrame(luma, width, height, stride, 1, &IsDarkLuma);
}
