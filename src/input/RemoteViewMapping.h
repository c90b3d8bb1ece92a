#pragma once

#include <cstdint>

#include "input/HidQueueItem.h"

// Client pixels of a window that shows the peer's desktop stretched over its client area, to the peer's
// desktop pixels.

struct RemoteSize {
    int32_t width = 0;
    int32_t height = 0;
};

// The peer's desktop size, or the stream size while the desktop size is not known yet.
RemoteSize RemoteSizeFor(uint32_t desktopWidth, uint32_t desktopHeight, uint32_t streamWidth,
                         uint32_t streamHeight);

// False for an empty client area or an unknown remote size. The client point is clamped into the client
// area first, so a point dragged outside maps to the nearest edge pixel; then scaled per axis, truncated.
bool MapClientPointToRemote(int32_t clientWidth, int32_t clientHeight, RemoteSize remote, int32_t x,
                            int32_t y, int32_t& remoteX, int32_t& remoteY);

// Client pixels to the cable's absolute mouse range 0..4096, per axis: the coordinate clamped into the client
// area, then its first pixel maps to 0 and its last to 4096, so the peer's edges and corners stay reachable.
// An axis of one pixel or less maps to 0 and is never divided by.
HidPoint MapClientPointToHidAbsolute(int32_t clientWidth, int32_t clientHeight, int32_t x, int32_t y);
