#include "link/DevicePresencePolicy.h"

namespace {

bool IntervalPassed(uint32_t now, uint32_t lastScan, uint32_t intervalMs) {
    return static_cast<uint32_t>(now - lastScan) >= intervalMs;
}

} // namespace

uint32_t DevicePresencePollIntervalMs(bool present, int32_t programState, bool notificationsActive) {
    if (!present)
        return kPresencePollMissingMs;
    switch (programState) {
    case 1: // HOST STARTING
    case 3: // CLIENT STARTING
    case 4: // CONNECTING
    case 7: // SWITCHING
    case 8: // PEER LOST
    case 9: // ERROR
        return kPresencePollBusyMs;
    default:
        return notificationsActive ? kPresencePollNotifiedMs : kPresencePollUnnotifiedMs;
    }
}

uint32_t DevicePresenceWaitMs(bool changePending, bool scanned, uint32_t now, uint32_t lastScan,
                              uint32_t intervalMs) {
    if (changePending || !scanned || IntervalPassed(now, lastScan, intervalMs))
        return 0;
    return intervalMs - static_cast<uint32_t>(now - lastScan);
}

const char* DevicePresenceScanReason(bool changed, bool scanned, uint32_t now, uint32_t lastScan,
                                     uint32_t intervalMs) {
    if (changed)
        return "device-change";
    if (!scanned || IntervalPassed(now, lastScan, intervalMs))
        return "adaptive-fallback";
    return nullptr;
}
