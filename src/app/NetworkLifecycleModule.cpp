#include "app/NetworkLifecycleModule.h"

#include "core/Log.h"

bool NetworkLifecycleModule::Start() {
    Log::Write("[NET][SERVICE] init");
    return true;
}

// The network service's flags do not exist yet: nothing to clear.
void NetworkLifecycleModule::Stop() {}
