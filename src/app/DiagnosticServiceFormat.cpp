#include "app/DiagnosticServiceFormat.h"

#include <cstdarg>
#include <cstdio>
#include <string_view>

#include "core/Printf.h"
#include "core/Utf.h"

namespace {

const char* Flag(bool value) {
    return value ? "1" : "0";
}

std::string Format(const char* format, ...) TSLY_PRINTF(1, 2);
std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int size = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text;
    if (size > 0) {
        text.resize(static_cast<size_t>(size) + 1);
        std::vsnprintf(text.data(), text.size(), format, again);
        text.resize(static_cast<size_t>(size));
    }
    va_end(again);
    return text;
}

// At most maxBytes of text, never ending inside a UTF-8 character.
std::string Bounded(const std::string& text, size_t maxBytes) {
    return std::string(CutUtf8(text, maxBytes));
}

} // namespace

bool DiagnosticReconnecting(const StateSnapshot& s) {
    return s.reconnecting;
}
bool DiagnosticPeerLost(const StateSnapshot& s) {
    return s.peerLost || s.networkPeerLost;
}

bool NeedsTcpRouteRestore(const StateSnapshot& s) {
    return s.tcpInputConnected && !s.remoteLocked && s.inputRoute == static_cast<int32_t>(InputRoute::Hid);
}

bool IsSuspiciousState(const StateSnapshot& s) {
    bool hidRoute = s.inputRoute == static_cast<int32_t>(InputRoute::Hid);
    return (s.controller && s.controlled) || (s.remoteLocked && !(s.hidPresent && hidRoute)) ||
           (s.connected && ((!s.tcpInputConnected && !s.hidPresent) || DiagnosticReconnecting(s) ||
                            DiagnosticPeerLost(s))) ||
           (s.dragActive && s.fileTransferBusy);
}

std::string FormatSuspiciousStateLine(const StateSnapshot& s) {
    return Format("[DIAG][WARN] suspicious state: session=%s route=%s locked=%s hid=%s tcp=%s connected=%s "
                  "controller=%s controlled=%s drag=%s transfer=%s",
                  SessionModeName(s.sessionMode), InputRouteName(s.inputRoute), Flag(s.remoteLocked),
                  Flag(s.hidPresent), Flag(s.tcpInputConnected), Flag(s.connected), Flag(s.controller),
                  Flag(s.controlled), Flag(s.dragActive), Flag(s.fileTransferBusy));
}

std::vector<std::string> FormatSnapshotLines(const StateSnapshot& s, const char* reason, bool detailed) {
    const char* why = reason ? reason : "";
    const char* session = SessionModeName(s.sessionMode);
    const char* route = InputRouteName(s.inputRoute);
    const int32_t* ch = s.channelStates;
    if (!detailed) {
        return {Format(
            "[DIAG][SNAPSHOT] reason=%s session=%s conn=%s role=%s/%s reconnect=%s peerLost=%s peer=%s/%s "
            "input=%s tcp=%s hid=%s lock=%s busy[d/t/c]=%s/%s/%s dl=%d net[d/c/h]=%s/%s/%s:%d "
            "ch=%d/%d/%d/%d video=%dx%d desktop=%dx%d status=%s lastError=%s",
            why, session, Flag(s.connected), Flag(s.controller), Flag(s.controlled),
            Flag(DiagnosticReconnecting(s)), Flag(DiagnosticPeerLost(s)), s.peerIp.c_str(),
            s.peerName.c_str(), route, Flag(s.tcpInputConnected), Flag(s.hidPresent), Flag(s.remoteLocked),
            Flag(s.dragActive), Flag(s.fileTransferBusy), Flag(s.clipboardBusy), s.activeDownloads,
            Flag(s.discoveryRunning), Flag(s.controlRunning), Flag(s.httpServer), s.httpPort, ch[0], ch[1],
            ch[2], ch[3], s.streamWidth, s.streamHeight, s.desktopWidth, s.desktopHeight,
            Bounded(s.statusText, 160).c_str(), Bounded(s.lastErrorText, 320).c_str())};
    }
    const PortSet& p = s.ports;
    return {
        Format(
            "[DIAG][SNAPSHOT] reason=%s session=%s connected=%s controller=%s controlled=%s reconnecting=%s "
            "peerLost=%s peer=%s/%s",
            why, session, Flag(s.connected), Flag(s.controller), Flag(s.controlled),
            Flag(DiagnosticReconnecting(s)), Flag(DiagnosticPeerLost(s)), s.peerIp.c_str(),
            s.peerName.c_str()),
        Format("[DIAG][INPUT] route=%s remoteLocked=%s tcpInput=%s hidPresent=%s useHid=%s", route,
               Flag(s.remoteLocked), Flag(s.tcpInputConnected), Flag(s.hidPresent), Flag(s.hidForced)),
        Format(
            "[DIAG][BUSY] drag=%s localDragFiles=%d remoteDragFiles=%d transfer=%s downloads=%d clipboard=%s "
            "clipboardItems=%d",
            Flag(s.dragActive), s.localDragFiles, s.remoteDragFiles, Flag(s.fileTransferBusy),
            s.activeDownloads, Flag(s.clipboardBusy), s.clipboardItems),
        Format("[DIAG][NET] discovery=%s control=%s http=%s:%d ports d=%d c=%d v=%d i=%d a=%d cb=%d "
               "ch[v/i/a/cb]=%d/%d/%d/%d",
               Flag(s.discoveryRunning), Flag(s.controlRunning), Flag(s.httpServer), s.httpPort,
               int(p.discoveryPrimary), int(p.control), int(p.video), int(p.input), int(p.audio),
               int(p.clipboard), ch[0], ch[1], ch[2], ch[3]),
        Format("[DIAG][DISPLAY] stream=%dx%d desktop=%dx%d status=%s lastError=%s", s.streamWidth,
               s.streamHeight, s.desktopWidth, s.desktopHeight, s.statusText.c_str(),
               s.lastErrorText.c_str()),
    };
}

uint32_t DiagnosticPeriodSeconds(bool stateCategoryOn) {
    return stateCategoryOn ? 10 : 60;
}
