#include "core/TurnQueue.h"

uint64_t TurnQueue::Take() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_nextTicket++;
}

void TurnQueue::Wait(uint64_t ticket) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_turnChanged.wait(lock, [&] { return m_serving == ticket; });
}

void TurnQueue::Finish(uint64_t ticket) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_done.insert(ticket);
        while (m_done.erase(m_serving) != 0)
            ++m_serving;
    }
    m_turnChanged.notify_all();
}
