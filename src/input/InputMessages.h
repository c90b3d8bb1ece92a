#pragma once

#include <cstdint>

// The window messages the router reads, by value, so that the routing rules stay free of Windows headers.
namespace InputMessage {
constexpr uint32_t kKeyDown = 0x0100;
constexpr uint32_t kKeyUp = 0x0101;
constexpr uint32_t kSysKeyDown = 0x0104;
constexpr uint32_t kSysKeyUp = 0x0105;
constexpr uint32_t kMouseMove = 0x0200;
constexpr uint32_t kLButtonDown = 0x0201;
constexpr uint32_t kLButtonUp = 0x0202;
constexpr uint32_t kLButtonDblClk = 0x0203;
constexpr uint32_t kRButtonDown = 0x0204;
constexpr uint32_t kRButtonUp = 0x0205;
constexpr uint32_t kRButtonDblClk = 0x0206;
constexpr uint32_t kMButtonDown = 0x0207;
constexpr uint32_t kMButtonUp = 0x0208;
constexpr uint32_t kMButtonDblClk = 0x0209;
} // namespace InputMessage

// Virtual keys the cable's device layer and the HID worker send by themselves.
namespace InputVk {
constexpr uint32_t kShift = 16;
constexpr uint32_t kCtrl = 17;
constexpr uint32_t kAlt = 18;
constexpr uint32_t kEscape = 27;
constexpr uint32_t kDelete = 0x2E;
constexpr uint32_t kLeftWin = 91;
constexpr uint32_t kNumLock = 144;
} // namespace InputVk

// "WM_MOUSEMOVE", "WM_LBUTTONDOWN" ... "WM_MBUTTONDBLCLK"; "WM_MOUSE_UNKNOWN" for anything else.
const char* MouseMessageName(uint32_t msg);
// "WM_KEYDOWN", "WM_KEYUP", "WM_SYSKEYDOWN", "WM_SYSKEYUP"; "WM_KEY_UNKNOWN" for anything else.
const char* KeyMessageName(uint32_t msg);

// The MOUSE_BUTTON button of a button message: 1 right, 2 middle, 0 for everything else (left).
int32_t MouseButtonOfMessage(uint32_t msg);
// A press: the down and the double-click messages (a double-click arrives instead of its second press).
bool IsMouseButtonPress(uint32_t msg);

bool IsKeyDownMessage(uint32_t msg); // WM_KEYDOWN or WM_SYSKEYDOWN
bool IsKeyUpMessage(uint32_t msg);   // WM_KEYUP or WM_SYSKEYUP
