#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

// How often something happened on another thread, with a bounded wait for a count to be reached.
class EventCount {
public:
    void Add() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            ++m_count;
        }
        m_changed.notify_all();
    }
    int Value() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_count;
    }
    // True when count was reached within timeoutMs.
    bool WaitFor(int count, uint32_t timeoutMs) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                  [&] { return m_count >= count; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_count = 0;
};
