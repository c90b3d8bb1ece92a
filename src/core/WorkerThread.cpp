#include "core/WorkerThread.h"

#include <chrono>
#include <exception>
#include <utility>

#include "core/Log.h"
#include "core/ThreadHelpers.h"

bool StopSignal::StopRequested() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_stop;
}

bool StopSignal::WaitFor(uint32_t ms) const {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_stop; });
    return m_stop;
}

void StopSignal::RequestStop() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
}

namespace {

std::thread LaunchStdThread(std::function<void()> work) {
    return std::thread(std::move(work));
}

void RunBody(const char* name, const StopSignal& signal, const WorkerThread::Body& body) {
    Log::Write("[THREAD][START] name=%s tid=%lu", name, Tid());
    try {
        body(signal);
    } catch (const std::exception& e) {
        Log::Write("[THREAD][EXCEPTION] name=%s tid=%lu what=%s", name, Tid(), e.what());
    } catch (...) {
        Log::Write("[THREAD][EXCEPTION] name=%s tid=%lu unknown", name, Tid());
    }
    LogThreadStop(name);
}

} // namespace

WorkerThread::WorkerThread(Launcher launcher) : m_launcher(std::move(launcher)) {}

WorkerThread::~WorkerThread() {
    RequestStop();
    DetachWorkerThread(m_thread, "WorkerThread(destroyed)");
}

bool WorkerThread::Start(const char* name, Body body, std::string* error) {
    if (m_thread.joinable()) {
        if (error != nullptr)
            *error = "a thread is still held";
        return false;
    }
    auto run = std::make_shared<Run>();
    const char* threadName = name != nullptr ? name : "worker";
    auto work = [run, threadName, body = std::move(body)] {
        RunBody(threadName, *run->signal, body);
        {
            std::lock_guard<std::mutex> lock(run->mutex);
            run->done = true;
        }
        run->ended.notify_all();
    };
    try {
        m_thread = m_launcher ? m_launcher(std::move(work)) : LaunchStdThread(std::move(work));
    } catch (const std::exception& e) {
        if (error != nullptr)
            *error = e.what();
        return false;
    } catch (...) {
        if (error != nullptr)
            *error = "unknown exception";
        return false;
    }
    m_name = threadName;
    m_run = std::move(run);
    return true;
}

void WorkerThread::RequestStop() {
    if (m_run)
        m_run->signal->RequestStop();
}

bool WorkerThread::WaitEnded(uint32_t timeoutMs) const {
    if (!m_run || !m_thread.joinable())
        return true;
    std::unique_lock<std::mutex> lock(m_run->mutex);
    if (timeoutMs == kWaitForever)
        m_run->ended.wait(lock, [this] { return m_run->done; });
    else
        m_run->ended.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_run->done; });
    return m_run->done;
}

bool WorkerThread::Ended() const {
    if (!m_run || !m_thread.joinable())
        return true;
    std::lock_guard<std::mutex> lock(m_run->mutex);
    return m_run->done;
}

bool WorkerThread::Stop(uint32_t timeoutMs, const char* ownerName) {
    RequestStop();
    if (!m_thread.joinable())
        return true;
    // A worker that stops itself cannot wait for its own end.
    if (m_thread.get_id() != std::this_thread::get_id() && WaitEnded(timeoutMs)) {
        m_thread.join();
        return true;
    }
    DetachWorkerThread(m_thread, ownerName);
    return false;
}
