#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ui/MainWindowGeometry.h"

// The window's DPI from what the system offers: GetDpiForWindow's answer when it gave one, else the
// device's logical pixels per inch, else 96.
uint32_t ChooseWindowDpi(uint32_t windowDpi, uint32_t deviceDpi);

// value designed at 96 DPI, at dpi (rounded like MulDiv).
int32_t ScaleForDpi(int32_t value, uint32_t dpi);
double DpiScale(uint32_t dpi);

struct DpiLineFacts {
    uint32_t dpi = 96;
    int32_t clientWidth = 0, clientHeight = 0;
    int32_t windowWidth = 0, windowHeight = 0;
    // The nearest monitor's work area and rectangle, when known.
    std::optional<WindowRect> work;
    std::optional<WindowRect> monitor;
};

// "<label> DPI=.. scale=.. client=WxH window=WxH", with " work=l,t,r,b monitor=l,t,r,b" when the monitor
// is known.
std::string FormatDpiLine(const char* label, const DpiLineFacts& facts);
