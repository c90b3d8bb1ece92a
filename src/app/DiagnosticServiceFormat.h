#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/StateManagerTypes.h"

// The pure decisions and lines of a diagnostic pass over a StateManager snapshot.

// Reconnecting and peer-lost as the diagnostic lines show them: any flag of that name that is set.
bool DiagnosticReconnecting(const StateSnapshot& s);
bool DiagnosticPeerLost(const StateSnapshot& s);

// TCP input is connected and the remote side is not locked, yet input goes over the HID cable.
bool NeedsTcpRouteRestore(const StateSnapshot& s);

// A combination of flags that should not occur together.
bool IsSuspiciousState(const StateSnapshot& s);
std::string FormatSuspiciousStateLine(const StateSnapshot& s);

// The snapshot lines of a pass: five lines when detailed (the "state" category), else one line whose status
// and last-error texts are cut to 160 and 320 bytes at a character boundary.
std::vector<std::string> FormatSnapshotLines(const StateSnapshot& s, const char* reason, bool detailed);

// Seconds between periodic passes.
uint32_t DiagnosticPeriodSeconds(bool stateCategoryOn);
