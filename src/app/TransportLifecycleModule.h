#pragma once

#include "app/AppLifecycleModule.h"

// The audio sender and player, the clipboard channel and the input channel.
class TransportLifecycleModule final : public IAppLifecycleModule {
public:
    const char* Name() const override { return "TransportChannels"; }
    bool Start() override;
    void Stop() override;
    bool ServicePending() const override { return true; }
};
