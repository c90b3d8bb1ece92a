#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

#include "media/RemoteViewFrame.h"

// The newest-only hand-off between the ClientSession thread (producer) and the render thread (consumer).
// At most one record waits: a push first empties the queue, so a picture the renderer has not taken yet is
// replaced, and its pixels freed, by the next picture or black request. A slow renderer therefore never
// builds up latency or memory.
//
// Closed (initial, after Stop) -> Open (renderer start) -> Closed (renderer stop). Pushes while closed are
// refused; Pop while closed and empty returns false at once. The mutex is held only to put one record in
// or take it out: callers copy pixels before pushing.
class RemoteViewFrameQueue {
public:
    // The process-wide queue: created on first use, never destroyed.
    static RemoteViewFrameQueue& Instance();

    RemoteViewFrameQueue() = default;
    RemoteViewFrameQueue(const RemoteViewFrameQueue&) = delete;
    RemoteViewFrameQueue& operator=(const RemoteViewFrameQueue&) = delete;

    // Accepting, sequence numbers from 1 again.
    void Open();
    // While accepting: numbers the frame, replaces whatever waits, wakes one waiter, true. Otherwise the
    // frame is dropped and false returned.
    bool PushNewest(RemoteViewFrame frame);
    // Waits up to 100 ms while accepting and empty. A waiting record is moved into `frame` (true); false
    // after the wait with nothing queued, or at once when closed and empty.
    bool Pop(RemoteViewFrame& frame);
    // Not accepting, emptied (Compact), every waiter woken.
    void Stop();

    // Records the array can hold without allocating (diagnostics: shows whether Compact kept the storage).
    size_t StorageCapacity();

private:
    // Under m_mutex: removes every record; releases the array's storage as well when it has grown to 5
    // records or a record's pixel buffer holds more than 32 MiB, so a resolution drop returns the memory.
    void Compact();

    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::vector<RemoteViewFrame> m_frames; // 0 or 1 records after every operation
    uint8_t m_accepting = 0;
    uint64_t m_nextSequence = 1;
};
