#pragma once

#include <cstdint>

// The size and scaling of the screen that shows the main window, as the screen-scale monitor keeps them.
struct ScreenScaleState {
    uint32_t screenWidth = 0;
    uint32_t screenHeight = 0;
    uint32_t dpi = 96;
    uint32_t dpiScalePercent = 100;
    uint32_t controlUiScalePercent = 100;
};

// The window's DPI when the system gave one (above 0), else the device context's, else 96: never below 1.
int32_t EffectiveDpi(int32_t windowDpi, int32_t deviceDpi);
// dpi as a percentage of 96, rounded.
int32_t DpiScalePercent(int32_t dpi);
// The screen height as a percentage of 2160 lines, rounded and clamped to 65..100; 100 for a height that
// is not positive. ControlView scales its sizes by it.
int32_t ControlUiScalePercent(int32_t screenHeight);

// The five values of one measurement, in the form readers see them: a negative size as 0.
ScreenScaleState MeasureScreenScale(int32_t screenWidth, int32_t screenHeight, int32_t windowDpi,
                                    int32_t deviceDpi);
