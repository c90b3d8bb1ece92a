#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

#include "link/DevicePresence.h"

// The presence monitor: a thread with a hidden notification window that rescans on device changes and
// polls as a fallback (DevicePresencePolicy.h). Start once, stop at shutdown; Stop never waits for the
// thread, it detaches it.
//
// Each run owns its stop event and device-change flag in a block shared with its thread: Stop signals the
// event and drops its own reference, and the event is closed only when the thread has left, so a thread
// that is still waiting after Stop (or after a later Start) never touches a closed handle.
class DevicePresenceMonitor {
public:
    // The presence record must outlive the monitor's threads: the process-wide one is never destroyed.
    explicit DevicePresenceMonitor(DevicePresence& presence);
    DevicePresenceMonitor(const DevicePresenceMonitor&) = delete;
    DevicePresenceMonitor& operator=(const DevicePresenceMonitor&) = delete;

    // Starts the monitor unless it runs; scans first ("start") when nothing was published yet. False when
    // the stop event or the thread could not be created (logged; the monitor stays stopped).
    bool Start();
    // Signals the running monitor to stop and detaches its thread ("DevicePresence::Stop").
    void Stop();
    bool IsRunning() const { return m_running.load(); }

    struct Run;

private:
    DevicePresence& m_presence;
    std::atomic<bool> m_running{false};
    std::mutex m_mutex; // the thread and the current run
    std::thread m_thread;
    std::shared_ptr<Run> m_run;
};
