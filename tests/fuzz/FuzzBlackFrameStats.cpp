// A frame geometry and pixels from the input: width, height and stride (i32 each) and a buffer size (u32)
// lead, the rest is the pixel buffer. Checks: the measurement never reads outside the buffer (ASan, on an
// exact-size copy), a geometry that does not fit is black with nothing measured, and the figures agree with
// each other (black exactly when the maximum is below 3; per mille at most 1000).
#include <cstdint>
#include <vector>

#include "FuzzChecks.h"
#include "core/LittleEndian.h"
#include "service/BlackFrameStats.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 16)
        return 0;
    const auto width = static_cast<int32_t>(GetLe32(data));
    const auto height = static_cast<int32_t>(GetLe32(data + 4));
    const auto stride = static_cast<int32_t>(GetLe32(data + 8));
    // The claimed buffer size never exceeds what is there.
    const size_t available = size - 16;
    const size_t bufferSize = available == 0 ? 0 : GetLe32(data + 12) % (available + 1);
    const std::vector<uint8_t> pixels(data + 16, data + 16 + bufferSize);

    const BlackFrameStats stats = MeasureBlackFrame(pixels.data(), pixels.size(), width, height, stride);
    const bool fits = width >= 1 && height >= 1 && stride >= 0 && uint64_t(stride) >= uint64_t(width) * 4 &&
                      uint64_t(stride) * uint64_t(height - 1) + uint64_t(width) * 4 <= bufferSize;
    if (!fits) {
        FuzzCheck(stats.black && stats.maxRgb == 0 && stats.nonBlackPermille == 0, "bad geometry measured");
        return 0;
    }
    FuzzCheck(stats.black == (stats.maxRgb < 3), "black disagrees with the maximum");
    FuzzCheck(stats.nonBlackPermille <= 1000, "per mille above 1000");
    FuzzCheck(stats.maxRgb <= 255, "maximum above a byte");
    FuzzCheck(!stats.black || stats.nonBlackPermille == 0, "black with lit samples");
    return 0;
}
