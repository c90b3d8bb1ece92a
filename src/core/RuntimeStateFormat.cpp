#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

#include "core/RuntimeState.h"
#include "core/Utf.h"

const char* ProgramStateName(int32_t state) {
    static const char* const kNames[] = {"IDLE",       "HOST STARTING", "HOST RUNNING", "CLIENT STARTING",
                                         "CONNECTING", "CONTROLLING",   "CONTROLLED",   "SWITCHING",
                                         "PEER LOST",  "ERROR",         "STOPPING"};
    return state >= 0 && state <= 10 ? kNames[state] : "UNKNOWN";
}

int32_t RuntimeSessionModeFor(int32_t programState, int32_t role) {
    switch (programState) {
    case 1:
        return 2; // HOST STARTING -> ConnectingControlled
    case 2:
    case 6:
        return 4; // HOST RUNNING, CONTROLLED -> Controlled
    case 3:
    case 4:
        return 1; // CLIENT STARTING, CONNECTING -> ConnectingController
    case 5:
        return 3; // CONTROLLING -> Controller
    case 7:
        return role == 2 ? 2 : 1; // SWITCHING
    case 8:
        return 6; // PEER LOST
    case 9:
        return 7; // ERROR
    case 10:
        return 5; // STOPPING -> Disconnecting
    default:
        return 0;
    }
}

namespace {

// One line: trailing line ends dropped, other CR/LF shown as spaces.
std::string OneLine(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.remove_suffix(1);
    std::string out(text);
    std::replace(out.begin(), out.end(), '\r', ' ');
    std::replace(out.begin(), out.end(), '\n', ' ');
    return out;
}

} // namespace

std::string RuntimeFormatSummary(const RuntimeSnapshot& s) {
    char head[1024];
    int n = std::snprintf(
        head, sizeof head,
        "app=%d host=%d client=%d program=%s desktop=%dx%d stream=%dx%d mouse=%d,%d L=%d R=%d M=%d "
        "http=%d:%d "
        "httpdl=%d httplast=%llu scale=%dx%d dpi=%d dpiscale=%d uiscale=%d keyboard=%d cap=%d enc=%d send=%d "
        "recv=%d dec=%d draw=%d video=%d input=%d audio=%d clipboard=%d msg=",
        s.appRunning ? 1 : 0, s.hostRunning ? 1 : 0, s.clientRunning ? 1 : 0,
        ProgramStateName(s.programState), static_cast<int>(s.desktopWidth), static_cast<int>(s.desktopHeight),
        static_cast<int>(s.streamWidth), static_cast<int>(s.streamHeight), s.mouseX, s.mouseY,
        s.mouseLeft ? 1 : 0, s.mouseRight ? 1 : 0, s.mouseMiddle ? 1 : 0, s.httpRunning ? 1 : 0,
        static_cast<int>(s.httpPort), static_cast<int>(s.httpActiveDownloads),
        static_cast<unsigned long long>(s.httpLastBytes), static_cast<int>(s.screenWidth),
        static_cast<int>(s.screenHeight), static_cast<int>(s.dpi), static_cast<int>(s.dpiScalePercent),
        static_cast<int>(s.controlUiScalePercent), s.keyboardActive ? 1 : 0, s.hostCaptureFps,
        s.hostEncodeFps, s.hostSendFps, s.clientReceiveFps, s.clientDecodeFps, s.clientDrawFps,
        s.channelStates[0], s.channelStates[1], s.channelStates[2], s.channelStates[3]);
    std::string line(head, n > 0 ? std::min(static_cast<size_t>(n), sizeof head - 1) : 0);

    static constexpr std::string_view kErrKey = " err=";
    if (line.size() + kErrKey.size() > kRuntimeSummaryMax) {
        line.resize(kRuntimeSummaryMax); // only ASCII so far
        return line;
    }
    std::string msg = OneLine(s.statusMessage);
    std::string err = OneLine(s.errorText);
    size_t room = kRuntimeSummaryMax - line.size() - kErrKey.size();
    // Each text gets at least half of the room when both are long; a short one leaves the rest to the other.
    size_t errBudget = std::min(err.size(), std::max(room / 2, room - std::min(msg.size(), room)));
    size_t msgBudget = room - errBudget;
    line += CutUtf8(msg, msgBudget);
    line += kErrKey;
    line += CutUtf8(err, errBudget);
    return line;
}
