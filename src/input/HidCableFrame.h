#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The cable's command frame, carried from byte 1 of a HID output report (byte 0 is report id 0):
//   55 AA 00 <command> <N> <N data bytes> <checksum>
// The checksum is the low byte of the sum of every byte before it. Keyboard and mouse reports carry an
// inner frame of the same shape with the sync bytes 57 AB and a command of their own.

inline constexpr uint8_t kHidFrameSync1 = 0x55;
inline constexpr uint8_t kHidFrameSync2 = 0xAA;
inline constexpr uint8_t kHidFrameAddress = 0x00;
inline constexpr uint8_t kHidInnerSync1 = 0x57;
inline constexpr uint8_t kHidInnerSync2 = 0xAB;
inline constexpr uint8_t kHidInnerKeyboardCommand = 0x02;
inline constexpr uint8_t kHidInnerMouseCommand = 0x04;
inline constexpr uint8_t kHidMouseAbsoluteMode = 0x02;

enum class HidCableCommand : uint8_t {
    UsbDiskSwitch = 1,       // data: the side
    UsbPortSwitch = 2,       // data: the side
    KeyboardReport = 3,      // data: inner keyboard frame (14 bytes)
    AbsoluteMouseReport = 4, // data: inner mouse frame (13 bytes)
    UsbHardwareReset = 5,    // data: 0x01
    KeyboardDefault = 6,     // data: 0x01
};

inline constexpr size_t kHidFrameOverhead = 6; // sync, sync, address, command, length ... checksum
inline constexpr size_t kHidInnerKeyboardLength = 14;
inline constexpr size_t kHidInnerMouseLength = 13;
inline constexpr size_t kHidKeyboardFrameLength = kHidFrameOverhead + kHidInnerKeyboardLength; // 20
inline constexpr size_t kHidMouseFrameLength = kHidFrameOverhead + kHidInnerMouseLength;       // 19
inline constexpr size_t kHidOneByteFrameLength = kHidFrameOverhead + 1;                        // 7

struct HidCableFrame {
    std::array<uint8_t, kHidKeyboardFrameLength> bytes{};
    size_t length = 0;

    HidCableCommand Command() const { return static_cast<HidCableCommand>(bytes[3]); }
};

// Low 8 bits of the sum of count bytes.
uint8_t HidChecksum(const uint8_t* bytes, size_t count);

// Commands 1, 2, 5 and 6: one data byte.
HidCableFrame BuildOneByteFrame(HidCableCommand command, uint8_t data);
// Command 3: modifier byte and the first of the six key-usage bytes (0 for no key).
HidCableFrame BuildKeyboardFrame(uint8_t modifiers, uint8_t usage);
// Command 4 in absolute mode: the low 16 bits of x and y (the cable's range is 0..4096).
HidCableFrame BuildMouseFrame(uint8_t buttons, int32_t x, int32_t y, int8_t wheel);

// The wheel byte for a wheel delta (120 per notch): whole notches toward zero, clamped to -127..127; a
// part of a notch still moves one step in its direction.
int8_t HidWheelByte(int32_t delta);
