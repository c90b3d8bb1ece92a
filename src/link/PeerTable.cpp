#include "link/PeerTable.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "core/Log.h"

namespace Discovery {

namespace {

struct DueCheck {
    PeerRecord record; // as it was when the check was planned
    LivenessResult result = LivenessResult::Skipped;
};

} // namespace

PeerTable::PeerTable(Clock clock) : m_clock(std::move(clock)) {}

void PeerTable::BumpLocked() {
    ++m_generation;
    m_generationChanged.notify_all();
}

PeerUpsert PeerTable::Upsert(const PeerRecord& incoming) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto stored = std::find_if(m_records.begin(), m_records.end(),
                               [&](const PeerRecord& record) { return IsSamePeer(record, incoming); });
    if (stored != m_records.end()) {
        if (!RefreshPeerRecord(*stored, incoming))
            return PeerUpsert::Refreshed;
        BumpLocked();
        return PeerUpsert::IdChanged;
    }
    if (m_records.size() >= kPeerTableCapacity)
        return PeerUpsert::TableFull;
    m_records.push_back(incoming);
    BumpLocked();
    return PeerUpsert::Added;
}

std::vector<PeerRecord> PeerTable::Snapshot() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_records;
}

std::optional<PeerRecord> PeerTable::FindById(std::string_view id) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const PeerRecord& record : m_records)
        if (record.id == id)
            return record;
    return std::nullopt;
}

std::optional<PeerRecord> PeerTable::FindByIp(std::string_view ip) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const PeerRecord& record : m_records)
        if (record.ip == ip)
            return record;
    return std::nullopt;
}

void PeerTable::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_records.clear();
}

uint64_t PeerTable::Generation() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_generation;
}

void PeerTable::BumpGeneration() {
    std::lock_guard<std::mutex> lock(m_mutex);
    BumpLocked();
}

uint64_t PeerTable::WaitForGenerationChange(uint64_t seen, uint32_t timeoutMs) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_generationChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                 [&] { return m_generation != seen; });
    return m_generation;
}

std::vector<ExpiredPeer> PeerTable::CleanupExpired(const LivenessProbe& probe) {
    std::vector<DueCheck> due;
    if (probe) {
        std::lock_guard<std::mutex> lock(m_mutex);
        uint32_t now = m_clock();
        for (const PeerRecord& record : m_records)
            if (LivenessCheckDue(now - record.lastSeenTick))
                due.push_back({record, LivenessResult::Skipped});
    }
    for (DueCheck& check : due)
        check.result = probe(check.record);

    std::vector<ExpiredPeer> expired;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const DueCheck& check : due) {
            if (check.result == LivenessResult::Skipped)
                continue;
            // A record refreshed (or replaced) while it was being checked is judged by its new message.
            auto record = std::find_if(m_records.begin(), m_records.end(), [&](const PeerRecord& r) {
                return r.id == check.record.id && r.ip == check.record.ip &&
                       r.lastSeenTick == check.record.lastSeenTick;
            });
            if (record == m_records.end())
                continue;
            if (check.result == LivenessResult::Alive)
                record->tcpFailures = 0;
            else
                ++record->tcpFailures;
        }
        uint32_t now = m_clock();
        auto kept = std::stable_partition(m_records.begin(), m_records.end(), [&](const PeerRecord& r) {
            return JudgePeer(now - r.lastSeenTick, r.tcpFailures) == PeerVerdict::Keep;
        });
        for (auto it = kept; it != m_records.end(); ++it) {
            PeerVerdict verdict = JudgePeer(now - it->lastSeenTick, it->tcpFailures);
            expired.push_back({std::move(*it), verdict});
        }
        m_records.erase(kept, m_records.end());
    }
    for (const ExpiredPeer& peer : expired)
        Log::Write("Discovery expired device name=%s id=%s ip=%s reason=%s fail=%d", peer.record.name.c_str(),
                   peer.record.id.c_str(), peer.record.ip.c_str(), PeerVerdictReason(peer.verdict),
                   static_cast<int>(peer.record.tcpFailures));
    return expired;
}

} // namespace Discovery
