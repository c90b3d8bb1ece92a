#include "ui/SessionRoles.h"

#include "core/RuntimeState.h"

bool IsThisPcController(int32_t role, bool clientRunning, bool hostRunning) {
    if (role == static_cast<int32_t>(RuntimeRole::Controller))
        return true;
    return role != static_cast<int32_t>(RuntimeRole::Controlled) && clientRunning && !hostRunning;
}

bool IsThisPcController(const RuntimeSnapshot& snapshot) {
    return IsThisPcController(snapshot.role, snapshot.clientRunning, snapshot.hostRunning);
}

bool IsControlledHostState(const RuntimeSnapshot& snapshot) {
    return snapshot.appRunning && snapshot.role == static_cast<int32_t>(RuntimeRole::Controlled) &&
           snapshot.programState == static_cast<int32_t>(ProgramState::Controlled) && snapshot.hostRunning &&
           !snapshot.clientRunning;
}

bool ControlViewShouldShow(int32_t programState) {
    return programState != static_cast<int32_t>(ProgramState::Controlling);
}

bool AutoHideLatch::Update(bool controlledHost) {
    if (!controlledHost) {
        m_hidden = false;
        return false;
    }
    if (m_hidden)
        return false;
    m_hidden = true;
    return true;
}
