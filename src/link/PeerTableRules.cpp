#include "link/PeerTableRules.h"

namespace Discovery {

bool LivenessCheckDue(uint32_t ageMs) {
    return ageMs >= kLivenessCheckAgeMs;
}

PeerVerdict JudgePeer(uint32_t ageMs, int32_t tcpFailures) {
    if (tcpFailures >= kDeadAfterFailedChecks)
        return PeerVerdict::TcpDead;
    if (ageMs >= kPeerExpiryAgeMs)
        return PeerVerdict::UdpTimeout;
    return PeerVerdict::Keep;
}

const char* PeerVerdictReason(PeerVerdict verdict) {
    switch (verdict) {
    case PeerVerdict::TcpDead:
        return "tcp-dead";
    case PeerVerdict::UdpTimeout:
        return "udp-timeout";
    case PeerVerdict::Keep:
        break;
    }
    return "keep";
}

} // namespace Discovery
