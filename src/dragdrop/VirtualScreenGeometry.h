#pragma once

#include <cstdint>

#include "core/ScreenPoint.h"

// Where the peer's screen stands beside this desktop, and the arithmetic of crossing between the two. The
// mode names the edge of the local desktop that leads to the peer.

inline constexpr int32_t kVirtualScreenOff = 0;
inline constexpr int32_t kVirtualScreenLeft = 1;
inline constexpr int32_t kVirtualScreenRight = 2;
inline constexpr int32_t kVirtualScreenTop = 3;
inline constexpr int32_t kVirtualScreenBottom = 4;

// The hook and raw input cross at 3 pixels from the edge; drops and the windows' own edge tests use 32.
inline constexpr int32_t kCrossingMargin = 3;
inline constexpr int32_t kDropMargin = 32;
// How far past the peer's far side raw motion must go to come back, and how far inside the edge the local
// cursor lands when it does.
inline constexpr int32_t kReturnOvershoot = 10;
inline constexpr int32_t kRestoreInset = 36;

// right and bottom are exclusive.
struct ScreenRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const ScreenRect&) const = default;
};

struct RemoteScreenSize {
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const RemoteScreenSize&) const = default;
};

// A stored or requested mode: 1..4 as they are; anything else (5 or more, or negative) is off.
int32_t ClampVirtualScreenMode(int64_t mode);

// The whole virtual desktop from its origin and extent, or the primary screen when that is empty.
ScreenRect DesktopRectFrom(int32_t virtualLeft, int32_t virtualTop, int32_t virtualWidth,
                           int32_t virtualHeight, int32_t primaryWidth, int32_t primaryHeight);

// The point lies within margin pixels of the mode's edge (and inside the desktop along that edge).
bool IsPointAtVirtualEdge(const ScreenRect& desktop, ScreenPoint point, int32_t mode, int32_t margin);

// The size the peer injects in: its desktop, else the stream when the desktop is not known yet, then
// 1920x1080 for an axis still unknown. The stream may be scaled down from the desktop, so it comes second.
RemoteScreenSize VirtualScreenRemoteSize(uint32_t desktopWidth, uint32_t desktopHeight, uint32_t streamWidth,
                                         uint32_t streamHeight);

// Limits a remote position to 0..size-1 on each axis.
ScreenPoint ClampToRemote(ScreenPoint point, RemoteScreenSize size);

// Where the virtual cursor appears on the peer when the local point crosses: at the peer's near side, the
// other axis scaled from the desktop.
ScreenPoint RemoteCursorForEntry(int32_t mode, ScreenPoint local, const ScreenRect& desktop,
                                 RemoteScreenSize size);
// Where the local cursor is held while the mouse is on the peer: the point on the desktop's edge.
ScreenPoint PinPointForEntry(int32_t mode, ScreenPoint local, const ScreenRect& desktop);
// Where the local cursor comes back: the pin point moved 36 pixels inside the edge, kept on the desktop.
ScreenPoint RestorePointForLeave(int32_t mode, ScreenPoint pin, const ScreenRect& desktop);
// The 32-pixel strip along the mode's edge (each extent at least 1); empty for mode 0.
ScreenRect EdgeStrip(int32_t mode, const ScreenRect& desktop);

// The motion points out of the desktop through the mode's edge.
bool IsOutwardMotion(int32_t mode, int32_t dx, int32_t dy);
// A remote position has gone back past the peer's near side by the overshoot: the mouse returns.
bool IsBackToLocal(int32_t mode, int64_t remoteX, int64_t remoteY, RemoteScreenSize size);
