#include "input/RemoteViewMapping.h"

#include <algorithm>

#include "input/AxisScale.h"
#include "input/HidQueueItem.h"

namespace {

int32_t ToInt(uint32_t v) {
    return static_cast<int32_t>(std::min<uint32_t>(v, 0x7FFFFFFFu));
}

int32_t MapAxis(int32_t client, int32_t size, int32_t remote) {
    const int64_t clamped = std::clamp<int64_t>(client, 0, static_cast<int64_t>(size) - 1);
    return static_cast<int32_t>(clamped * remote / size);
}

} // namespace

RemoteSize RemoteSizeFor(uint32_t desktopWidth, uint32_t desktopHeight, uint32_t streamWidth,
                         uint32_t streamHeight) {
    if (desktopWidth >= 1 && desktopHeight >= 1)
        return {ToInt(desktopWidth), ToInt(desktopHeight)};
    return {ToInt(streamWidth), ToInt(streamHeight)};
}

bool MapClientPointToRemote(int32_t clientWidth, int32_t clientHeight, RemoteSize remote, int32_t x,
                            int32_t y, int32_t& remoteX, int32_t& remoteY) {
    if (clientWidth < 1 || clientHeight < 1 || remote.width < 1 || remote.height < 1)
        return false;
    remoteX = MapAxis(x, clientWidth, remote.width);
    remoteY = MapAxis(y, clientHeight, remote.height);
    return true;
}

HidPoint MapClientPointToHidAbsolute(int32_t clientWidth, int32_t clientHeight, int32_t x, int32_t y) {
    return {ScaleAxisToRange(x, 0, clientWidth, kHidAbsoluteMax),
            ScaleAxisToRange(y, 0, clientHeight, kHidAbsoluteMax)};
}
