#include "dragdrop/VirtualScreenGeometry.h"

#include <algorithm>

namespace {

int32_t Clamp(int64_t value, int64_t low, int64_t high) {
    return static_cast<int32_t>(std::clamp(value, low, std::max(low, high)));
}

bool IsHorizontal(int32_t mode) {
    return mode == kVirtualScreenLeft || mode == kVirtualScreenRight;
}

// value's offset along [from, from + extent) scaled to [0, target), limited to 0..target-1.
int32_t ScaleAxis(int32_t value, int32_t from, int32_t extent, int32_t target) {
    const int64_t scaled = (static_cast<int64_t>(value) - from) * target / std::max(extent, 1);
    return Clamp(scaled, 0, static_cast<int64_t>(target) - 1);
}

} // namespace

int32_t ClampVirtualScreenMode(int64_t mode) {
    return mode >= kVirtualScreenLeft && mode <= kVirtualScreenBottom ? static_cast<int32_t>(mode)
                                                                      : kVirtualScreenOff;
}

ScreenRect DesktopRectFrom(int32_t virtualLeft, int32_t virtualTop, int32_t virtualWidth,
                           int32_t virtualHeight, int32_t primaryWidth, int32_t primaryHeight) {
    if (virtualWidth > 0 && virtualHeight > 0)
        return {virtualLeft, virtualTop, virtualLeft + virtualWidth, virtualTop + virtualHeight};
    return {0, 0, primaryWidth, primaryHeight};
}

bool IsPointAtVirtualEdge(const ScreenRect& d, ScreenPoint p, int32_t mode, int32_t margin) {
    const bool alongY = p.y >= d.top && p.y < d.bottom;
    const bool alongX = p.x >= d.left && p.x < d.right;
    switch (mode) {
    case kVirtualScreenLeft:
        return alongY && static_cast<int64_t>(p.x) <= static_cast<int64_t>(d.left) + margin;
    case kVirtualScreenRight:
        return alongY && static_cast<int64_t>(p.x) >= static_cast<int64_t>(d.right) - margin;
    case kVirtualScreenTop:
        return alongX && static_cast<int64_t>(p.y) <= static_cast<int64_t>(d.top) + margin;
    case kVirtualScreenBottom:
        return alongX && static_cast<int64_t>(p.y) >= static_cast<int64_t>(d.bottom) - margin;
    default:
        return false;
    }
}

RemoteScreenSize VirtualScreenRemoteSize(uint32_t desktopWidth, uint32_t desktopHeight, uint32_t streamWidth,
                                         uint32_t streamHeight) {
    uint32_t width = streamWidth, height = streamHeight;
    if (desktopWidth >= 1 && desktopHeight >= 1)
        width = desktopWidth, height = desktopHeight;
    const auto axis = [](uint32_t value, int32_t fallback) {
        return value >= 1 ? static_cast<int32_t>(std::min<uint32_t>(value, INT32_MAX)) : fallback;
    };
    return {axis(width, 1920), axis(height, 1080)};
}

ScreenPoint ClampToRemote(ScreenPoint p, RemoteScreenSize size) {
    return {Clamp(p.x, 0, static_cast<int64_t>(size.width) - 1),
            Clamp(p.y, 0, static_cast<int64_t>(size.height) - 1)};
}

ScreenPoint RemoteCursorForEntry(int32_t mode, ScreenPoint local, const ScreenRect& d,
                                 RemoteScreenSize size) {
    ScreenPoint remote;
    if (IsHorizontal(mode)) {
        remote.x = mode == kVirtualScreenLeft ? size.width - 1 : 0;
        remote.y = ScaleAxis(local.y, d.top, d.bottom - d.top, size.height);
    } else {
        remote.x = ScaleAxis(local.x, d.left, d.right - d.left, size.width);
        remote.y = mode == kVirtualScreenTop ? size.height - 1 : 0;
    }
    return ClampToRemote(remote, size);
}

ScreenPoint PinPointForEntry(int32_t mode, ScreenPoint local, const ScreenRect& d) {
    ScreenPoint pin{Clamp(local.x, d.left, static_cast<int64_t>(d.right) - 1),
                    Clamp(local.y, d.top, static_cast<int64_t>(d.bottom) - 1)};
    switch (mode) {
    case kVirtualScreenLeft:
        pin.x = d.left;
        break;
    case kVirtualScreenRight:
        pin.x = d.right - 1;
        break;
    case kVirtualScreenTop:
        pin.y = d.top;
        break;
    case kVirtualScreenBottom:
        pin.y = d.bottom - 1;
        break;
    default:
        break;
    }
    return pin;
}

ScreenPoint RestorePointForLeave(int32_t mode, ScreenPoint pin, const ScreenRect& d) {
    ScreenPoint restore = pin;
    switch (mode) {
    case kVirtualScreenLeft:
        restore.x = d.left + kRestoreInset;
        break;
    case kVirtualScreenRight:
        restore.x = d.right - kRestoreInset - 1;
        break;
    case kVirtualScreenTop:
        restore.y = d.top + kRestoreInset;
        break;
    case kVirtualScreenBottom:
        restore.y = d.bottom - kRestoreInset - 1;
        break;
    default:
        break;
    }
    return {Clamp(restore.x, d.left, static_cast<int64_t>(d.right) - 1),
            Clamp(restore.y, d.top, static_cast<int64_t>(d.bottom) - 1)};
}

ScreenRect EdgeStrip(int32_t mode, const ScreenRect& d) {
    ScreenRect strip = d;
    switch (mode) {
    case kVirtualScreenLeft:
        strip.right = d.left + kDropMargin;
        break;
    case kVirtualScreenRight:
        strip.left = d.right - kDropMargin;
        break;
    case kVirtualScreenTop:
        strip.bottom = d.top + kDropMargin;
        break;
    case kVirtualScreenBottom:
        strip.top = d.bottom - kDropMargin;
        break;
    default:
        return {};
    }
    strip.right = std::max(strip.right, strip.left + 1);
    strip.bottom = std::max(strip.bottom, strip.top + 1);
    return strip;
}

bool IsOutwardMotion(int32_t mode, int32_t dx, int32_t dy) {
    switch (mode) {
    case kVirtualScreenLeft:
        return dx < 0;
    case kVirtualScreenRight:
        return dx > 0;
    case kVirtualScreenTop:
        return dy < 0;
    case kVirtualScreenBottom:
        return dy > 0;
    default:
        return false;
    }
}

bool IsBackToLocal(int32_t mode, int64_t x, int64_t y, RemoteScreenSize size) {
    switch (mode) {
    case kVirtualScreenLeft:
        return x >= static_cast<int64_t>(size.width) + kReturnOvershoot;
    case kVirtualScreenRight:
        return x < -kReturnOvershoot;
    case kVirtualScreenTop:
        return y >= static_cast<int64_t>(size.height) + kReturnOvershoot;
    case kVirtualScreenBottom:
        return y < -kReturnOvershoot;
    default:
        return false;
    }
}
