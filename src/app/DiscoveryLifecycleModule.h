#pragma once

#include "app/AppLifecycleModule.h"

// The discovery service: broadcasts, the control server and the two sync workers.
class DiscoveryLifecycleModule final : public IAppLifecycleModule {
public:
    const char* Name() const override { return "Discovery"; }
    bool Start() override;
    void Stop() override;
    bool ServicePending() const override { return true; }
};
