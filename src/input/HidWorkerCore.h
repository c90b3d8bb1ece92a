#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>

#include "input/HidQueue.h"
#include "input/HidQueueItem.h"

// The worker's own handle to the cable (a UsbHidLink device context of its own). Results follow the link:
// 1 success, -1 failure.
class IHidCable {
public:
    virtual ~IHidCable() = default;
    virtual bool IsOpen() = 0;
    // UsbHidLink::OpenHid: a successful open also resets the cable's keyboard (every modifier up).
    virtual int Open() = 0;
    virtual int SetMouseMsg(uint32_t msg, int32_t x, int32_t y) = 0;
    virtual int SetMouseWheelMsg(uint32_t msg, int32_t x, int32_t y, int32_t delta) = 0;
    virtual int SetKBMsg(uint32_t vk, uint32_t msg) = 0;
};

class IHidWorkerClock {
public:
    virtual ~IHidWorkerClock() = default;
    virtual uint32_t TickMs() = 0;    // wrapping millisecond tick
    virtual uint64_t MicrosNow() = 0; // steady, for the cost of one item
    virtual void SleepMs(uint32_t ms) = 0;
};

// The queue and the per-item actions of the HID worker. Enqueue and Cancel may be called from any thread;
// Open and RunOne belong to the one worker thread, which alone touches the cable and the record of the
// modifiers sent. The mutex is never held during a cable write, so a slow write never blocks Enqueue.
class HidWorkerCore {
public:
    static constexpr uint32_t kOpenRetryMs = 1000;
    static constexpr uint32_t kOpenFailLogMs = 30000;
    static constexpr uint32_t kHeartbeatMs = 30000;
    static constexpr uint64_t kSlowUs = 5000;
    static constexpr uint32_t kNumLockTapMs = 8;
    static constexpr uint32_t kWaitForever = 0xFFFFFFFFu;

    // onOpenResult(available, reason) reports every open attempt's outcome (the router's availability and
    // the state manager's hidPresent).
    using OpenResult = std::function<void(bool available, const char* reason)>;

    HidWorkerCore(IHidCable& cable, IHidWorkerClock& clock, OpenResult onOpenResult);

    bool Enqueue(const HidQueueItem& item);
    // Drops every queued item and the pending move; logs when something was removed. The number removed.
    size_t Cancel(const char* reason);

    // True when the cable's handle is open; otherwise at most one open attempt per kOpenRetryMs.
    bool Open();
    // Waits up to waitMs for an item and carries it out. False when none came.
    bool RunOne(uint32_t waitMs);
    // The worker thread's body: never returns.
    [[noreturn]] void Run();

    HidWorkerCounters Counters();
    size_t Depth();

    // The modifiers last sent to the cable (worker thread).
    struct SentModifiers {
        bool shift = false, ctrl = false, alt = false, win = false;
        bool operator==(const SentModifiers&) const = default;
    };
    SentModifiers Sent() const { return m_sent; }

private:
    int Perform(const HidQueueItem& item);
    int SendKey(uint32_t vk, uint32_t msg);
    int ApplyModifierMask(uint32_t mask);
    int ReleaseAllModifiers();
    void ForgetSentModifiers() { m_sent = {}; }
    void Heartbeat(size_t depth);

    IHidCable& m_cable;
    IHidWorkerClock& m_clock;
    OpenResult m_onOpenResult;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    HidQueue m_queue;           // under m_mutex
    HidWorkerCounters m_counts; // under m_mutex

    // Worker thread only.
    SentModifiers m_sent;
    bool m_hasOpenAttempt = false;
    uint32_t m_lastOpenAttempt = 0;
    uint32_t m_lastHeartbeat = 0;
};
