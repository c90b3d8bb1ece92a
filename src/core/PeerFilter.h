#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <utility>

// Which sender addresses a channel serves: set by start-up, asked by the channel's worker for every
// connection or datagram. Without a filter every address is allowed.
class PeerFilter {
public:
    using Allows = std::function<bool(const std::string& ip)>;

    void Set(Allows allows) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_allows = std::move(allows);
    }

    // The filter is copied out first, so it never runs under the lock.
    bool Allowed(const std::string& ip) const {
        Allows allows;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            allows = m_allows;
        }
        return !allows || allows(ip);
    }

private:
    mutable std::mutex m_mutex;
    Allows m_allows;
};
