#include "link/DiscoveryRun.h"

#include <chrono>

bool DiscoveryRun::SleepFor(uint32_t ms) const {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_stopped.wait_for(lock, std::chrono::milliseconds(ms), [this] { return !m_running.load(); });
    return m_running.load();
}

void DiscoveryRun::RequestStop() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_running.store(false);
    }
    m_stopped.notify_all();
}
