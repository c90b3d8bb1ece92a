#include "input/InputRouteRules.h"

#include "core/RuntimeState.h"
#include "core/StateManagerTypes.h"

bool IsTcpReady(const TcpReadyFacts& facts) {
    return !facts.hidForced && facts.remoteControlActive && facts.inputConnected &&
           facts.inputChannelState == static_cast<int32_t>(ChannelState::Connected);
}

bool IsRemoteControlActive(const RuntimeSnapshot& snapshot, bool controllerSessionRunning) {
    const int32_t state = snapshot.programState;
    return controllerSessionRunning && snapshot.appRunning && snapshot.clientRunning &&
           snapshot.role == static_cast<int32_t>(RuntimeRole::Controller) &&
           state != static_cast<int32_t>(ProgramState::Idle) &&
           state != static_cast<int32_t>(ProgramState::PeerLost) &&
           state != static_cast<int32_t>(ProgramState::Stopping);
}

RouteChoice ChooseInputRoute(bool tcpReady, bool hidForced, int32_t previousRoute, int32_t hidCached,
                             int32_t hidAvailable) {
    RouteChoice choice;
    if (tcpReady) {
        choice.route = kAutoRouteTcp;
        choice.cancelHidQueue = previousRoute != kAutoRouteTcp;
        choice.reason = "tcp-input-ready";
    } else {
        choice.hid = true;
        choice.route = kAutoRouteHid;
        choice.startProbe = hidCached != 1 && hidAvailable != 1;
        choice.startWorker = true;
        choice.reason = hidForced ? "forced-hid" : "tcp-input-not-ready-prewin";
    }
    choice.changed = previousRoute != choice.route;
    return choice;
}
