#include "ui/ControlViewClick.h"

#include "core/RuntimeState.h"

bool IsControlViewSessionActive(int32_t programState) {
    switch (static_cast<ProgramState>(programState)) {
    case ProgramState::HostStarting:
    case ProgramState::ClientStarting:
    case ProgramState::Connecting:
    case ProgramState::Controlling:
    case ProgramState::Controlled:
    case ProgramState::Switching:
    case ProgramState::Stopping:
        return true;
    default:
        return false;
    }
}

ControlViewClick DecideControlViewClick(int32_t programState, bool cablePresent, size_t discoveredPeers) {
    if (IsControlViewSessionActive(programState))
        return ControlViewClick::Disconnect;
    if (!cablePresent)
        return ControlViewClick::CableMissing;
    return discoveredPeers > 0 ? ControlViewClick::Connect : ControlViewClick::NoDevice;
}
