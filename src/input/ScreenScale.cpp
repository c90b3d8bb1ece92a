#include "input/ScreenScale.h"

#include <algorithm>

namespace {

constexpr int32_t kDefaultDpi = 96;
constexpr int32_t kFullPercent = 100;
constexpr int32_t kMinControlUiPercent = 65;
constexpr int64_t kReferenceScreenHeight = 2160;

uint32_t SizeOrZero(int32_t size) {
    return size < 0 ? 0u : static_cast<uint32_t>(size);
}

} // namespace

int32_t EffectiveDpi(int32_t windowDpi, int32_t deviceDpi) {
    if (windowDpi > 0)
        return windowDpi;
    return deviceDpi > 0 ? deviceDpi : kDefaultDpi;
}

int32_t DpiScalePercent(int32_t dpi) {
    // 64-bit: a nonsense DPI from a driver must not overflow into a negative percentage.
    const int64_t percent = (static_cast<int64_t>(dpi) * 100 + kDefaultDpi / 2) / kDefaultDpi;
    return static_cast<int32_t>(std::clamp<int64_t>(percent, INT32_MIN, INT32_MAX));
}

int32_t ControlUiScalePercent(int32_t screenHeight) {
    if (screenHeight <= 0)
        return kFullPercent;
    const int64_t percent =
        (static_cast<int64_t>(screenHeight) * 100 + kReferenceScreenHeight / 2) / kReferenceScreenHeight;
    return static_cast<int32_t>(std::clamp<int64_t>(percent, kMinControlUiPercent, kFullPercent));
}

ScreenScaleState MeasureScreenScale(int32_t screenWidth, int32_t screenHeight, int32_t windowDpi,
                                    int32_t deviceDpi) {
    // EffectiveDpi is at least 1, so both percentages are too.
    const int32_t dpi = EffectiveDpi(windowDpi, deviceDpi);
    ScreenScaleState state;
    state.screenWidth = SizeOrZero(screenWidth);
    state.screenHeight = SizeOrZero(screenHeight);
    state.dpi = static_cast<uint32_t>(dpi);
    state.dpiScalePercent = static_cast<uint32_t>(DpiScalePercent(dpi));
    state.controlUiScalePercent = static_cast<uint32_t>(ControlUiScalePercent(screenHeight));
    return state;
}
