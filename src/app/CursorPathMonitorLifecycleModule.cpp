#include "app/CursorPathMonitorLifecycleModule.h"

// The service is not built yet: nothing to start or stop.
bool CursorPathMonitorLifecycleModule::Start() {
    return true;
}

void CursorPathMonitorLifecycleModule::Stop() {}
