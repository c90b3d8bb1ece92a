#pragma once

#include <memory>

#include "input/UsbHidLink.h"

// The device contexts of the running program, over the real cable or, when TSLY_SIM_CABLE_HID names a file,
// over the simulated one.

// The context of the exported functions, the tray and the presence probe.
UsbHidContext& GlobalHidContext();
// A context of its own (the HID worker's), with its own handle to the same device.
std::unique_ptr<UsbHidContext, void (*)(UsbHidContext*)> MakeHidContext();
