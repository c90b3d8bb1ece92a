#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

// One period of the discovery service from Start to Stop, shared by its four threads. Each start makes a
// new one, so a thread of an earlier run that has not ended yet still sees its own run stopped even when
// the service was started again at once.
class DiscoveryRun {
public:
    DiscoveryRun() = default;
    DiscoveryRun(const DiscoveryRun&) = delete;
    DiscoveryRun& operator=(const DiscoveryRun&) = delete;

    // The loops of the service's threads go on while this is true.
    bool Running() const { return m_running.load(); }
    // Waits up to ms; ends early when the run is stopped. Returns Running() afterwards.
    bool SleepFor(uint32_t ms) const;
    // Ends the run and wakes every SleepFor.
    void RequestStop();

private:
    std::atomic<bool> m_running{true};
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_stopped;
};
