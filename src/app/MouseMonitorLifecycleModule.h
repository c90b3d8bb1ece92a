#pragma once

#include "app/AppLifecycleModule.h"

// The mouse position and button monitor.
class MouseMonitorLifecycleModule final : public IAppLifecycleModule {
public:
    const char* Name() const override { return "MouseMonitorDll"; }
    bool Start() override;
    void Stop() override;
    bool ServicePending() const override { return true; }
};
