#pragma once

#include <memory>

#include "input/HidWorkerCore.h"

// The router's only calls into the cable's device layer (UsbHidLink over the contexts of HidDevice.h).

// The HID worker's cable: a device context of its own (MakeHidContext), a second handle to the device.
std::unique_ptr<IHidCable> MakeWorkerHidCable();
// UsbHidLink::SearchHid on the exported functions' context (GlobalHidContext).
int SearchGlobalHidContext();

// Start-up: installs the real cable access and the router as the process's remote input route.
void InstallInputRouter();
