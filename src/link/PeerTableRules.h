#pragma once

#include <cstddef>
#include <cstdint>

// When a discovered peer is checked and when it is given up. Ages are milliseconds since the peer's last
// discovery message, on the 32-bit tick that wraps.
namespace Discovery {

// From this age on, every cleanup with liveness checks connects to the peer's control port.
inline constexpr uint32_t kLivenessCheckAgeMs = 701;
// From this age on, the peer is removed whatever the checks said.
inline constexpr uint32_t kPeerExpiryAgeMs = 2501;
// This many failed checks in a row make the peer dead.
inline constexpr int32_t kDeadAfterFailedChecks = 2;
// The table keeps at most this many peers: a cable joins two PCs, so more means a flood of spoofed
// senders, which must not grow the table (or the time its liveness checks take) without bound.
inline constexpr size_t kPeerTableCapacity = 32;

enum class PeerVerdict { Keep, TcpDead, UdpTimeout };

bool LivenessCheckDue(uint32_t ageMs);
// Dead wins over the age, so a peer past both limits is reported "tcp-dead".
PeerVerdict JudgePeer(uint32_t ageMs, int32_t tcpFailures);
// "tcp-dead", "udp-timeout", or "keep".
const char* PeerVerdictReason(PeerVerdict verdict);

} // namespace Discovery
