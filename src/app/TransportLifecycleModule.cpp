#include "app/TransportLifecycleModule.h"

#include "core/Log.h"

void TransportLifecycleModule::BindInputStop(CancelHidFn cancelHidQueue, StopInputFn stopInputChannel) {
    s_cancelHid.store(cancelHidQueue);
    s_stopInput.store(stopInputChannel);
}

// Nothing to start: the service comes up on demand.
bool TransportLifecycleModule::Start() {
    return true;
}

void TransportLifecycleModule::Stop() {
    constexpr const char* kReason = "app lifecycle";
    Log::Write("[INPUT][SERVICE][STOP] reason=%s", kReason);
    if (CancelHidFn cancel = s_cancelHid.load())
        cancel(kReason);
    if (StopInputFn stop = s_stopInput.load())
        stop();
}
