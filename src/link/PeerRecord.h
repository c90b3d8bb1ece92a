#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// One discovered peer, as the peer table keeps it and copies it out to readers.
struct PeerRecord {
    std::string id;            // the peer's id from its discovery message
    std::string name;          // the peer's name
    std::string ip;            // dotted IPv4 of the datagram's source, never taken from the message
    std::string ver;           // the peer's version text
    uint32_t lastSeenTick = 0; // tick (ms) of its last discovery message
    int32_t tcpFailures = 0;   // consecutive failed liveness checks; 0 on every refresh
    uint32_t ultra = 0;        // 1 when the peer offers ULTRA (capability rule)
};

namespace Discovery {

// Peer texts are cut to this many bytes (at a character boundary) before they are stored.
inline constexpr size_t kPeerTextMaxBytes = 255;

// The record for a TSLY_DISCOVER datagram from sourceIp that arrived at tick.
PeerRecord PeerRecordFromDiscovery(std::string_view message, std::string_view sourceIp, uint32_t tick);

// Identity rule: the same id or the same ip is the same peer.
bool IsSamePeer(const PeerRecord& stored, const PeerRecord& incoming);

// Refreshes a stored record from an incoming one of the same peer: the four texts, ultra and lastSeenTick
// are taken over and tcpFailures becomes 0. A new id at the same ip is logged as
// "Discovery refresh device identity ip=%s old_id=%s new_id=%s". Returns whether the id changed (the
// peer table then raises its generation).
bool RefreshPeerRecord(PeerRecord& stored, const PeerRecord& incoming);

} // namespace Discovery
