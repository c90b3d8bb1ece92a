#pragma once

#include <atomic>
#include <cstdint>

#include "input/UsbHidContext.h"

// The tray's commands to the cable's HID interface, on a device context (the exported functions' one in
// the program). Each blocks for the cable's replies and pauses (up to seconds), so the tray runs them on a
// worker, never on the UI thread that hosts the low-level hooks. cachedHid is the cached HID presence
// result: anything but 1 means no cable, and the command is only logged.

// Which side the cable's USB disk and other USB port are on, as the menu shows them. Both start local.
struct TrayCableSides {
    std::atomic<bool> diskRemote{false};
    std::atomic<bool> otherDeviceRemote{false};
};
TrayCableSides& CableSides();

// Disk switch (command 1) to the side; on success the side is stored. Returns the cable's result.
int TraySetUsbDiskSide(UsbHidContext& context, TrayCableSides& sides, bool remote, int cachedHid);
// Port switch (command 2), opening the link when it is closed.
int TraySetUsbOtherDeviceSide(UsbHidContext& context, TrayCableSides& sides, bool remote, int cachedHid);
// Hardware reset (command 5).
int TrayDeviceReset(UsbHidContext& context, int cachedHid);
// Keyboard defaults (command 6), the last step of restoring the default settings.
int TrayKeyboardDefault(UsbHidContext& context);
// Keyboard defaults, an 80 ms pause, then Ctrl+Alt+Del. Returns the Ctrl+Alt+Del result; the caller then
// forces the HID route.
int TraySendCtrlAltDel(UsbHidContext& context);
