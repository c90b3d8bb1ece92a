#include "link/VideoSyncState.h"

#include <chrono>

void SyncWake::Wake() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_woken = true;
    }
    m_changed.notify_all();
}

void SyncWake::Wait(uint32_t ms) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_woken; });
    m_woken = false;
}
