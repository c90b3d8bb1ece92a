#include "app/AppLifecycle.h"

#include <chrono>
#include <cstdarg>
#include <exception>

#include "core/Log.h"
#include "core/LogWriter.h"
#include "core/StateManagerTypes.h"

namespace {

const char* ServiceNote(const IAppLifecycleModule& module) {
    return module.ServicePending() ? " service=pending" : "";
}

} // namespace

AppLifecycle::AppLifecycle(AppLifecycleModuleList startOrder, AppLifecycleModuleList stopOrder,
                           IAppLifecycleHost& host, LogWriter* log, uint32_t secondRequestWaitMs)
    : m_startOrder(startOrder), m_stopOrder(stopOrder), m_host(host), m_log(log),
      m_secondRequestWaitMs(secondRequestWaitMs) {}

void AppLifecycle::Write(const char* format, ...) {
    va_list args;
    va_start(args, format);
    WriteThrough(m_log, format, args);
    va_end(args);
}

bool AppLifecycle::AllowLine(const char* throttleKey, uint32_t intervalMs) {
    uint32_t now = m_log != nullptr ? m_log->Platform().TickCount() : Log::TickCount();
    return m_throttle.Allow(throttleKey, intervalMs, now);
}

bool AppLifecycle::StartAll() {
    if (m_shuttingDown.load()) {
        if (AllowLine("lifecycle.start.shutdown", 1000))
            Write("AppLifecycleStartAll ignored: application is shutting down");
        return false;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_shuttingDown.load()) {
        if (AllowLine("lifecycle.start.shutdown.lock", 1000))
            Write("AppLifecycleStartAll ignored after lock: application is shutting down");
        return false;
    }
    if (m_started.exchange(true)) {
        if (AllowLine("lifecycle.start.already", 5000))
            Write("AppLifecycleStartAll ignored: already started");
        return true;
    }
    Write("AppLifecycleStartAll begin");
    bool allOk = true;
    for (IAppLifecycleModule* module : m_startOrder) {
        bool ok = StartModule(*module);
        Write("Lifecycle start module=%s ok=%d%s", module->Name(), ok ? 1 : 0, ServiceNote(*module));
        allOk = allOk && ok;
    }
    Write("AppLifecycleStartAll end ok=%d", allOk ? 1 : 0);
    return allOk;
}

// A module that throws counts as failed; the others still start.
bool AppLifecycle::StartModule(IAppLifecycleModule& module) {
    try {
        return module.Start();
    } catch (const std::exception& e) {
        Write("[LIFECYCLE][ERR] module=%s start exception what=%s", module.Name(), e.what());
    } catch (...) {
        Write("[LIFECYCLE][ERR] module=%s start exception what=unknown", module.Name());
    }
    return false;
}

// Shutdown goes on past a module that throws: every other module is still stopped.
void AppLifecycle::StopModule(IAppLifecycleModule& module) {
    try {
        module.Stop();
    } catch (const std::exception& e) {
        Write("[LIFECYCLE][ERR] module=%s stop exception what=%s", module.Name(), e.what());
    } catch (...) {
        Write("[LIFECYCLE][ERR] module=%s stop exception what=unknown", module.Name());
    }
}

void AppLifecycle::StopAll(const char* reason) {
    const char* why = reason != nullptr ? reason : "application shutdown";
    long alreadyRequested = m_shutdownRequested.exchange(1);
    Write("Shutdown request reason=%s alreadyStarted=%ld", reason != nullptr ? reason : "", alreadyRequested);
    if (alreadyRequested != 0) {
        m_host.MarkAppStopped();
        WaitForFirstStop(why);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(m_stopDoneMutex);
        m_stoppingThread = std::this_thread::get_id();
    }
    if (!m_shuttingDown.exchange(true))
        Write("[LIFECYCLE][SHUTDOWN] begin reason=%s", why);
    m_host.StopAutoConnect();
    m_host.MarkAppStopped();
    StopModules(why);
    Write("Shutdown complete");
    {
        std::lock_guard<std::mutex> lock(m_stopDoneMutex);
        m_stopDone = true;
    }
    m_stopDoneChanged.notify_all();
}

void AppLifecycle::StopModules(const char* reason) {
    std::lock_guard<std::mutex> lock(m_mutex);
    bool wasStarted = m_started.exchange(false);
    Write("AppLifecycleStopAll begin reason=%s wasStarted=%d", reason, wasStarted ? 1 : 0);
    for (IAppLifecycleModule* module : m_stopOrder) {
        Write("Lifecycle stop module=%s%s", module->Name(), ServiceNote(*module));
        StopModule(*module);
    }
    for (int channel = 0; channel < kChannelCount; ++channel)
        m_host.SetChannelState(channel, static_cast<int>(ChannelState::Disconnected), reason);
    Write("AppLifecycleStopAll end");
}

// A later request returns only once the modules are stopped (or the wait ran out), so that its caller's own
// shutdown steps never overlap a module's Stop on another thread. A request made from inside the stop
// itself (a module's Stop) must not wait for itself.
void AppLifecycle::WaitForFirstStop(const char* reason) {
    std::unique_lock<std::mutex> lock(m_stopDoneMutex);
    if (m_stoppingThread == std::this_thread::get_id())
        return;
    bool done = m_stopDoneChanged.wait_for(lock, std::chrono::milliseconds(m_secondRequestWaitMs),
                                           [this] { return m_stopDone; });
    lock.unlock();
    if (!done)
        Write("[LIFECYCLE][SHUTDOWN][WARN] first stop still running after %lu ms reason=%s",
              static_cast<unsigned long>(m_secondRequestWaitMs), reason);
}
