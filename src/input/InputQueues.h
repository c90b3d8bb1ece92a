#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>

#include "input/InputPacket.h"

// The controller's two send queues. The normal queue takes keys, buttons, wheel and moves; moves merge at
// its tail, so a slow link never replays a backlog of old cursor positions. The priority queue goes out
// first; what it takes makes the queued moves obsolete. Both are bounded.
//
// No lock of its own: the channel holds its queue mutex around every call.
constexpr size_t kInputNormalQueueLimit = 512;
constexpr size_t kInputPriorityQueueLimit = 128;

// A packet taken for sending. For a MOUSE_MOVE, the move-cancel generation at the moment it was taken: a
// purge after that makes it stale.
struct TakenInputPacket {
    InputPacket packet;
    uint64_t moveCancelGen = 0;
};

class InputQueues {
public:
    // Full: drops the oldest MOUSE_MOVE, else the oldest packet; then merges a move into a move at the tail
    // or appends.
    void EnqueueNormal(const InputPacket& packet);
    // Drops every MOUSE_MOVE of the normal queue; a keyboard sync (SYSTEM_KEY 3) replaces every queued one;
    // full: drops the oldest. True when the oldest had to be dropped.
    bool EnqueuePriority(const InputPacket& packet);
    // Bumps the move-cancel generation and removes every MOUSE_MOVE from both queues; the number removed.
    size_t PurgeMoves();
    // The head of the priority queue, else the head of the normal queue; nothing when both are empty.
    std::optional<TakenInputPacket> TakeNext();
    // A taken move is stale when a purge came after it was taken.
    bool IsStale(const TakenInputPacket& taken) const;

    void Clear();
    bool Empty() const { return m_priority.empty() && m_normal.empty(); }
    size_t NormalSize() const { return m_normal.size(); }
    size_t PrioritySize() const { return m_priority.size(); }
    const std::deque<InputPacket>& Normal() const { return m_normal; }
    const std::deque<InputPacket>& Priority() const { return m_priority; }
    uint64_t MoveCancelGen() const { return m_moveCancelGen; }

private:
    std::deque<InputPacket> m_priority;
    std::deque<InputPacket> m_normal;
    uint64_t m_moveCancelGen = 0;
};
