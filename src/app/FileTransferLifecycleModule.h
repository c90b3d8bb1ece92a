#pragma once

#include "app/AppLifecycleModule.h"

// The HTTP file server and the receive manager.
class FileTransferLifecycleModule final : public IAppLifecycleModule {
public:
    const char* Name() const override { return "FileTransferService"; }
    bool Start() override;
    void Stop() override;
    bool ServicePending() const override { return true; }
};
