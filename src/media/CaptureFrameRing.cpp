#include "media/CaptureFrameRing.h"

#include <chrono>
#include <utility>

#include "core/WorkerThread.h"

void CaptureFrameRing::Open() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_writeIndex = 0;
    m_published = kNoSlot;
    m_fresh = false;
    m_newFrame = false;
    m_open = true;
}

void CaptureFrameRing::Close() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_open = false;
    }
    m_changed.notify_all();
}

void CaptureFrameRing::Publish(CapturedFrame& frame) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        CapturedFrame& slot = m_slots[m_writeIndex];
        std::swap(slot, frame);
        m_published = m_writeIndex;
        m_newFrame = true;
        m_fresh = true;
        m_writeIndex = (m_writeIndex + 1) % m_slots.size();
    }
    m_changed.notify_all();
}

void CaptureFrameRing::WakeAll() {
    // Taking the mutex orders the wake after any waiter's check of its condition.
    { std::lock_guard<std::mutex> lock(m_mutex); }
    m_changed.notify_all();
}

void CaptureFrameRing::WaitPacing(uint32_t waitMs, uint32_t intervalSeen, const StopSignal& stop) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait_for(lock, std::chrono::milliseconds(waitMs), [&] {
        return !m_open.load() || stop.StopRequested() || m_intervalMs.load() != intervalSeen;
    });
}

bool CaptureFrameRing::TakeLatest(std::vector<uint8_t>& bytes, int32_t& width, int32_t& height,
                                  int timeoutMs) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_fresh && timeoutMs > 0)
        m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [this] { return m_fresh || !m_open.load(); });
    if (!m_fresh)
        return false;
    m_fresh = false;
    if (m_published >= m_slots.size() || m_slots[m_published].bytes.empty())
        return false;
    const CapturedFrame& slot = m_slots[m_published];
    bytes.assign(slot.bytes.begin(), slot.bytes.end());
    width = slot.width;
    height = slot.height;
    return true;
}

void CaptureFrameRing::SetIntervalMs(uint32_t intervalMs) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_intervalMs = intervalMs;
    }
    m_changed.notify_all();
}
