#pragma once

#include <cstdint>

#include "input/HidCableFrame.h"
#include "input/UsbHidContext.h"

// The cable's HID interface (vendor 0x35E6, product 0x2402): command frames written as output reports. The
// device context and the frame logic are here; the device access itself is an IHidTransport that the shell
// provides (SetupAPI and HID, or the simulated cable of the tests).
//
// Results follow the exported functions: 1 success, -1 failure. Each function takes the context's lock
// for all of its work; none may be called with that lock held.

namespace UsbHidLink {
// 1 when a present HID interface has the context's ids (its path is then kept in the context), else -1.
int SearchHid(UsbHidContext& context);
// Without a handle: search, open and reset the keyboard; 1 when the device was found even if the open
// failed (callers check IsOpen), else the search result. With a handle: close it, -1.
int OpenHid(UsbHidContext& context);
void CloseHid(UsbHidContext& context);
bool IsOpen(UsbHidContext& context);
// One frame as one output report; 1 when every byte of the report was written.
int SendHidData(UsbHidContext& context, const HidCableFrame& frame);
// One input report of the cable's reply into the context's input buffer: the bytes read, -1 when nothing
// was read (no handle, a refused length, a failed or timed-out read).
int RecvHidData(UsbHidContext& context);
int SetKBMsg(UsbHidContext& context, uint32_t vk, uint32_t msg);
int SetMouseMsg(UsbHidContext& context, uint32_t msg, int32_t x, int32_t y);
int SetMouseWheelMsg(UsbHidContext& context, uint32_t msg, int32_t x, int32_t y, int32_t delta);
// Clears the key and button state and releases Win and Esc on the cable, with the cable's pauses.
void ResetKeyboard(UsbHidContext& context);

// The cable commands behind the exported functions (HidExports.h), on any context.
int SetSystemKey(UsbHidContext& context);
int SetUSBDiskChange(UsbHidContext& context, uint8_t side);
int SetUSBPORTChange(UsbHidContext& context, uint8_t side);
int SetUSBHardWareReset(UsbHidContext& context);
int SetUSBKBDefault(UsbHidContext& context);
void SetWindosSize(UsbHidContext& context, uint32_t width, uint32_t height);
} // namespace UsbHidLink
