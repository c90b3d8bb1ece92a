#pragma once

#include <cstdint>

// The input packets the virtual screen sends to the peer, as plain fields. The drag area does not reach
// the input area: the link installed at start-up (VirtualScreenLink.h) turns them into the input channel's
// 24-byte records, whose type and command numbers these mirror.

struct VirtualScreenPacket {
    uint32_t type = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t data1 = 0;
    int32_t data2 = 0;
    bool operator==(const VirtualScreenPacket&) const = default;
};

namespace VirtualScreenPacketType {
inline constexpr uint32_t kMouseMove = 1;
inline constexpr uint32_t kMouseButton = 2;
inline constexpr uint32_t kMouseWheel = 3;
inline constexpr uint32_t kSystemKey = 5;
} // namespace VirtualScreenPacketType
// SYSTEM_KEY command that turns the peer's drag overlay on (data2 1) or off (data2 0).
inline constexpr int32_t kSystemKeyDragVisual = 4;

// Buttons as the peer numbers them.
inline constexpr int32_t kRemoteButtonLeft = 0;
inline constexpr int32_t kRemoteButtonRight = 1;
inline constexpr int32_t kRemoteButtonMiddle = 2;

VirtualScreenPacket CursorPacket(int32_t remoteX, int32_t remoteY);
VirtualScreenPacket ButtonPacket(int32_t button, bool down);
VirtualScreenPacket WheelPacket(int32_t remoteX, int32_t remoteY, int16_t delta);
VirtualScreenPacket DragVisualPacket(bool active);

// Mouse messages the low-level hook sees, by value.
namespace HookMessage {
inline constexpr uint32_t kMouseMove = 0x0200;
inline constexpr uint32_t kLButtonDown = 0x0201;
inline constexpr uint32_t kLButtonUp = 0x0202;
inline constexpr uint32_t kLButtonDblClk = 0x0203;
inline constexpr uint32_t kRButtonDown = 0x0204;
inline constexpr uint32_t kRButtonUp = 0x0205;
inline constexpr uint32_t kRButtonDblClk = 0x0206;
inline constexpr uint32_t kMButtonDown = 0x0207;
inline constexpr uint32_t kMButtonUp = 0x0208;
inline constexpr uint32_t kMButtonDblClk = 0x0209;
inline constexpr uint32_t kMouseWheel = 0x020A;
inline constexpr uint32_t kMouseHWheel = 0x020E;
} // namespace HookMessage

// A left, right or middle down, up or double-click message: its button and whether it presses (a
// double-click counts as a press). False for every other message.
bool HookButtonOf(uint32_t message, int32_t& button, bool& down);
// The wheel's signed delta: the high word of the hook's mouse data.
int16_t WheelDeltaOf(uint32_t mouseData);
