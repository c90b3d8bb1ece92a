#pragma once

// A long-lived service that the application starts once its main window exists and stops at the first
// shutdown request. The module objects are process-wide and never deleted.
class IAppLifecycleModule {
public:
    virtual ~IAppLifecycleModule() = default;
    // Constant text for the log.
    virtual const char* Name() const = 0;
    virtual bool Start() = 0;
    // Must be safe when Start never ran or failed. Runs under the lifecycle lock on whichever thread asked
    // for the shutdown, possibly the UI thread: it must never wait for the UI thread.
    virtual void Stop() = 0;
    // True while the service behind the module is not built yet: Start and Stop then do nothing of their
    // own, and the module's log lines say so.
    virtual bool ServicePending() const { return false; }
};
