#include "app/RemoteViewLifecycleModule.h"

// Nothing to start: the service comes up on demand.
bool RemoteViewLifecycleModule::Start() {
    return true;
}

// The renderer is not built yet: nothing to stop.
void RemoteViewLifecycleModule::Stop() {}
