#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <utility>

#include "core/WorkerThread.h"

// Start and stop of one polling monitor, for its exported functions and its lifecycle module alike (any
// thread may call them). Each run has its own stop signal, so a Stop followed at once by a Start, while
// the old thread still sleeps, ends the old thread at its wake-up instead of leaving two polling.
class MonitorThread {
public:
    // name: a literal such as "MouseMonitorDll"; it names the thread and starts every log line. Tests
    // inject a launcher that fails.
    explicit MonitorThread(const char* name, WorkerThread::Launcher launcher = {})
        : m_name(name), m_worker(std::move(launcher)) {}
    MonitorThread(const MonitorThread&) = delete;
    MonitorThread& operator=(const MonitorThread&) = delete;

    // True when running, also when it already was (then nothing starts). The body polls until its stop
    // signal is set; it runs between the "%s thread enter" and "%s thread leave" lines. Logs "%sStart ok",
    // or "%sStart failed: %s" and returns false when no thread could be created.
    bool Start(WorkerThread::Body body);
    // Clears the running flag and asks the thread to stop without waiting; logs "%sStop wasRunning=%d".
    void Stop();
    bool Running() const { return m_running.load(); }
    // Threads inside their body: 1 while running; for a moment 2 while a stopped run is on its way out.
    int LiveThreads() const { return m_live->load(); }

private:
    const char* m_name;
    std::mutex m_mutex; // serialises Start and Stop around m_worker
    std::atomic<bool> m_running{false};
    // Shared with the threads: a detached one may leave after its monitor is gone.
    std::shared_ptr<std::atomic<int>> m_live = std::make_shared<std::atomic<int>>(0);
    WorkerThread m_worker;
};
