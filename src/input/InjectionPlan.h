#pragma once

#include <cstdint>

#include "input/HidQueueItem.h"
#include "input/InputPacket.h"

// What one received input packet becomes on the controlled PC: at most one SendInput event, planned here as
// a plain record so the choice of flags and coordinates is testable without Windows. The Win32 shell copies a
// planned event field by field into an INPUT.

// The Windows values, spelled out so the core needs no Windows header.
namespace InjectionFlags {
constexpr uint32_t kMouseMove = 0x0001;
constexpr uint32_t kMouseLeftDown = 0x0002;
constexpr uint32_t kMouseLeftUp = 0x0004;
constexpr uint32_t kMouseRightDown = 0x0008;
constexpr uint32_t kMouseRightUp = 0x0010;
constexpr uint32_t kMouseMiddleDown = 0x0020;
constexpr uint32_t kMouseMiddleUp = 0x0040;
constexpr uint32_t kMouseWheel = 0x0800;
constexpr uint32_t kMouseVirtualDesk = 0x4000;
constexpr uint32_t kMouseAbsolute = 0x8000;

constexpr uint32_t kKeyExtended = 0x0001;
constexpr uint32_t kKeyUp = 0x0002;
constexpr uint32_t kKeyScanCode = 0x0008;
} // namespace InjectionFlags

// The highest absolute SendInput coordinate, and the highest coordinate of the cable's HID mouse.
constexpr int32_t kAbsoluteMouseMax = 65535;

// The virtual desktop (system metrics 76 to 79).
struct VirtualDesktop {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

struct PlannedInput {
    enum class Kind { None, Mouse, Keyboard };
    Kind kind = Kind::None;
    uint32_t flags = 0;
    int32_t dx = 0;
    int32_t dy = 0;
    int32_t mouseData = 0; // wheel delta, signed
    uint16_t vk = 0;
    uint16_t scan = 0;
    // Why nothing is injected (Kind::None); null otherwise.
    const char* skipReason = nullptr;

    bool operator==(const PlannedInput&) const = default;
};

// Button 0 left, 1 right, 2 middle; 0 for any other button.
uint32_t MouseButtonFlags(int32_t button, bool down);
// "L", "R", "M", or "?" for any other button.
const char* MouseButtonName(int32_t button);

// The low 16 bits of data1 and x of a KEY packet.
inline uint16_t PacketVirtualKey(const InputPacket& packet) {
    return static_cast<uint16_t>(packet.data1 & 0xFFFF);
}
inline uint16_t PacketScanCode(const InputPacket& packet) {
    return static_cast<uint16_t>(packet.x & 0xFFFF);
}
inline bool PacketKeyDown(const InputPacket& packet) {
    return (packet.data2 & KeyPacketFlags::kDown) != 0;
}

// The SendInput event of a MOUSE_MOVE, MOUSE_BUTTON, MOUSE_WHEEL or KEY packet. The wheel's event is the
// one used when the cable does not take it. Other types, and a button other than 0 to 2, plan nothing.
PlannedInput PlanPacketInput(const InputPacket& packet, const VirtualDesktop& desktop);

// A desktop pixel to the cable's 0..4096 HID mouse range.
HidPoint HidWheelPoint(const InputPacket& packet, const VirtualDesktop& desktop);
