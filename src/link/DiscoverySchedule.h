#pragma once

#include <cstdint>

// When the broadcast loop binds its sockets and broadcasts. Ticks are 32-bit milliseconds that wrap.
//
// The primary socket (38999) is tried at once and then every 2000 ms until it binds; the loop does nothing
// else meanwhile. The legacy socket (58999) is tried when the primary is bound and then every 60000 ms;
// discovery works without it. A broadcast is due 501 ms after the last one, at once when asked for, and
// right after the primary socket was bound.
class DiscoverySchedule {
public:
    static constexpr uint32_t kPrimaryRetryMs = 2000;
    static constexpr uint32_t kLegacyRetryMs = 60000;
    static constexpr uint32_t kBroadcastIntervalMs = 501;

    // For a primary socket that is not open.
    bool PrimaryBindDue(uint32_t now) const;
    void PrimaryAttempted(uint32_t now);
    // The primary socket is bound: the legacy attempt and the last broadcast are forgotten.
    void PrimaryBound();

    // For a legacy socket that is not open.
    bool LegacyBindDue(uint32_t now) const;
    // Records a legacy attempt. Returns whether a failure is to be logged: only the first one after the
    // start or after a success.
    bool LegacyAttempted(uint32_t now, bool bound);

    // broadcastNow: the broadcast-now flag, already taken (read and cleared) by the caller.
    bool BroadcastDue(uint32_t now, bool broadcastNow) const;
    void Broadcasted(uint32_t now);

private:
    bool m_primaryAttempted = false;
    uint32_t m_lastPrimaryAttempt = 0;
    bool m_legacyAttempted = false;
    uint32_t m_lastLegacyAttempt = 0;
    bool m_legacyFailureLogged = false;
    bool m_broadcasted = false;
    uint32_t m_lastBroadcast = 0;
};
