#include "app/MouseMonitorLifecycleModule.h"

void MouseMonitorLifecycleModule::BindService(StartFn start, StopFn stop) {
    s_start.store(start);
    s_stop.store(stop);
}

bool MouseMonitorLifecycleModule::Start() {
    StartFn start = s_start.load();
    return start == nullptr || start();
}

// Only clears the monitor's running flag: its thread ends at its next poll and is not waited for.
void MouseMonitorLifecycleModule::Stop() {
    if (StopFn stop = s_stop.load())
        stop();
}
