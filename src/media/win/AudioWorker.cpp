#include "media/win/AudioWorker.h"

#include <exception>
#include <utility>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/ThreadHelpers.h"

AudioWorker::AudioWorker(const char* name, WorkerThread::Launcher launcher)
    : m_name(name), m_threadOwner(std::string(name) + "::m_thread"), m_thread(std::move(launcher)) {}

bool AudioWorker::Start(Body body) {
    Stop();
    uint64_t generation = 0;
    {
        std::lock_guard<std::mutex> lock(m_generationMutex);
        generation = ++m_generation;
        m_running.store(true);
    }
    auto socket = std::make_shared<AudioRunSocket>();
    m_socket = socket;
    std::string error;
    const bool started = m_thread.Start(
        m_name,
        [this, body = std::move(body), generation, socket](const StopSignal& stop) {
            RunGuarded(body, generation, stop, *socket);
        },
        &error);
    if (started)
        return true;
    Log::Write("%s thread create failed: %s", m_name, error.c_str());
    m_running.store(false);
    m_socket->Wake();
    m_socket.reset();
    return false;
}

void AudioWorker::Stop() {
    bool wasRunning = false;
    {
        std::lock_guard<std::mutex> lock(m_generationMutex);
        wasRunning = m_running.exchange(false);
        ++m_generation;
    }
    Log::Write("%s::Stop wasRunning=%d", m_name, wasRunning ? 1 : 0);
    // The stop signal first, so a worker woken by the shutdown below knows why its socket failed.
    m_thread.RequestStop();
    if (m_socket) {
        m_socket->Wake();
        m_socket.reset();
    }
    m_thread.Stop(0, m_threadOwner.c_str());
    if (wasRunning)
        Log::Write("%s stopped", m_name);
}

void AudioWorker::RunGuarded(const Body& body, uint64_t generation, const StopSignal& stop,
                             AudioRunSocket& socket) {
    try {
        body(stop, socket);
        return;
    } catch (const std::exception& e) {
        Log::Write("[THREAD][EXCEPTION] name=%s tid=%lu what=%s", m_name, Tid(), e.what());
        RuntimeSetErrorText(e.what());
    } catch (...) {
        Log::Write("[THREAD][EXCEPTION] name=%s tid=%lu unknown", m_name, Tid());
        RuntimeSetErrorText("unknown thread exception");
    }
    std::lock_guard<std::mutex> lock(m_generationMutex);
    if (m_generation == generation)
        m_running.store(false);
}
