#pragma once

#include <cstdint>

// Limits the progress reports of one item to one per 250 ms: the first report of an item and the one that
// completes it always go, so the peer sees every item start and end.
class ProgressThrottle {
public:
    static constexpr uint32_t kIntervalMs = 250;

    // A new item starts: its first report goes whatever the clock says.
    void Reset() { m_published = false; }
    // True when the report (bytes of total, total 0 = unknown) is to be published now; remembers the time.
    bool ShouldPublish(uint32_t nowMs, uint64_t bytes, uint64_t total);

private:
    bool m_published = false;
    uint32_t m_lastMs = 0;
};
