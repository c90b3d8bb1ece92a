#include "media/RemoteViewFrameQueue.h"

#include <chrono>
#include <utility>

namespace {

constexpr size_t kReleaseRecordCapacity = 5;
constexpr size_t kReleasePixelCapacity = 0x2000000; // 32 MiB
constexpr auto kPopWait = std::chrono::milliseconds(100);

} // namespace

RemoteViewFrameQueue& RemoteViewFrameQueue::Instance() {
    static RemoteViewFrameQueue* queue = new RemoteViewFrameQueue();
    return *queue;
}

void RemoteViewFrameQueue::Open() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_accepting = 1;
    m_nextSequence = 1;
}

bool RemoteViewFrameQueue::PushNewest(RemoteViewFrame frame) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_accepting == 0)
            return false;
        frame.sequence = m_nextSequence++;
        Compact();
        m_frames.push_back(std::move(frame));
    }
    m_ready.notify_one();
    return true;
}

bool RemoteViewFrameQueue::Pop(RemoteViewFrame& frame) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_ready.wait_for(lock, kPopWait, [this] { return m_accepting == 0 || !m_frames.empty(); });
    if (m_frames.empty())
        return false;
    frame = std::move(m_frames.front());
    m_frames.erase(m_frames.begin());
    return true;
}

void RemoteViewFrameQueue::Stop() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_accepting = 0;
        Compact();
    }
    m_ready.notify_all();
}

size_t RemoteViewFrameQueue::StorageCapacity() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_frames.capacity();
}

void RemoteViewFrameQueue::Compact() {
    // Sizes are read before the records go: their buffers are what decides the release.
    bool release = m_frames.capacity() >= kReleaseRecordCapacity;
    for (const RemoteViewFrame& waiting : m_frames)
        release = release || waiting.pixels.capacity() > kReleasePixelCapacity;
    if (release)
        std::vector<RemoteViewFrame>().swap(m_frames);
    else
        m_frames.clear();
}
