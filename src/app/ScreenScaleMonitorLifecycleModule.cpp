#include "app/ScreenScaleMonitorLifecycleModule.h"

void ScreenScaleMonitorLifecycleModule::BindService(StartFn start, StopFn stop) {
    s_start.store(start);
    s_stop.store(stop);
}

bool ScreenScaleMonitorLifecycleModule::Start() {
    StartFn start = s_start.load();
    return start == nullptr || start();
}

// Only clears the monitor's running flag: its thread ends at its next poll and is not waited for.
void ScreenScaleMonitorLifecycleModule::Stop() {
    if (StopFn stop = s_stop.load())
        stop();
}
