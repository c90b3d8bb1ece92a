#include "dragdrop/VirtualScreenPackets.h"

VirtualScreenPacket CursorPacket(int32_t remoteX, int32_t remoteY) {
    return {VirtualScreenPacketType::kMouseMove, remoteX, remoteY, 0, 0};
}

VirtualScreenPacket ButtonPacket(int32_t button, bool down) {
    return {VirtualScreenPacketType::kMouseButton, 0, 0, button, down ? 1 : 0};
}

VirtualScreenPacket WheelPacket(int32_t remoteX, int32_t remoteY, int16_t delta) {
    return {VirtualScreenPacketType::kMouseWheel, remoteX, remoteY, delta, 0};
}

VirtualScreenPacket DragVisualPacket(bool active) {
    return {VirtualScreenPacketType::kSystemKey, 0, 0, kSystemKeyDragVisual, active ? 1 : 0};
}

bool HookButtonOf(uint32_t message, int32_t& button, bool& down) {
    if (message < HookMessage::kLButtonDown || message > HookMessage::kMButtonDblClk)
        return false;
    const uint32_t offset = message - HookMessage::kLButtonDown;
    button = static_cast<int32_t>(offset / 3); // left, right, middle in groups of down, up, double-click
    down = offset % 3 != 1;
    return true;
}

int16_t WheelDeltaOf(uint32_t mouseData) {
    return static_cast<int16_t>(static_cast<uint16_t>(mouseData >> 16));
}
