#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "core/WorkerThread.h"
#include "media/win/AudioRunSocket.h"

// How the audio sender and the audio player run their worker: one run at a time, each with its own stop
// signal and its own socket slot, so a run that was stopped can never be mistaken for the next one.
//
// Stop never waits: it clears running, wakes the run's socket and detaches the thread, which sees its own
// stop signal and ends by itself. A body that throws is logged under the worker's name, its text becomes
// the runtime error text, and running clears when that run is still the current one. The owner serialises
// Start and Stop, and lives to the end of the process: a detached thread still reaches this object.
class AudioWorker {
public:
    using Body = std::function<void(const StopSignal& stop, AudioRunSocket& socket)>;

    // name: the thread's name and the prefix of the log lines ("<name>::Stop wasRunning=%d", "<name>
    // stopped", "<name> thread create failed: %s"); a string literal.
    // launcher: how threads are made (WorkerThread; empty: std::thread); tests hand in one that fails.
    explicit AudioWorker(const char* name, WorkerThread::Launcher launcher = {});

    // Stops a running worker, then starts body on a new thread. False (logged) when it cannot be created.
    bool Start(Body body);
    void Stop();
    bool IsRunning() const { return m_running.load(); }

private:
    void RunGuarded(const Body& body, uint64_t generation, const StopSignal& stop, AudioRunSocket& socket);

    const char* const m_name;
    const std::string m_threadOwner;
    std::atomic<bool> m_running{false};
    // Running is cleared by a failed run only while its generation is current.
    std::mutex m_generationMutex;
    uint64_t m_generation = 0; // under m_generationMutex
    WorkerThread m_thread;
    std::shared_ptr<AudioRunSocket> m_socket;
};
