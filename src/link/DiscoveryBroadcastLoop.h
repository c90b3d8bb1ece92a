#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class DiscoveryRun;
class IDiscoveryPlatform;

namespace Discovery {

class DiscoveryService;

enum class DiscoverySocketRole { Primary, Legacy }; // ports 38999 and 58999

// Receives one datagram: its bytes and the sender's dotted address.
using DatagramSink = std::function<void(std::string_view bytes, const std::string& senderIp)>;

// The two UDP sockets of one run of the broadcast loop; the Windows one is link/win/DiscoveryUdp.h.
class IDiscoveryTransport {
public:
    virtual ~IDiscoveryTransport() = default;
    virtual bool IsOpen(DiscoverySocketRole role) const = 0;
    // Binds the role's port for broadcast and non-blocking receive; logs the outcome.
    virtual bool Bind(DiscoverySocketRole role) = 0;
    // Sends message from the primary socket to the broadcast address on both discovery ports.
    virtual void SendBroadcast(std::string_view message) = 0;
    // Hands the datagrams waiting on the role's socket (at most 16) to sink; nothing when it is not open.
    virtual void Receive(DiscoverySocketRole role, const DatagramSink& sink) = 0;
    // Closes both sockets (the loop's end; destruction does it too).
    virtual void CloseAll() = 0;
};

// Body of the thread DiscoveryBroadcast: binds the primary socket (retried every 2000 ms) and the legacy
// one (retried every 60000 ms), broadcasts TSLY_DISCOVER every 501 ms (at once on the broadcast-now flag),
// runs the expiry with liveness checks after each broadcast, reads both sockets every 20 ms, and runs a
// peer-lost reaction that a reader of the table left pending. Publishes the port set and the
// discovery-running flag when the primary is bound; clears the flag when the run ends.
void RunBroadcastLoop(const DiscoveryRun& run, DiscoveryService& service, IDiscoveryTransport& transport);

} // namespace Discovery
