#pragma once

#include <cstdint>

// The Windows message codes and virtual keys the cable's device layer tells apart.
namespace HidMsg {
inline constexpr uint32_t kKeyDown = 0x0100;
inline constexpr uint32_t kKeyUp = 0x0101;
inline constexpr uint32_t kSysKeyDown = 0x0104;
inline constexpr uint32_t kSysKeyUp = 0x0105;
inline constexpr uint32_t kMouseMove = 0x0200;
inline constexpr uint32_t kLeftDown = 0x0201;
inline constexpr uint32_t kLeftUp = 0x0202;
inline constexpr uint32_t kLeftDoubleClick = 0x0203;
inline constexpr uint32_t kRightDown = 0x0204;
inline constexpr uint32_t kRightUp = 0x0205;
inline constexpr uint32_t kRightDoubleClick = 0x0206;
inline constexpr uint32_t kMiddleDown = 0x0207;
inline constexpr uint32_t kMiddleUp = 0x0208;
inline constexpr uint32_t kMiddleDoubleClick = 0x0209;
} // namespace HidMsg

namespace HidVk {
inline constexpr uint32_t kShift = 16;
inline constexpr uint32_t kCtrl = 17;
inline constexpr uint32_t kAlt = 18;
inline constexpr uint32_t kEscape = 27;
inline constexpr uint32_t kDelete = 0x2E;
inline constexpr uint32_t kLeftWin = 91;
} // namespace HidVk
