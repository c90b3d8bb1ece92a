#pragma once

#include <atomic>

#include "app/AppLifecycleModule.h"

// The monitor of the folder under the cursor during a drag.
class CursorPathMonitorLifecycleModule final : public IAppLifecycleModule {
public:
    using StartFn = bool (*)();
    using StopFn = void (*)();

    // The monitor polls Win32, so start-up binds its exported start and stop before the modules start.
    static void BindService(StartFn start, StopFn stop);

    const char* Name() const override { return "CursorPathMonitorDll"; }
    bool Start() override;
    void Stop() override;
    bool ServicePending() const override { return s_start.load() == nullptr; }

private:
    static inline std::atomic<StartFn> s_start{nullptr};
    static inline std::atomic<StopFn> s_stop{nullptr};
};
