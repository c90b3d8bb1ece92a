#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

// Wakes one sync worker from its wait. A wake that comes while the worker is busy is kept for its next wait,
// so a change made between two turns is never slept over.
class SyncWake {
public:
    void Wake();
    // Waits up to ms for a wake, and takes it.
    void Wait(uint32_t ms);

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_woken = false; // under m_mutex
};

// The actual frame quality before a frame was seen.
inline constexpr int32_t kFrameQualityUnknown = -1;

// The controller's side of the visibility and quality sync. Atomics, written from the UI thread (local
// choices), the client session thread (frame confirmation) and the two sync workers.
struct ControllerVideoSyncState {
    std::atomic<bool> viewHidden{false};
    std::atomic<uint32_t> viewSeq{0}; // raised by every change of viewHidden
    // The latest visibility has not been confirmed by the peer (a change, discovery start, cable removal).
    std::atomic<bool> visibilityUnconfirmed{false};

    std::atomic<uint32_t> qualitySeq{0};                      // raised by every local choice and rollback
    std::atomic<int32_t> actualQuality{kFrameQualityUnknown}; // mode of the last frame: 0 H264, 1 ULTRA
    std::atomic<uint32_t> ackSeq{0}; // acknowledged by the peer or confirmed by a frame
    std::atomic<bool> switchPending{false};
    std::atomic<uint32_t> announcedSeq{0}; // the last sequence a balloon was shown for

    SyncWake visibilityWake;
    SyncWake qualityWake;
};
