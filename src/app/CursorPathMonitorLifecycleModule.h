#pragma once

#include "app/AppLifecycleModule.h"

// The monitor of the folder under the cursor during a drag.
class CursorPathMonitorLifecycleModule final : public IAppLifecycleModule {
public:
    const char* Name() const override { return "CursorPathMonitorDll"; }
    bool Start() override;
    void Stop() override;
    bool ServicePending() const override { return true; }
};
