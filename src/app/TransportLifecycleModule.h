#pragma once

#include <atomic>

#include "app/AppLifecycleModule.h"

// The audio sender and player, the clipboard channel and the input channel.
class TransportLifecycleModule final : public IAppLifecycleModule {
public:
    using CancelHidFn = void (*)(const char* reason);
    using StopInputFn = void (*)();
    using StopAudioFn = void (*)();

    // The channels are Win32 services: start-up binds their stops before the modules start.
    static void BindInputStop(CancelHidFn cancelHidQueue, StopInputFn stopInputChannel);
    static void BindAudioStop(StopAudioFn stopAudioPlayer, StopAudioFn stopAudioSender);

    const char* Name() const override { return "TransportChannels"; }
    bool Start() override;
    void Stop() override;
    bool ServicePending() const override { return true; }

private:
    static inline std::atomic<CancelHidFn> s_cancelHid{nullptr};
    static inline std::atomic<StopInputFn> s_stopInput{nullptr};
    static inline std::atomic<StopAudioFn> s_stopPlayer{nullptr};
    static inline std::atomic<StopAudioFn> s_stopSender{nullptr};
};
