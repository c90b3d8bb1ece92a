#include "app/MouseMonitorLifecycleModule.h"

// The service is not built yet: nothing to start or stop.
bool MouseMonitorLifecycleModule::Start() {
    return true;
}

void MouseMonitorLifecycleModule::Stop() {}
