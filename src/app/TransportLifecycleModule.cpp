#include "app/TransportLifecycleModule.h"

// Nothing to start: the service comes up on demand.
bool TransportLifecycleModule::Start() {
    return true;
}

// The channels are not built yet: nothing to stop.
void TransportLifecycleModule::Stop() {}
