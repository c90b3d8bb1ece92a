#include "media/ControllerSessionLive.h"

#include "core/RuntimeState.h"

bool IsControllerSessionLive(const RuntimeSnapshot& snapshot) {
    return snapshot.appRunning && snapshot.clientRunning &&
           snapshot.role == static_cast<int32_t>(RuntimeRole::Controller);
}

bool IsControllerSessionLive() {
    return IsControllerSessionLive(RuntimeMakeSnapshot());
}

bool IsDragTransferActive(const RuntimeSnapshot& snapshot) {
    return snapshot.remoteDragActive && snapshot.remoteDragCount >= 1;
}

bool IsDragTransferActive() {
    return IsDragTransferActive(RuntimeMakeSnapshot());
}
