#pragma once

#include "app/AppLifecycleModule.h"

// The network service's discovery and control flags and the network peer-lost flag.
class NetworkLifecycleModule final : public IAppLifecycleModule {
public:
    const char* Name() const override { return "NetworkService"; }
    bool Start() override;
    void Stop() override;
};
