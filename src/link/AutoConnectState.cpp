#include "link/AutoConnectState.h"

const char* AutoConnectStateName(int32_t state) {
    static const char* const kNames[] = {
        "Stopped",   "Idle",     "WaitingDevice",          "WaitingPeer", "Ready", "Connecting",
        "Connected", "Cooldown", "BlockedByManualSession", "Error"};
    if (state < 0 || state >= static_cast<int32_t>(sizeof(kNames) / sizeof(kNames[0])))
        return "Unknown";
    return kNames[state];
}
