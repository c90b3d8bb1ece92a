#include "core/LongRunGuardLine.h"

#include <cstdio>

const char* LongRunGuardRoleText(int32_t role) {
    switch (role) {
    case 0:
        return "Idle";
    case 1:
        return "Controller";
    case 2:
        return "Controlled";
    case 3:
        return "Switching";
    default:
        return "Unknown";
    }
}

std::string FormatLongRunGuardLine(const char* reason, const ProcessResourceCounters& counters,
                                   const RuntimeSnapshot& snapshot) {
    char text[768];
    int len = std::snprintf(
        text, sizeof text,
        "LongRunGuard reason=%s wsMB=%llu privateMB=%llu handles=%lu threads=%lu state=%s role=%s host=%d "
        "client=%d fps cap/enc/send=%d/%d/%d recv/dec/rend=%d/%d/%d kbps=%d stream=%dx%d desktop=%dx%d "
        "peer=%s",
        reason ? reason : "?", static_cast<unsigned long long>(counters.workingSetBytes >> 20),
        static_cast<unsigned long long>(counters.privateBytes >> 20),
        static_cast<unsigned long>(counters.handles), static_cast<unsigned long>(counters.threads),
        ProgramStateName(snapshot.programState), LongRunGuardRoleText(snapshot.role),
        snapshot.hostRunning ? 1 : 0, snapshot.clientRunning ? 1 : 0, snapshot.hostCaptureFps,
        snapshot.hostEncodeFps, snapshot.hostSendFps, snapshot.clientReceiveFps, snapshot.clientDecodeFps,
        snapshot.clientDrawFps, snapshot.clientKbps, static_cast<int>(snapshot.streamWidth),
        static_cast<int>(snapshot.streamHeight), static_cast<int>(snapshot.desktopWidth),
        static_cast<int>(snapshot.desktopHeight), snapshot.peerIp.c_str());
    return len >= 0 ? std::string(text) : std::string();
}
