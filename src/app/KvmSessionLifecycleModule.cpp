#include "app/KvmSessionLifecycleModule.h"

// Nothing to start: the service comes up on demand.
bool KvmSessionLifecycleModule::Start() {
    return true;
}

// The session manager is not built yet: nothing to stop.
void KvmSessionLifecycleModule::Stop() {}
