#pragma once

#include <functional>
#include <memory>

#include "input/HidWorkerCore.h"

// How the router reaches the cable's HID interface: the HID worker's own device (a context of its own) and
// the presence search on the exported functions' context. Start-up installs the real link (HidCableLink.h);
// tests install a recording cable. While none is installed the cable counts as absent: opens and searches
// answer -1, so queued items fail as they would without the cable.
struct HidCableAccess {
    std::function<std::unique_ptr<IHidCable>()> makeWorkerCable;
    std::function<int()> searchPresent; // 1 present, -1 not
};

// Before the first routed event: the worker takes its cable once, when it is created.
void SetHidCableAccess(HidCableAccess access);
std::unique_ptr<IHidCable> MakeWorkerHidCableFromAccess();
int SearchHidFromAccess();
