#include "app/TransportLifecycleModule.h"

#include "core/Log.h"

void TransportLifecycleModule::BindInputStop(CancelHidFn cancelHidQueue, StopInputFn stopInputChannel) {
    s_cancelHid.store(cancelHidQueue);
    s_stopInput.store(stopInputChannel);
}

void TransportLifecycleModule::BindAudioStop(StopAudioFn stopAudioPlayer, StopAudioFn stopAudioSender) {
    s_stopPlayer.store(stopAudioPlayer);
    s_stopSender.store(stopAudioSender);
}

// Nothing to start: the service comes up on demand.
bool TransportLifecycleModule::Start() {
    return true;
}

void TransportLifecycleModule::Stop() {
    constexpr const char* kReason = "app lifecycle";
    if (StopAudioFn stop = s_stopPlayer.load())
        stop();
    if (StopAudioFn stop = s_stopSender.load())
        stop();
    Log::Write("[INPUT][SERVICE][STOP] reason=%s", kReason);
    if (CancelHidFn cancel = s_cancelHid.load())
        cancel(kReason);
    if (StopInputFn stop = s_stopInput.load())
        stop();
}
