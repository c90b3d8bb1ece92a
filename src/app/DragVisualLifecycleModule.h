#pragma once

#include <atomic>

#include "app/AppLifecycleModule.h"

// The drag overlay window and its thread. The overlay starts on demand (the first drag that shows it);
// the module only ends it at shutdown.
class DragVisualLifecycleModule final : public IAppLifecycleModule {
public:
    using StopFn = void (*)();

    // The overlay lives on a Win32 thread, so start-up binds its stop before the modules start.
    static void BindOverlayStop(StopFn stop);

    const char* Name() const override { return "DragVisualOverlay"; }
    bool Start() override;
    void Stop() override;
    bool ServicePending() const override { return s_stop.load() == nullptr; }

private:
    static inline std::atomic<StopFn> s_stop{nullptr};
};
