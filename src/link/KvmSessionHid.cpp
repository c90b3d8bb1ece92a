#include "link/KvmSessionHid.h"

#include "core/Log.h"
#include "link/SessionControllerServices.h"
#include "core/StateManager.h"

bool ForceHidFallback(StateManager& state, SessionControllerServices& services) {
    if (state.ExchangeHidForced(true))
        return false;
    state.SetInputRoute(InputRoute::Hid, "ForceHidFallback");
    services.StartHidWorker();
    services.StartHidProbe("force-hid");
    Log::Write("[HIDASYNC][FORCE] fallback=%d cachedHid=%d", 1, services.CachedHidState() ? 1 : 0);
    return true;
}

bool ReleaseHidFallback(StateManager& state, SessionControllerServices& services) {
    if (!state.ExchangeHidForced(false))
        return false;
    state.SetInputRoute(InputRoute::Tcp, "ReleaseHidFallback");
    services.CancelHidQueue("fallback-disabled");
    Log::Write("[HIDASYNC][FORCE] fallback=%d cachedHid=%d", 0, services.CachedHidState() ? 1 : 0);
    return true;
}
