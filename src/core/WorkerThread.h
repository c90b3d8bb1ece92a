#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

// A stop request shared by a worker thread and whoever stops it. It lives as long as either holds it,
// so a worker that was detached still sees its own stop after its owner has started a new one.
class StopSignal {
public:
    StopSignal() = default;
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    bool StopRequested() const;
    // Waits up to ms; ends early on a stop. True when a stop was requested (before or during the wait).
    bool WaitFor(uint32_t ms) const;
    // Sets the request and wakes every WaitFor. Further calls change nothing.
    void RequestStop();

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    bool m_stop = false; // under m_mutex
};

// The one way to run a long-lived worker: start it with a name and a body, ask it to stop, then join it,
// or detach it (with its owner's name in the log) when it does not end in time. Threads are never killed.
//
// The thread logs "[THREAD][START] name=%s tid=%lu", runs the body, and logs "[THREAD][STOP] name=%s
// tid=%lu" as it leaves; anything the body throws is caught and logged as "[THREAD][EXCEPTION] name=%s
// tid=%lu what=%s" (or "... unknown") and ends the thread. The body polls its StopSignal and returns soon
// after a stop was requested.
//
// Start and Stop are meant for the owning thread (or callers serialised by the owner's lock); the body
// itself may call Stop on its own WorkerThread, which then detaches instead of joining itself.
class WorkerThread {
public:
    using Body = std::function<void(const StopSignal&)>;
    // Starts a thread running work; throws what std::thread throws when it cannot. Tests inject one that
    // fails. An empty launcher starts a std::thread.
    using Launcher = std::function<std::thread(std::function<void()>)>;

    static constexpr uint32_t kWaitForever = 0xFFFFFFFFu;

    WorkerThread() = default;
    explicit WorkerThread(Launcher launcher);
    // Asks a running worker to stop and detaches it ("WorkerThread(destroyed)"): destruction never blocks.
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // name must live to the end of the process (a string literal). False when a thread is still held (stop
    // it first) or when it cannot be created; then `error` (when given) receives the reason, which the caller
    // logs in its own words.
    bool Start(const char* name, Body body, std::string* error = nullptr);

    // Asks the worker to stop without waiting.
    void RequestStop();

    // Asks the worker to stop and waits up to timeoutMs (kWaitForever: no limit) for its body to end. A
    // worker that ended is joined; one that did not is handed to DetachWorkerThread with ownerName. Called on
    // the worker's own thread it detaches at once. True when no thread is held any more because it was
    // joined or there was none; false when it had to be detached.
    bool Stop(uint32_t timeoutMs, const char* ownerName);

    // Waits up to timeoutMs for the body to end, without asking it to stop and without joining. True when it
    // has ended or no thread is held.
    bool WaitEnded(uint32_t timeoutMs) const;

    // A thread is held (started and neither joined nor detached).
    bool Active() const { return m_thread.joinable(); }
    // Called on the held thread itself (for example a body that stops its own worker).
    bool IsCurrentThread() const {
        return m_thread.joinable() && m_thread.get_id() == std::this_thread::get_id();
    }
    // The held thread has left its body (or none is held).
    bool Ended() const;
    // The stop signal of the current (or last) run; empty before the first Start.
    std::shared_ptr<StopSignal> Signal() const { return m_run ? m_run->signal : nullptr; }
    const char* Name() const { return m_name; }

private:
    struct Run {
        std::shared_ptr<StopSignal> signal = std::make_shared<StopSignal>();
        mutable std::mutex mutex;
        mutable std::condition_variable ended;
        bool done = false; // under mutex
    };

    Launcher m_launcher;
    const char* m_name = "worker";
    std::shared_ptr<Run> m_run;
    std::thread m_thread;
};
