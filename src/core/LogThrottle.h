#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

// Per-key rate limit on a 32-bit millisecond tick that wraps.
class ThrottleTable {
public:
    // True when the key has no accepted use yet or intervalMs have passed since the last one; an accepted
    // use stores now. A stored tick of 0 counts as no use.
    bool Allow(std::string_view key, uint32_t intervalMs, uint32_t now);

private:
    std::mutex m_mutex;
    std::unordered_map<std::string, uint32_t> m_lastAccepted;
};

namespace LogThrottle {
// Process-wide table on the log platform's tick; a null key is the empty key.
bool Allow(const char* key, uint32_t intervalMs);
} // namespace LogThrottle
