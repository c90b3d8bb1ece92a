#pragma once

#include <cstdint>

// What the auto-connect engine is doing, as its log lines and the diagnostics name it. BlockedByManualSession
// and Error carry names but are never entered.
enum class AutoConnectState : int32_t {
    Stopped = 0,
    Idle = 1,
    WaitingDevice = 2,
    WaitingPeer = 3,
    Ready = 4,
    Connecting = 5,
    Connected = 6,
    Cooldown = 7,
    BlockedByManualSession = 8,
    Error = 9,
};

// "Stopped" ... "Error" for 0..9, else "Unknown".
const char* AutoConnectStateName(int32_t state);
inline const char* AutoConnectStateName(AutoConnectState state) {
    return AutoConnectStateName(static_cast<int32_t>(state));
}

// "Enabled" or "Disabled".
inline const char* AutoConnectIntentText(bool enabled) {
    return enabled ? "Enabled" : "Disabled";
}
