#include "app/DiscoveryLifecycleModule.h"

// The service is not built yet: nothing to start or stop.
bool DiscoveryLifecycleModule::Start() {
    return true;
}

void DiscoveryLifecycleModule::Stop() {}
