#include "transfer/ProgressThrottle.h"

bool ProgressThrottle::ShouldPublish(uint32_t nowMs, uint64_t bytes, uint64_t total) {
    const bool complete = total != 0 && bytes >= total;
    // Unsigned difference: the tick count may wrap during a long transfer.
    if (m_published && !complete && nowMs - m_lastMs < kIntervalMs)
        return false;
    m_published = true;
    m_lastMs = nowMs;
    return true;
}
