#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <thread>

#include "app/AppLifecycleModule.h"
#include "core/LogThrottle.h"
#include "core/Printf.h"

class LogWriter;

// What stopping the modules needs from the rest of the program.
class IAppLifecycleHost {
public:
    virtual ~IAppLifecycleHost() = default;
    virtual void StopAutoConnect() = 0;
    // Refuses every later session start, then clears the running flag of the runtime state and of the state
    // manager, and raises the runtime change notice when the runtime flag was set.
    virtual void MarkAppStopped() = 0;
    virtual void SetChannelState(int channel, int state, const char* reason) = 0;
};

using AppLifecycleModuleList = std::span<IAppLifecycleModule* const>;

// Starts the modules once and stops them once, at the first shutdown request. One mutex serialises start
// and stop; a start after the first shutdown request is refused.
class AppLifecycle {
public:
    // How long a later shutdown request waits for the first one to finish stopping the modules, so that the
    // caller does not tear down what a module is still stopping with.
    static constexpr uint32_t kSecondRequestWaitMs = 5000;

    // A null log writes through the process-wide log.
    AppLifecycle(AppLifecycleModuleList startOrder, AppLifecycleModuleList stopOrder, IAppLifecycleHost& host,
                 LogWriter* log = nullptr, uint32_t secondRequestWaitMs = kSecondRequestWaitMs);

    // The AND of every module's result; true without starting anything when already started.
    bool StartAll();
    // A null reason is "application shutdown".
    void StopAll(const char* reason);

    // Started and not stopped since; the first shutdown request was made.
    bool IsStarted() const { return m_started.load(); }
    bool IsShuttingDown() const { return m_shuttingDown.load(); }

private:
    void Write(const char* format, ...) TSLY_PRINTF(2, 3);
    bool AllowLine(const char* throttleKey, uint32_t intervalMs);
    bool StartModule(IAppLifecycleModule& module);
    void StopModule(IAppLifecycleModule& module);
    void StopModules(const char* reason);
    void WaitForFirstStop(const char* reason);

    AppLifecycleModuleList m_startOrder;
    AppLifecycleModuleList m_stopOrder;
    IAppLifecycleHost& m_host;
    LogWriter* m_log;
    uint32_t m_secondRequestWaitMs;
    ThrottleTable m_throttle;

    std::mutex m_mutex; // the lifecycle lock: one start or stop at a time
    std::atomic<bool> m_started{false};
    std::atomic<bool> m_shuttingDown{false};
    std::atomic<long> m_shutdownRequested{0};

    std::mutex m_stopDoneMutex;
    std::condition_variable m_stopDoneChanged;
    bool m_stopDone = false;
    std::thread::id m_stoppingThread;
};

// The process-wide lifecycle over the ten modules of the application.
bool AppLifecycleStartAll();
void AppLifecycleStopAll(const char* reason);
bool AppLifecycleIsStarted();
bool AppLifecycleIsShuttingDown();
