#include "transfer/PendingOfferQueue.h"

#include "core/Log.h"

size_t PendingOfferQueue::Push(std::vector<std::u16string> paths, const char* reason) {
    const size_t count = paths.size();
    size_t depth = 0;
    size_t droppedCount = 0;
    bool dropped = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_entries.size() >= kMaxEntries) {
            droppedCount = m_entries.front().size();
            dropped = true;
            m_entries.pop_front();
        }
        m_entries.push_back(std::move(paths));
        depth = m_entries.size();
    }
    if (dropped)
        Log::Write("[TRANSFER][PENDING][DROP] count=%u reason=queue-full max=%u",
                   static_cast<unsigned>(droppedCount), static_cast<unsigned>(kMaxEntries));
    Log::Write("[TRANSFER][PENDING][QUEUE] count=%u depth=%u reason=%s", static_cast<unsigned>(count),
               static_cast<unsigned>(depth), reason != nullptr ? reason : "");
    return depth;
}

size_t PendingOfferQueue::Append(std::vector<std::u16string> paths, const char* reason) {
    const size_t depth = Push(std::move(paths), reason);
    AppendObserver observer;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        observer = m_observer;
    }
    if (observer)
        observer();
    return depth;
}

size_t PendingOfferQueue::Requeue(std::vector<std::u16string> paths, const char* reason) {
    return Push(std::move(paths), reason);
}

bool PendingOfferQueue::TakeOldest(std::vector<std::u16string>& paths) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_entries.empty())
        return false;
    paths = std::move(m_entries.front());
    m_entries.pop_front();
    return true;
}

std::vector<std::vector<std::u16string>> PendingOfferQueue::TakeAll() {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<std::vector<std::u16string>> taken(std::make_move_iterator(m_entries.begin()),
                                                   std::make_move_iterator(m_entries.end()));
    m_entries.clear();
    return taken;
}

size_t PendingOfferQueue::Depth() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_entries.size();
}

void PendingOfferQueue::SetAppendObserver(AppendObserver observer) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_observer = std::move(observer);
}

PendingOfferQueue& PendingOfferQueue::Instance() {
    static PendingOfferQueue queue;
    return queue;
}
