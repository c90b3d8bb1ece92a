#include "transfer/PendingOfferQueue.h"

#include "core/Log.h"

size_t PendingOfferQueue::Append(std::vector<std::u16string> paths, const char* reason) {
    const size_t count = paths.size();
    size_t depth = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_entries.size() >= kMaxEntries)
            m_entries.pop_front();
        m_entries.push_back(std::move(paths));
        depth = m_entries.size();
    }
    Log::Write("[TRANSFER][PENDING][QUEUE] count=%u depth=%u reason=%s", static_cast<unsigned>(count),
               static_cast<unsigned>(depth), reason != nullptr ? reason : "");
    return depth;
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

PendingOfferQueue& PendingOfferQueue::Instance() {
    static PendingOfferQueue queue;
    return queue;
}
