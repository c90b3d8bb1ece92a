#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "media/CaptureTypes.h"

class StopSignal;

// The three frame slots between the capture thread and the consumer. The capture thread writes the slot
// after the published one, so it never waits for the consumer and never touches the frame being taken;
// older frames are overwritten. One mutex guards the slots and indices; its condition variable wakes the
// consumer on a new frame or a stop, and the capture thread's pacing wait on a stop or a new interval.
class CaptureFrameRing {
public:
    static constexpr uint32_t kNoSlot = 0xFFFFFFFFu;

    // Forgets every published frame and marks the ring open for a new capture thread.
    void Open();
    // Marks the capture thread as stopped and wakes every waiter.
    void Close();
    bool IsOpen() const { return m_open.load(); }

    // Capture side: swaps frame into the next slot and publishes it; frame gets that slot's old buffer
    // back for reuse.
    void Publish(CapturedFrame& frame);
    // Wakes every waiter (after a failed capture, so a consumer sees the new status soon).
    void WakeAll();
    // Waits up to waitMs, ending early on stop or when the capture interval is no longer intervalSeen.
    void WaitPacing(uint32_t waitMs, uint32_t intervalSeen, const StopSignal& stop);

    // Consumer side: waits up to timeoutMs (no wait at 0 or less) for a frame not taken yet, then copies
    // the newest one. False on a time-out, after Close, or when nothing was ever published. The slot stays
    // in place, so the next call without a newer frame waits again.
    bool TakeLatest(std::vector<uint8_t>& bytes, int32_t& width, int32_t& height, int timeoutMs);

    void SetIntervalMs(uint32_t intervalMs);
    uint32_t IntervalMs() const { return m_intervalMs.load(); }
    // A frame was published since Open.
    bool HasNewFrame() const { return m_newFrame.load(); }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::array<CapturedFrame, 3> m_slots; // under m_mutex
    uint32_t m_writeIndex = 0;            // under m_mutex
    uint32_t m_published = kNoSlot;       // under m_mutex
    bool m_fresh = false;                 // under m_mutex: published and not yet taken
    std::atomic<bool> m_open{false};
    std::atomic<bool> m_newFrame{false};
    std::atomic<uint32_t> m_intervalMs{0};
};
