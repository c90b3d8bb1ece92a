#include "input/RemoteInputScope.h"

#include "core/RuntimeState.h"

bool IsRemoteInputScopeActive(const RemoteInputScopeFacts& facts) {
    if (facts.virtualScreenHoldsCursor && facts.tcpReady)
        return true;
    if (!facts.remoteInputEnable && !facts.hidForced)
        return false;
    if (!facts.keyboardActive && !facts.hidForced)
        return false;
    if (!facts.cursorOverRemoteView)
        return false;
    if (facts.hidForced)
        // Forced HID needs no input channel, only a live controller session that is not winding down.
        return facts.clientRunning && facts.appRunning &&
               facts.role == static_cast<int32_t>(RuntimeRole::Controller) &&
               facts.programState != static_cast<int32_t>(ProgramState::Stopping) &&
               facts.mainWindowForeground;
    // HID is not forced here, so the router's TCP-ready condition is exactly "remote control active, the
    // input channel connected and its state Connected".
    return facts.tcpReady && facts.mainWindowForeground;
}
