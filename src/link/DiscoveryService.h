#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/DiscoveryPeerLoss.h"
#include "link/DiscoveryPlatform.h"
#include "link/DiscoveryReactions.h"
#include "link/PeerRecord.h"
#include "link/PeerTable.h"

class DiscoveryRun;

// The discovery service without its sockets and threads: the peer table, what a received datagram does,
// expiry with liveness checks, the reaction to losing the active peer and the broadcast-now flag. The
// process-wide one is Discovery::Service() (link/Discovery.h); tests make their own.
namespace Discovery {

// The reason of every step that follows a lost active peer.
inline constexpr const char* kPeerLostReason = "Discovery TCP/heartbeat timeout";
class DiscoveryService {
public:
    // The platform must outlive the service.
    explicit DiscoveryService(IDiscoveryPlatform& platform);
    DiscoveryService(const DiscoveryService&) = delete;
    DiscoveryService& operator=(const DiscoveryService&) = delete;

    // Installs the reactions (null: the defaults, which do nothing). The object must live to the end of the
    // process, since threads of the service may still use it.
    void SetReactions(IDiscoveryReactions* reactions);
    IDiscoveryReactions& Reactions() const;
    IDiscoveryPlatform& Platform() const { return m_platform; }

    // --- Peers.
    // Adds or refreshes a peer. Ignored: an empty id, this PC's id, an empty address, and (logged as
    // "Discovery ignored non-10 peer id=%s ip=%s", at most once a second) a sender outside 10.x; a new peer
    // when the table is full (logged the same way). A new peer logs
    // "Discovery found device name=%s id=%s ip=%s ver=%s ultra=%d". Afterwards: the active peer's version
    // goes to the runtime state, and the NETWORK and SESSION peerLost flags are cleared.
    void OnDeviceFound(const PeerRecord& record);
    // Runs CleanupExpired without liveness checks, then copies the table.
    std::vector<PeerRecord> GetDiscoveredDevices();
    // A copy of the first peer with that id, or that ip (no expiry first).
    std::optional<PeerRecord> FindPeerById(std::string_view id);
    std::optional<PeerRecord> FindPeerByIp(std::string_view ip);
    // The ultra flag of the peer at ip; false when there is none or ip is empty.
    bool IsPeerUltraCapable(std::string_view ip);
    // The local cable was removed: forgets the peers, and through the reactions the Mac health line, the
    // remote lock report and the stored request; marks visibility unconfirmed and wakes its worker.
    void ClearPeerCacheForDeviceRemoval();

    // --- The device-list generation (auto-connect waits on it).
    uint64_t DeviceListGeneration() const;
    void WakeDeviceListWaiters();
    uint64_t WaitForDeviceListChange(uint64_t seen, uint32_t timeoutMs);

    // --- Datagrams received on the discovery ports, with the sender's dotted address. TSLY_DISCOVER
    // becomes a peer record for OnDeviceFound; TSLY_CONTROL_REQUEST and TSLY_CONTROL_STOP from a foreign id
    // at a 10.x sender go to the control message handler (a 10.x check failure is logged as
    // "Discovery ignored TCP/UDP control from non-10 peer ip=%s", at most once a second); the rest is
    // dropped.
    void HandleDatagram(std::string_view bytes, const std::string& senderIp);

    // --- Expiry. Removes expired peers (PeerTable::CleanupExpired), inside the stall scope
    // ("Discovery", "CleanupExpired", 100 ms). With a run, peers due are checked first (no check once the
    // run stops). When the active peer was removed, it gets the peer-lost reaction: at once on the
    // liveness path (the DiscoveryBroadcast thread), and on the thread's next turn (RunPendingPeerLoss)
    // when a reader of the table removed it, so the reaction never runs on a reader's thread, where it may
    // hold locks of its own.
    void CleanupExpired(const DiscoveryRun* livenessRun);
    void RunPendingPeerLoss();
    // A loss noticed while the service was stopped is stale by the next start.
    void DiscardPendingPeerLoss();

    // --- Broadcast-now flag: set by Start, a primary bind and the cable's arrival; taken by the loop.
    void RequestBroadcastNow();
    bool TakeBroadcastNow();

private:
    struct LostPeer {
        std::string ip;
        std::string name;
    };
    void ReactToLostPeer(const LostPeer& peer);
    TransportFacts GatherTransportFacts();

    IDiscoveryPlatform& m_platform;
    std::atomic<IDiscoveryReactions*> m_reactions;
    PeerTable m_table;
    std::atomic<bool> m_broadcastNow{false};

    std::mutex m_pendingMutex;
    std::optional<LostPeer> m_pendingLoss; // under m_pendingMutex
};

} // namespace Discovery
