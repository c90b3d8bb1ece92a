#pragma once

#include <cstdint>

#include "input/HidCableFrame.h"
#include "input/UsbHidContext.h"

// The device layer's steps for callers that already hold context.mutex, so that one public function can
// run a whole sequence of reports without another thread's reports coming between them.
namespace UsbHidLocked {
int Search(UsbHidContext& context);
int Open(UsbHidContext& context);
void Close(UsbHidContext& context);
// Opens the device when there is no handle; 1 when a handle is there afterwards, else -1.
int EnsureOpen(UsbHidContext& context);
int Send(UsbHidContext& context, const HidCableFrame& frame);
int Receive(UsbHidContext& context);
// A keyboard report for (vk, msg) on the open handle, never opening it: -1 without a handle.
int SendKey(UsbHidContext& context, uint32_t vk, uint32_t msg);
void ResetKeyboard(UsbHidContext& context);
} // namespace UsbHidLocked
