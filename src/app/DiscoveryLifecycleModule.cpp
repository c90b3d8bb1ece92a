#include "app/DiscoveryLifecycleModule.h"

void DiscoveryLifecycleModule::BindService(StartFn start, StopFn stop) {
    s_start.store(start);
    s_stop.store(stop);
}

bool DiscoveryLifecycleModule::Start() {
    StartFn start = s_start.load();
    return start == nullptr || start();
}

void DiscoveryLifecycleModule::Stop() {
    if (StopFn stop = s_stop.load())
        stop();
}
