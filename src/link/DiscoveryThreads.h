#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class DiscoveryRun;

namespace Discovery {

class DiscoveryService;

// Starts a thread that runs work; throws what std::thread throws (std::system_error) when it cannot.
using ThreadLauncher = std::function<std::thread(std::function<void()>)>;
using ThreadBody = std::function<void(const DiscoveryRun&)>;

// The four long-lived threads of the discovery service, from Start to Stop: DiscoveryBroadcast (the body
// given here), DiscoveryControl, VideoVisibilitySync and VideoQualitySync (the bodies of the installed
// reactions). Each thread logs "[THREAD][START] name=%s tid=%lu" and its stop line, and catches everything
// ("[THREAD][EXCEPTION] name=%s tid=%lu what=%s" or "... unknown"). Start and Stop may be called from any
// thread, in any order; they are serialised.
class DiscoveryThreads {
public:
    // Stop waits up to this long, in all, for the four threads to end; one still running is then detached.
    static constexpr uint32_t kStopWaitMs = 1000;

    // The service must outlive this object. An empty launcher starts std::thread.
    DiscoveryThreads(DiscoveryService& service, ThreadBody broadcast, ThreadLauncher launcher = {});
    ~DiscoveryThreads();
    DiscoveryThreads(const DiscoveryThreads&) = delete;
    DiscoveryThreads& operator=(const DiscoveryThreads&) = delete;

    // True at once when running. Otherwise sets the run flag, drops a peer loss noticed while stopped (it is
    // stale), marks visibility unconfirmed, sets the broadcast-now flag, calls prepare (which builds the
    // local identity) and starts the four threads. When one cannot be started: logs "DiscoveryStart thread
    // create failed: %s" (or "...: unknown exception"), stops the run, wakes the sync workers, detaches the
    // threads already started ("...(partial)") and returns false.
    bool Start(const std::function<void()>& prepare = {});

    // Safe without Start and when called twice. Clears the state manager's discovery-running and
    // control-running flags (logging "[NET][SERVICE] discovery running=%d reason=%s" and
    // "[NET][SERVICE] control running=%d reason=%s" with "discovery stop" when they were set), stops the run,
    // wakes the sync workers, logs "DiscoveryStop wasRunning=%d" and waits up to kStopWaitMs for the threads.
    // Each one that ended is joined; any other is handed to DetachWorkerThread, in this order:
    // "Discovery::g_visibilitySyncThread", "Discovery::g_qualitySyncThread", "Discovery::g_discThread",
    // "Discovery::g_controlThread". The broadcast thread closes its sockets before it ends, so the next Start
    // binds again.
    void Stop();

private:
    struct Ends;
    static constexpr int kThreadCount = 4;

    DiscoveryService& m_service;
    ThreadBody m_broadcast;
    ThreadLauncher m_launcher;
    std::mutex m_mutex; // serialises Start and Stop; guards everything below
    bool m_running = false;
    std::shared_ptr<DiscoveryRun> m_run;
    std::shared_ptr<Ends> m_ends;
    std::thread m_threads[kThreadCount];
};

} // namespace Discovery
