#include "media/AudioSamples.h"

#include <algorithm>
#include <cmath>

int32_t ScaleToIntegerSample(double value, uint32_t bits) {
    if (std::isnan(value))
        return 0;
    const double v = std::clamp(value, -1.0, 1.0);
    const double negativeScale = static_cast<double>(int64_t{1} << (std::clamp(bits, 2u, 32u) - 1));
    const double scaled = v >= 0.0 ? v * (negativeScale - 1.0) + 0.5 : v * negativeScale - 0.5;
    return static_cast<int32_t>(std::trunc(scaled));
}

float Pcm16ToValue(int16_t sample) {
    return sample >= 0 ? static_cast<float>(sample) / 32767.0f
                       : static_cast<float>(sample) * (1.0f / 32768.0f);
}
