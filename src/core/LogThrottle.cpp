#include "core/LogThrottle.h"

#include "core/Log.h"

bool ThrottleTable::Allow(std::string_view key, uint32_t intervalMs, uint32_t now) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_lastAccepted.find(std::string(key));
    if (it != m_lastAccepted.end() && it->second != 0 && static_cast<uint32_t>(now - it->second) < intervalMs)
        return false;
    m_lastAccepted[std::string(key)] = now;
    return true;
}

namespace LogThrottle {

bool Allow(const char* key, uint32_t intervalMs) {
    static ThrottleTable* table = new ThrottleTable; // kept to process end for detached threads
    return table->Allow(key ? key : "", intervalMs, Log::TickCount());
}

} // namespace LogThrottle
