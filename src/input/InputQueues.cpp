#include "input/InputQueues.h"

#include <algorithm>

namespace {

bool IsMove(const InputPacket& p) {
    return p.Is(InputPacketType::MouseMove);
}

bool IsKeyboardSync(const InputPacket& p) {
    return p.Is(InputPacketType::SystemKey) && p.data1 == static_cast<int32_t>(SystemKeyCode::KeyboardSync);
}

size_t EraseIf(std::deque<InputPacket>& queue, bool (*match)(const InputPacket&)) {
    auto end = std::remove_if(queue.begin(), queue.end(), match);
    size_t removed = static_cast<size_t>(queue.end() - end);
    queue.erase(end, queue.end());
    return removed;
}

} // namespace

void InputQueues::EnqueueNormal(const InputPacket& packet) {
    if (m_normal.size() >= kInputNormalQueueLimit) {
        auto oldestMove = std::find_if(m_normal.begin(), m_normal.end(), IsMove);
        m_normal.erase(oldestMove != m_normal.end() ? oldestMove : m_normal.begin());
    }
    if (IsMove(packet) && !m_normal.empty() && IsMove(m_normal.back())) {
        m_normal.back() = packet;
        return;
    }
    m_normal.push_back(packet);
}

bool InputQueues::EnqueuePriority(const InputPacket& packet) {
    // The move-cancel generation stays: a move already taken by the sender still goes out.
    EraseIf(m_normal, IsMove);
    if (IsKeyboardSync(packet))
        EraseIf(m_priority, IsKeyboardSync);
    bool dropped = false;
    if (m_priority.size() >= kInputPriorityQueueLimit) {
        m_priority.pop_front();
        dropped = true;
    }
    m_priority.push_back(packet);
    return dropped;
}

size_t InputQueues::PurgeMoves() {
    ++m_moveCancelGen;
    return EraseIf(m_normal, IsMove) + EraseIf(m_priority, IsMove);
}

std::optional<TakenInputPacket> InputQueues::TakeNext() {
    std::deque<InputPacket>* queue = !m_priority.empty() ? &m_priority
                                     : !m_normal.empty() ? &m_normal
                                                         : nullptr;
    if (queue == nullptr)
        return std::nullopt;
    TakenInputPacket taken{queue->front(), m_moveCancelGen};
    queue->pop_front();
    return taken;
}

bool InputQueues::IsStale(const TakenInputPacket& taken) const {
    return IsMove(taken.packet) && taken.moveCancelGen != m_moveCancelGen;
}

void InputQueues::Clear() {
    m_priority.clear();
    m_normal.clear();
}
