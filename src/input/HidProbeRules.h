#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>

// The cable's presence, searched for at most once a second: a search walks every HID interface of the
// system, too slow to repeat per input event.
class HidPresenceCache {
public:
    static constexpr uint32_t kFreshMs = 1000;

    // The cached result while it is younger than kFreshMs and holds one (not -1); otherwise runs search
    // (1 present, -1 not), stores its result and tick, tells the state manager, and logs
    // "[HW][HID] present=%d" when the result differs from the last logged one.
    int Probe(uint32_t now, const std::function<int()>& search);
    int Cached() const { return m_cached.load(); }

private:
    std::mutex m_probeMutex; // one search at a time
    std::atomic<int> m_cached{-1};
    uint32_t m_tick = 0;  // under m_probeMutex
    int m_lastLogged = 0; // under m_probeMutex; 0: nothing logged yet
};

// The background probe's start rule: at most one start per kMinIntervalMs unless forced, and one probe
// thread at a time.
class HidProbeGate {
public:
    static constexpr uint32_t kMinIntervalMs = 1000;

    // True when a probe may start now; it then counts as running until End.
    bool TryBegin(bool force, uint32_t now);
    void End();
    bool Running() const { return m_running.load(); }

private:
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_hasStarted{false};
    std::atomic<uint32_t> m_lastStart{0};
};

// The probe thread's result line is left out when nothing is worth telling: the "hid" category is off, the
// result repeats the last logged one, the probe was quick and the last such line is recent.
struct ProbeResultLog {
    static constexpr uint32_t kSlowProbeMs = 1000;
    static constexpr uint32_t kRepeatMs = 30000;

    bool hasLogged = false;
    int lastResult = 0;
    uint32_t lastTick = 0;

    // Decides and, when the line is to be written, remembers it.
    bool ShouldLog(bool hidCategoryOn, int result, uint32_t costMs, uint32_t now);
};
