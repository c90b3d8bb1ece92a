#pragma once

#include "app/AppLifecycleModule.h"

// The monitor of the main window's screen size and scaling.
class ScreenScaleMonitorLifecycleModule final : public IAppLifecycleModule {
public:
    const char* Name() const override { return "ScreenScaleMonitorDll"; }
    bool Start() override;
    void Stop() override;
    bool ServicePending() const override { return true; }
};
