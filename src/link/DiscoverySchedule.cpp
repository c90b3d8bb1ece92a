#include "link/DiscoverySchedule.h"

bool DiscoverySchedule::PrimaryBindDue(uint32_t now) const {
    return !m_primaryAttempted || now - m_lastPrimaryAttempt >= kPrimaryRetryMs;
}

void DiscoverySchedule::PrimaryAttempted(uint32_t now) {
    m_primaryAttempted = true;
    m_lastPrimaryAttempt = now;
}

void DiscoverySchedule::PrimaryBound() {
    m_legacyAttempted = false;
    m_broadcasted = false;
}

bool DiscoverySchedule::LegacyBindDue(uint32_t now) const {
    return !m_legacyAttempted || now - m_lastLegacyAttempt >= kLegacyRetryMs;
}

bool DiscoverySchedule::LegacyAttempted(uint32_t now, bool bound) {
    m_legacyAttempted = true;
    m_lastLegacyAttempt = now;
    if (bound) {
        m_legacyFailureLogged = false;
        return false;
    }
    bool log = !m_legacyFailureLogged;
    m_legacyFailureLogged = true;
    return log;
}

bool DiscoverySchedule::BroadcastDue(uint32_t now, bool broadcastNow) const {
    return broadcastNow || !m_broadcasted || now - m_lastBroadcast >= kBroadcastIntervalMs;
}

void DiscoverySchedule::Broadcasted(uint32_t now) {
    m_broadcasted = true;
    m_lastBroadcast = now;
}
