#include "app/CursorPathMonitorLifecycleModule.h"

void CursorPathMonitorLifecycleModule::BindService(StartFn start, StopFn stop) {
    s_start.store(start);
    s_stop.store(stop);
}

bool CursorPathMonitorLifecycleModule::Start() {
    StartFn start = s_start.load();
    return start == nullptr || start();
}

// Only clears the monitor's running flag: its thread ends at its next poll and is not waited for.
void CursorPathMonitorLifecycleModule::Stop() {
    if (StopFn stop = s_stop.load())
        stop();
}
