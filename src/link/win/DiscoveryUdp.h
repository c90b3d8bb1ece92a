#pragma once

#include <winsock2.h>

#include <cstdint>
#include <string_view>

#include "core/win/Handles.h"
#include "link/DiscoveryBroadcastLoop.h"

// The discovery sockets: UDP on 38999 (primary) and 58999 (legacy), bound to every address, broadcast
// allowed, non-blocking.
namespace Discovery {

// Creates and binds one discovery socket (role label "primary" or "legacy"). SO_BROADCAST and SO_REUSEADDR
// are set, then it is bound to INADDR_ANY and switched to non-blocking. Success logs
// "[NET][BIND] udp discovery-%s port=%u OK wsa=0" and "[DISCOVERY][BIND] role=%s port=%u OK"; a failure
// "[NET][BIND] udp discovery-%s port=%u %s wsa=%d" with "ACCESS_DENIED_OR_EXCLUDED" (WSAEACCES), "BUSY"
// (WSAEADDRINUSE) or "BUSY/FAIL", and returns an invalid socket.
UniqueSocket BindDiscoveryUdp(uint16_t port, const char* role);

// Reads up to 16 datagrams of at most 1023 bytes from a non-blocking socket and hands each to sink with
// its sender's dotted address. Returns when none is waiting (WSAEWOULDBLOCK), or after 20 ms on any other
// error (a longer datagram gives WSAEMSGSIZE). Nothing for an invalid socket.
void ReceiveDiscoveryMessages(SOCKET socket, const DatagramSink& sink);

class DiscoveryUdp final : public IDiscoveryTransport {
public:
    DiscoveryUdp() = default;
    ~DiscoveryUdp() override { CloseAll(); }
    DiscoveryUdp(const DiscoveryUdp&) = delete;
    DiscoveryUdp& operator=(const DiscoveryUdp&) = delete;

    bool IsOpen(DiscoverySocketRole role) const override;
    bool Bind(DiscoverySocketRole role) override;
    // From the primary socket to 10.255.255.255 on 38999 and then 58999; a failed sendto logs
    // "Discovery broadcast 10.255.255.255 port=%u failed wsa=%d" (at most every 10 s per port: without
    // the cable every broadcast fails).
    void SendBroadcast(std::string_view message) override;
    void Receive(DiscoverySocketRole role, const DatagramSink& sink) override;
    void CloseAll() override;

private:
    UniqueSocket& SocketOf(DiscoverySocketRole role);
    const UniqueSocket& SocketOf(DiscoverySocketRole role) const;

    UniqueSocket m_primary;
    UniqueSocket m_legacy;
};

} // namespace Discovery
