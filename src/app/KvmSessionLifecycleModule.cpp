#include "app/KvmSessionLifecycleModule.h"

#include "link/KvmSessionManager.h"

// Nothing to start: sessions come up on demand.
bool KvmSessionLifecycleModule::Start() {
    return true;
}

void KvmSessionLifecycleModule::Stop() {
    KvmSessionManager::Instance().StopAllSessions("lifecycle stop");
}
