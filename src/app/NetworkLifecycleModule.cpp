#include "app/NetworkLifecycleModule.h"

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StateManager.h"

bool NetworkLifecycleModule::Start() {
    Log::Write("[NET][SERVICE] init");
    return true;
}

// Runs last in the stop order, after discovery has stopped: whatever discovery left set is cleared here, so
// the state shows no network service running and no peer lost once the program has shut down.
void NetworkLifecycleModule::Stop() {
    StateManager& state = RuntimeStateManager();
    state.SetDiscoveryRunning(false);
    state.SetControlRunning(false);
    state.SetNetworkPeerLost(false, "", "network service shutdown");
    Log::Write("[NET][SERVICE] shutdown");
}
