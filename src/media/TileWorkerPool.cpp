#include "media/TileWorkerPool.h"

#include <string>
#include <utility>

#include "core/Log.h"

TileWorkerPool::TileWorkerPool(WorkerThread::Launcher launcher)
    : m_workers{WorkerThread(launcher), WorkerThread(launcher), WorkerThread(launcher),
                WorkerThread(launcher)} {
    for (uint64_t i = 0; i < kWorkers; ++i) {
        std::string error;
        if (!m_workers[i].Start(
                "TileWorker", [this, i](const StopSignal&) { Serve(i); }, &error)) {
            Log::Write("[QUALITY][POOL] worker=%llu start failed error=%s",
                       static_cast<unsigned long long>(i), error.c_str());
            Stop();
            return;
        }
    }
    m_started = true;
}

TileWorkerPool::~TileWorkerPool() {
    Stop();
}

bool TileWorkerPool::Running() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_started && !m_stop;
}

void TileWorkerPool::Serve(uint64_t index) {
    uint64_t served = 0; // no job can be posted before every worker has started
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_work.wait(lock, [&] { return m_stop || m_generation != served; });
            // A job posted before the stop is still served, so its RunAndWait returns.
            if (m_generation == served)
                return;
            job = m_job;
            served = m_generation;
        }
        bool threw = false;
        try {
            job(index);
        } catch (...) {
            threw = true;
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        m_threw = m_threw || threw;
        if (--m_remaining == 0)
            m_done.notify_all();
    }
}

bool TileWorkerPool::RunAndWait(const Job& job) {
    std::lock_guard<std::mutex> run(m_runMutex);
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_started || m_stop)
        return false;
    m_job = job;
    m_remaining = kWorkers;
    m_threw = false;
    ++m_generation;
    m_work.notify_all();
    m_done.wait(lock, [this] { return m_remaining == 0; });
    m_job = nullptr;
    return !m_threw;
}

void TileWorkerPool::Stop() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_work.notify_all();
    for (WorkerThread& worker : m_workers)
        worker.Stop(WorkerThread::kWaitForever, "TileWorkerPool");
    std::lock_guard<std::mutex> lock(m_mutex);
    m_job = nullptr;
}
