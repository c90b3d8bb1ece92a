#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

#include "link/PeerRecord.h"
#include "link/PeerTableRules.h"

// The peers this PC hears, in arrival order, under one mutex (the peer mutex); readers get copies.
//
// Identity rule: an incoming record with the same id or the same ip as a stored one (the first in list
// order) refreshes it; otherwise it is appended. The device-list generation rises, and its waiters wake,
// only when a peer is added or a stored peer changes its id.
//
// Liveness checks connect to a peer for up to 180 ms each. They run with the mutex released, so a reader
// of the table (the ControlView paints every 33 ms) never waits for them: the peers due are copied, checked,
// and the results applied only to records that no discovery message refreshed in the meantime.
namespace Discovery {

enum class PeerUpsert {
    Added,     // appended; the generation rose
    Refreshed, // same id, same ip
    IdChanged, // a new id at a known ip; the generation rose
    TableFull, // a new peer, but the table holds kPeerTableCapacity already: dropped
};

enum class LivenessResult {
    Alive,   // connected and sent the check in full
    Failed,  // connect or send failed
    Skipped, // not checked (the service is stopping): the record is left as it was
};

struct ExpiredPeer {
    PeerRecord record;
    PeerVerdict verdict = PeerVerdict::UdpTimeout;
};

class PeerTable {
public:
    // The tick that lastSeenTick values come from; read under the mutex, so a record stored by another
    // thread just before is never younger than "now".
    using Clock = std::function<uint32_t()>;
    using LivenessProbe = std::function<LivenessResult(const PeerRecord&)>;

    explicit PeerTable(Clock clock);
    PeerTable(const PeerTable&) = delete;
    PeerTable& operator=(const PeerTable&) = delete;

    PeerUpsert Upsert(const PeerRecord& incoming);
    std::vector<PeerRecord> Snapshot() const;
    std::optional<PeerRecord> FindById(std::string_view id) const;
    std::optional<PeerRecord> FindByIp(std::string_view ip) const;
    void Clear();

    uint64_t Generation() const;
    // Raises the generation and wakes every waiter (also for changes outside the table: cable, shutdown).
    void BumpGeneration();
    // Waits until the generation differs from `seen` or timeoutMs have passed; returns the generation.
    uint64_t WaitForGenerationChange(uint64_t seen, uint32_t timeoutMs);

    // Removes the peers that are dead (kDeadAfterFailedChecks failed checks) or older than kPeerExpiryAgeMs
    // and returns them in list order, each logged as
    // "Discovery expired device name=%s id=%s ip=%s reason=%s fail=%d". With a probe, every peer of
    // kLivenessCheckAgeMs or more is checked first: a failure counts, a success sets tcpFailures to 0 and
    // leaves lastSeenTick alone.
    std::vector<ExpiredPeer> CleanupExpired(const LivenessProbe& probe);

private:
    void BumpLocked();

    Clock m_clock;
    mutable std::mutex m_mutex;
    std::condition_variable m_generationChanged;
    std::vector<PeerRecord> m_records; // under m_mutex
    uint64_t m_generation = 0;         // under m_mutex
};

} // namespace Discovery
