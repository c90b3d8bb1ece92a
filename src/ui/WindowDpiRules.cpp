#include "ui/WindowDpiRules.h"

#include <algorithm>
#include <cstdio>

uint32_t ChooseWindowDpi(uint32_t windowDpi, uint32_t deviceDpi) {
    if (windowDpi != 0)
        return windowDpi;
    return deviceDpi != 0 ? deviceDpi : 96;
}

int32_t ScaleForDpi(int32_t value, uint32_t dpi) {
    return MulDivRounded(value, static_cast<int32_t>(dpi), 96);
}

double DpiScale(uint32_t dpi) {
    return static_cast<double>(dpi) / 96.0;
}

std::string FormatDpiLine(const char* label, const DpiLineFacts& f) {
    char text[512];
    int n = std::snprintf(text, sizeof text, "%s DPI=%u scale=%.3f client=%dx%d window=%dx%d",
                          label != nullptr ? label : "", static_cast<unsigned>(f.dpi), DpiScale(f.dpi),
                          f.clientWidth, f.clientHeight, f.windowWidth, f.windowHeight);
    std::string line(text, n > 0 ? std::min<size_t>(static_cast<size_t>(n), sizeof text - 1) : 0);
    if (f.work && f.monitor) {
        std::snprintf(text, sizeof text, " work=%ld,%ld,%ld,%ld monitor=%ld,%ld,%ld,%ld",
                      static_cast<long>(f.work->left), static_cast<long>(f.work->top),
                      static_cast<long>(f.work->right), static_cast<long>(f.work->bottom),
                      static_cast<long>(f.monitor->left), static_cast<long>(f.monitor->top),
                      static_cast<long>(f.monitor->right), static_cast<long>(f.monitor->bottom));
        line += text;
    }
    return line;
}
