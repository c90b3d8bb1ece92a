#pragma once

#include <cstdint>

// The presence monitor's timing rules, kept apart from its thread and window.

// Poll intervals: missing, present while a session is being set up or in trouble, and present otherwise
// with or without device notifications.
inline constexpr uint32_t kPresencePollMissingMs = 1500;
inline constexpr uint32_t kPresencePollBusyMs = 3000;
inline constexpr uint32_t kPresencePollNotifiedMs = 60000;
inline constexpr uint32_t kPresencePollUnnotifiedMs = 15000;

// The interval between fallback scans. programState is the runtime state's ProgramState value: starting,
// connecting, switching, peer lost and error (1, 3, 4, 7, 8, 9) count as busy.
uint32_t DevicePresencePollIntervalMs(bool present, int32_t programState, bool notificationsActive);

// How long the monitor may wait for its stop event and window messages before it looks again: 0 when a
// device change is pending, nothing was scanned yet or the interval has passed since the last scan, else the
// rest of the interval. Ticks are 32-bit milliseconds that wrap.
uint32_t DevicePresenceWaitMs(bool changePending, bool scanned, uint32_t now, uint32_t lastScan,
                              uint32_t intervalMs);

// After a wait: the reason to scan with ("device-change" when a change was flagged, "adaptive-fallback" when
// nothing was scanned yet or the interval has passed), or null when no scan is due.
const char* DevicePresenceScanReason(bool changed, bool scanned, uint32_t now, uint32_t lastScan,
                                     uint32_t intervalMs);
