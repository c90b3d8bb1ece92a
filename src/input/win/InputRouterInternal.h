#pragma once

#include <cstdint>

#include "input/KeyRouting.h"

// Shared by the router's mouse and key files.
namespace InputRouter {
// When TCP is ready, takes the TCP route for this event (the switch cancels queued HID items) and returns
// true; otherwise changes nothing.
bool TakeTcpRouteIfReady();
// The HID branch of a path whose route is already HID.
bool QueueHidKeyOnRoute(uint32_t msg, uint32_t vk);
LocalKeyStates ReadLocalKeyStates();
bool IsHidForced();
} // namespace InputRouter
