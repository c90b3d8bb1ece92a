#include "input/HidQueue.h"

#include "input/InputMessages.h"

bool HidQueue::Push(const HidQueueItem& item, HidWorkerCounters& counters) {
    if (item.Is(HidItemType::Mouse) && item.msg == InputMessage::kMouseMove) {
        if (m_hasPendingMove)
            ++counters.coalesced;
        m_pendingMove = item;
        m_hasPendingMove = true;
    } else {
        if (m_hasPendingMove) {
            if (m_items.size() >= kMoveFlushLimit)
                ++counters.dropped;
            else
                m_items.push_back(m_pendingMove);
            m_hasPendingMove = false;
        }
        if (m_items.size() >= kCapacity) {
            ++counters.dropped;
            return false;
        }
        m_items.push_back(item);
    }
    ++counters.enqueued;
    return true;
}

bool HidQueue::Pop(HidQueueItem& item) {
    if (!m_items.empty()) {
        item = m_items.front();
        m_items.pop_front();
        return true;
    }
    if (m_hasPendingMove) {
        item = m_pendingMove;
        m_hasPendingMove = false;
        return true;
    }
    return false;
}

size_t HidQueue::Clear() {
    const size_t removed = Depth();
    m_items.clear();
    m_hasPendingMove = false;
    return removed;
}

size_t HidQueue::Depth() const {
    return m_items.size() + (m_hasPendingMove ? 1 : 0);
}
