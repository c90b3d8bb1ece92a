#pragma once

#include "app/AppLifecycleModule.h"

// The drag overlay window and its thread.
class DragVisualLifecycleModule final : public IAppLifecycleModule {
public:
    const char* Name() const override { return "DragVisualOverlay"; }
    bool Start() override;
    void Stop() override;
    bool ServicePending() const override { return true; }
};
