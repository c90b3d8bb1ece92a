#pragma once

#include <cstddef>
#include <deque>

#include "input/HidQueueItem.h"

// The HID worker's queue: a bounded deque plus one slot for the newest mouse move. Moves replace each other
// in the slot, so a stream of moves between two clicks costs one cable write; any other item first moves
// the slot into the deque, so the move keeps its place between what came before and after it.
// Not locked: the worker holds its mutex around every call.
class HidQueue {
public:
    static constexpr size_t kCapacity = 256;
    // A pending move is flushed only while the deque holds fewer items than this.
    static constexpr size_t kMoveFlushLimit = 255;

    // Queues an item, counting enqueued, coalesced and dropped. False when the item was refused (full).
    bool Push(const HidQueueItem& item, HidWorkerCounters& counters);
    // The head of the deque, or the pending move when the deque is empty. False when both are empty.
    bool Pop(HidQueueItem& item);
    // Removes every item and the pending move; the number removed.
    size_t Clear();
    // Items left: the deque plus the pending move.
    size_t Depth() const;

private:
    std::deque<HidQueueItem> m_items;
    HidQueueItem m_pendingMove;
    bool m_hasPendingMove = false;
};
