#pragma once

#include <atomic>

#include "app/AppLifecycleModule.h"

// The HTTP file server and the receive manager.
class FileTransferLifecycleModule final : public IAppLifecycleModule {
public:
    using StartFn = bool (*)();
    using StopFn = void (*)();

    // The service runs on the platform's sockets and files, so start-up binds it before the modules start.
    static void BindService(StartFn start, StopFn stop);

    const char* Name() const override { return "FileTransferService"; }
    bool Start() override;
    void Stop() override;
    bool ServicePending() const override { return s_start.load() == nullptr; }

private:
    static inline std::atomic<StartFn> s_start{nullptr};
    static inline std::atomic<StopFn> s_stop{nullptr};
};
