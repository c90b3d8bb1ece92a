#pragma once

#include "app/AppLifecycleModule.h"

// The host and client sessions.
class KvmSessionLifecycleModule final : public IAppLifecycleModule {
public:
    const char* Name() const override { return "KvmSessions"; }
    bool Start() override;
    void Stop() override;
};
