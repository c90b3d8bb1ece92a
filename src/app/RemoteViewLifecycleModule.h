#pragma once

#include "app/AppLifecycleModule.h"

// The remote-view renderer.
class RemoteViewLifecycleModule final : public IAppLifecycleModule {
public:
    const char* Name() const override { return "RemoteViewRenderer"; }
    bool Start() override;
    void Stop() override;
    bool ServicePending() const override { return true; }
};
