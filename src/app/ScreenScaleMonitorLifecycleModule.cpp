#include "app/ScreenScaleMonitorLifecycleModule.h"

// The service is not built yet: nothing to start or stop.
bool ScreenScaleMonitorLifecycleModule::Start() {
    return true;
}

void ScreenScaleMonitorLifecycleModule::Stop() {}
