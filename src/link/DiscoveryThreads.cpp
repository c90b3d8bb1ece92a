#include "link/DiscoveryThreads.h"

#include <chrono>
#include <condition_variable>
#include <exception>
#include <utility>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/ThreadHelpers.h"
#include "link/DiscoveryRun.h"
#include "link/DiscoveryService.h"
#include "core/StateManager.h"

namespace Discovery {

namespace {

enum Slot { kBroadcastSlot = 0, kControlSlot = 1, kVisibilitySlot = 2, kQualitySlot = 3 };

struct SlotNames {
    const char* thread;  // the thread's own name in its log lines
    const char* owner;   // the label when it is detached at Stop
    const char* partial; // the label when Start gave up
};

constexpr SlotNames kNames[] = {
    {"DiscoveryBroadcast", "Discovery::g_discThread", "Discovery::g_discThread(partial)"},
    {"DiscoveryControl", "Discovery::g_controlThread", "Discovery::g_controlThread(partial)"},
    {"VideoVisibilitySync", "Discovery::g_visibilitySyncThread",
     "Discovery::g_visibilitySyncThread(partial)"},
    {"VideoQualitySync", "Discovery::g_qualitySyncThread", "Discovery::g_qualitySyncThread(partial)"},
};

constexpr Slot kStopOrder[] = {kVisibilitySlot, kQualitySlot, kBroadcastSlot, kControlSlot};

std::thread LaunchStdThread(std::function<void()> work) {
    return std::thread(std::move(work));
}

} // namespace

// Which threads of a run have left their procedure; shared by the threads and Stop.
struct DiscoveryThreads::Ends {
    std::mutex mutex;
    std::condition_variable changed;
    bool ended[kThreadCount] = {};

    void Mark(int slot) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            ended[slot] = true;
        }
        changed.notify_all();
    }
    // Waits until every slot in `started` has ended or the time is up; returns which have ended.
    void Wait(const bool (&started)[kThreadCount], uint32_t timeoutMs, bool (&result)[kThreadCount]) {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
            for (int i = 0; i < kThreadCount; ++i)
                if (started[i] && !ended[i])
                    return false;
            return true;
        });
        for (int i = 0; i < kThreadCount; ++i)
            result[i] = ended[i];
    }
};

namespace {

void RunThread(const char* name, const std::shared_ptr<DiscoveryRun>& run, const ThreadBody& body) {
    Log::Write("[THREAD][START] name=%s tid=%lu", name, Tid());
    try {
        body(*run);
    } catch (const std::exception& e) {
        Log::Write("[THREAD][EXCEPTION] name=%s tid=%lu what=%s", name, Tid(), e.what());
    } catch (...) {
        Log::Write("[THREAD][EXCEPTION] name=%s tid=%lu unknown", name, Tid());
    }
    LogThreadStop(name);
}

void ClearServiceFlag(bool changed, const char* flag) {
    if (changed)
        Log::Write("[NET][SERVICE] %s running=0 reason=discovery stop", flag);
}

} // namespace

DiscoveryThreads::DiscoveryThreads(DiscoveryService& service, ThreadBody broadcast, ThreadLauncher launcher)
    : m_service(service), m_broadcast(std::move(broadcast)),
      m_launcher(launcher ? std::move(launcher) : ThreadLauncher(&LaunchStdThread)) {}

DiscoveryThreads::~DiscoveryThreads() {
    Stop();
}

bool DiscoveryThreads::Start(const std::function<void()>& prepare) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_running)
        return true;
    m_running = true;
    auto run = std::make_shared<DiscoveryRun>();
    auto ends = std::make_shared<Ends>();
    m_run = run;
    m_ends = ends;
    m_service.DiscardPendingPeerLoss();
    m_service.Reactions().MarkVisibilityUnconfirmed();
    m_service.RequestBroadcastNow();
    if (prepare)
        prepare();

    DiscoveryService& service = m_service;
    const ThreadBody bodies[kThreadCount] = {
        m_broadcast,
        [&service](const DiscoveryRun& r) { service.Reactions().RunControlServer(r); },
        [&service](const DiscoveryRun& r) { service.Reactions().RunVisibilitySync(r); },
        [&service](const DiscoveryRun& r) { service.Reactions().RunQualitySync(r); },
    };
    for (int slot = 0; slot < kThreadCount; ++slot) {
        bool launched = false;
        try {
            m_threads[slot] = m_launcher([run, ends, slot, body = bodies[slot]] {
                RunThread(kNames[slot].thread, run, body);
                ends->Mark(slot);
            });
            launched = true;
        } catch (const std::exception& e) {
            Log::Write("DiscoveryStart thread create failed: %s", e.what());
        } catch (...) {
            Log::Write("DiscoveryStart thread create failed: unknown exception");
        }
        if (launched)
            continue;
        m_running = false;
        run->RequestStop();
        m_service.Reactions().WakeSyncWorkers();
        for (int started = 0; started < slot; ++started)
            DetachWorkerThread(m_threads[started], kNames[started].partial);
        m_run.reset();
        m_ends.reset();
        return false;
    }
    return true;
}

void DiscoveryThreads::Stop() {
    std::lock_guard<std::mutex> lock(m_mutex);
    StateManager& state = RuntimeStateManager();
    ClearServiceFlag(state.SetDiscoveryRunning(false, "discovery stop"), "discovery");
    ClearServiceFlag(state.SetControlRunning(false, "discovery stop"), "control");
    bool wasRunning = std::exchange(m_running, false);
    if (m_run)
        m_run->RequestStop();
    m_service.Reactions().WakeSyncWorkers();
    Log::Write("DiscoveryStop wasRunning=%d", wasRunning ? 1 : 0);

    bool started[kThreadCount] = {};
    bool ended[kThreadCount] = {};
    for (int slot = 0; slot < kThreadCount; ++slot)
        started[slot] = m_threads[slot].joinable();
    if (m_ends)
        m_ends->Wait(started, kStopWaitMs, ended);
    for (Slot slot : kStopOrder) {
        std::thread& thread = m_threads[slot];
        // A thread never joins itself (a reaction on a discovery thread may stop the service).
        if (thread.joinable() && ended[slot] && thread.get_id() != std::this_thread::get_id())
            thread.join();
        else
            DetachWorkerThread(thread, kNames[slot].owner);
    }
    m_run.reset();
    m_ends.reset();
}

} // namespace Discovery
