#pragma once

#include <cstdint>

// The cable functions Tessaly.exe exports by these undecorated names (C linkage, the platform's calling
// convention), all on the context of GlobalHidContext(). Results: 1 success, -1 failure.
#define TSLY_HID_EXPORT __declspec(dllexport)

extern "C" {
// 1 when the cable's HID interface is present.
TSLY_HID_EXPORT int32_t SearchHid();
TSLY_HID_EXPORT int32_t SetKBMsg(uint32_t vk, uint32_t msg);
TSLY_HID_EXPORT int32_t SetMouseMsg(uint32_t msg, uint32_t x, uint32_t y);
// msg is ignored.
TSLY_HID_EXPORT int32_t SetMouseWheelMsg(uint32_t msg, uint32_t x, uint32_t y, int32_t delta);
// Ctrl+Alt+Del through the cable.
TSLY_HID_EXPORT int32_t SetSystemKey();
TSLY_HID_EXPORT int32_t SetUSBDiskChange(uint8_t side);
TSLY_HID_EXPORT int32_t SetUSBPORTChange(uint8_t side);
TSLY_HID_EXPORT int32_t SetUSBHardWareReset();
TSLY_HID_EXPORT int32_t SetUSBKBDefault();
TSLY_HID_EXPORT void SetWindosSize(uint32_t width, uint32_t height);
}
