#include "link/AutoConnectState.h"

const char* AutoConnectStateName(int32_t state) {
    static const char* const kNames[] = {
        "Stopped",   "Idle",     "WaitingDevice",          "WaitingPeer", "Ready", "Connecting",
        "Connected", "Cooldown", "BlockedByManualSession", "Error"};
    return state >= 0 && state <= 9 ? kNames[state] : "Unknown";
}
