#include "input/MonitorThread.h"

#include <string>
#include <utility>

#include "core/Log.h"

namespace {

class LiveCount {
public:
    explicit LiveCount(std::atomic<int>& count) : m_count(count) { ++m_count; }
    ~LiveCount() { --m_count; }
    LiveCount(const LiveCount&) = delete;
    LiveCount& operator=(const LiveCount&) = delete;

private:
    std::atomic<int>& m_count;
};

} // namespace

bool MonitorThread::Start(WorkerThread::Body body) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_running.exchange(true))
        return true;
    // A thread of an earlier run may still be on its way out: it has its stop already, so let it go.
    m_worker.Stop(0, m_name);
    const char* name = m_name;
    auto run = [name, live = m_live, body = std::move(body)](const StopSignal& stop) {
        LiveCount counted(*live); // also when the body throws (the worker logs that)
        Log::Write("%s thread enter", name);
        body(stop);
        Log::Write("%s thread leave", name);
    };
    std::string error;
    if (!m_worker.Start(name, std::move(run), &error)) {
        Log::Write("%sStart failed: %s", name, error.c_str());
        m_running.store(false);
        return false;
    }
    Log::Write("%sStart ok", name);
    return true;
}

void MonitorThread::Stop() {
    std::lock_guard<std::mutex> lock(m_mutex);
    const bool wasRunning = m_running.exchange(false);
    m_worker.RequestStop();
    Log::Write("%sStop wasRunning=%d", m_name, wasRunning ? 1 : 0);
}
