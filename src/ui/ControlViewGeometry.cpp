#include "ui/ControlViewGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

double ControlViewScaleFor(int32_t monitorHeight) {
    return std::clamp(static_cast<double>(monitorHeight) / 2160.0, 0.65, 1.0);
}

int32_t ScaleControlViewSize(int32_t design, double scale) {
    return static_cast<int32_t>(design * scale + 0.5);
}

ControlViewRect LayoutControlViewRect(int32_t clientWidth, int32_t clientHeight, double scale,
                                      double relativeX, double relativeY) {
    const int32_t margin = ScaleControlViewSize(16, scale);
    ControlViewRect r;
    r.width = ScaleControlViewSize(520, scale);
    r.height = ScaleControlViewSize(88, scale);
    if (clientWidth <= 2 * margin + r.width)
        r.width = clientWidth <= 2 * margin ? clientWidth : clientWidth - 2 * margin;
    r.x = static_cast<int32_t>(std::lround(clientWidth * relativeX - r.width / 2.0));
    r.y = static_cast<int32_t>(std::lround(clientHeight * relativeY - r.height / 2.0));
    ClampControlViewPosition(r.x, r.y, r.width, r.height, clientWidth, clientHeight, scale);
    return r;
}

namespace {

int32_t ClampAxis(int32_t position, int32_t size, int32_t client, int32_t margin) {
    const int32_t low = margin, high = client - margin - size;
    if (high < low)
        return (client - size) / 2;
    return std::clamp(position, low, high);
}

} // namespace

void ClampControlViewPosition(int32_t& x, int32_t& y, int32_t width, int32_t height, int32_t clientWidth,
                              int32_t clientHeight, double scale) {
    const int32_t margin = ScaleControlViewSize(8, scale);
    x = ClampAxis(x, width, clientWidth, margin);
    y = ClampAxis(y, height, clientHeight, margin);
}

bool ControlViewDragStarted(int32_t dx, int32_t dy, int32_t dragWidth, int32_t dragHeight) {
    return std::abs(dx) >= dragWidth || std::abs(dy) >= dragHeight;
}

double ControlViewRelativeCentre(int32_t position, int32_t size, int32_t clientSize) {
    if (clientSize <= 0)
        return 0.5;
    return std::clamp((position + size / 2.0) / clientSize, 0.0, 1.0);
}
