#pragma once

#include <cstdint>

// The cable's HID interface (vendor 0x35E6, product 0x2402): command frames written as output reports. The
// device context and the frame logic are here; the device access itself is an IHidTransport that the shell
// provides (SetupAPI and HID, or the simulated cable of the tests).
//
// Results follow the exported functions: 1 success, -1 failure.

struct UsbHidContext; // defined with the device layer

namespace UsbHidLink {
int SearchHid(UsbHidContext& context);
int OpenHid(UsbHidContext& context);
void CloseHid(UsbHidContext& context);
bool IsOpen(UsbHidContext& context);
int SetKBMsg(UsbHidContext& context, uint32_t vk, uint32_t msg);
int SetMouseMsg(UsbHidContext& context, uint32_t msg, int32_t x, int32_t y);
int SetMouseWheelMsg(UsbHidContext& context, uint32_t msg, int32_t x, int32_t y, int32_t delta);
} // namespace UsbHidLink
