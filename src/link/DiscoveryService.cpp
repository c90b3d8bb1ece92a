#include "link/DiscoveryService.h"

#include <utility>

#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/RuntimeState.h"
#include "core/StallScope.h"
#include "link/DiscoveryDatagram.h"
#include "link/DiscoveryRun.h"
#include "link/LocalIdentity.h"
#include "core/StateManager.h"

namespace Discovery {

namespace {

constexpr const char* kPeerAvailableReason = "Discovery peer available";
// Lines about senders that are not let in: a flood of them must not flood the log.
constexpr uint32_t kRejectLogIntervalMs = 1000;

// The defaults: no other service reacts. Never destroyed, like every process-wide object.
IDiscoveryReactions& NoReactions() {
    static IDiscoveryReactions* none = new IDiscoveryReactions;
    return *none;
}

} // namespace

DiscoveryService::DiscoveryService(IDiscoveryPlatform& platform)
    : m_platform(platform), m_reactions(&NoReactions()), m_table([&platform] { return platform.Tick(); }) {}

void DiscoveryService::SetReactions(IDiscoveryReactions* reactions) {
    m_reactions.store(reactions != nullptr ? reactions : &NoReactions());
}

IDiscoveryReactions& DiscoveryService::Reactions() const {
    return *m_reactions.load();
}

void DiscoveryService::OnDeviceFound(const PeerRecord& record) {
    PeerAdmission admission = AdmitPeer(record.id, record.ip, CurrentLocalIdentity().id);
    if (admission == PeerAdmission::NonLink) {
        if (LogThrottle::Allow("Discovery non-10 peer", kRejectLogIntervalMs))
            Log::Write("Discovery ignored non-10 peer id=%s ip=%s", record.id.c_str(), record.ip.c_str());
        return;
    }
    if (admission != PeerAdmission::Accept)
        return;

    PeerUpsert upsert = m_table.Upsert(record);
    if (upsert == PeerUpsert::TableFull) {
        if (LogThrottle::Allow("Discovery table full", kRejectLogIntervalMs))
            Log::Write("Discovery ignored peer: table full id=%s ip=%s peers=%u", record.id.c_str(),
                       record.ip.c_str(), static_cast<unsigned>(kPeerTableCapacity));
        return;
    }
    if (upsert == PeerUpsert::Added)
        Log::Write("Discovery found device name=%s id=%s ip=%s ver=%s ultra=%d", record.name.c_str(),
                   record.id.c_str(), record.ip.c_str(), record.ver.c_str(), static_cast<int>(record.ultra));

    if (!record.ver.empty() && Reactions().IsActivePeer(record.ip))
        RuntimeSetPeerVersion(record.ver.c_str());
    StateManager& state = RuntimeStateManager();
    state.SetNetworkPeerLost(false, record.ip.c_str(), kPeerAvailableReason);
    state.SetPeerLost(false, kPeerAvailableReason);
}

std::vector<PeerRecord> DiscoveryService::GetDiscoveredDevices() {
    CleanupExpired(nullptr);
    return m_table.Snapshot();
}

std::optional<PeerRecord> DiscoveryService::FindPeerById(std::string_view id) {
    return m_table.FindById(id);
}

std::optional<PeerRecord> DiscoveryService::FindPeerByIp(std::string_view ip) {
    return m_table.FindByIp(ip);
}

bool DiscoveryService::IsPeerUltraCapable(std::string_view ip) {
    if (ip.empty())
        return false;
    std::optional<PeerRecord> peer = FindPeerByIp(ip);
    return peer && peer->ultra != 0;
}

void DiscoveryService::ClearPeerCacheForDeviceRemoval() {
    m_table.Clear();
    IDiscoveryReactions& reactions = Reactions();
    reactions.ResetControlCaches();
    reactions.MarkVisibilityUnconfirmed();
    reactions.WakeVisibilityWorker();
    Log::Write("Discovery peer cache cleared for local authorized-device removal");
}

uint64_t DiscoveryService::DeviceListGeneration() const {
    return m_table.Generation();
}

void DiscoveryService::WakeDeviceListWaiters() {
    m_table.BumpGeneration();
}

uint64_t DiscoveryService::WaitForDeviceListChange(uint64_t seen, uint32_t timeoutMs) {
    return m_table.WaitForGenerationChange(seen, timeoutMs);
}

void DiscoveryService::HandleDatagram(std::string_view bytes, const std::string& senderIp) {
    std::string_view text = DatagramText(bytes);
    DatagramDecision decision = DecideDatagram(text, senderIp, CurrentLocalIdentity().id);
    switch (decision.kind) {
    case DatagramKind::Discover:
        OnDeviceFound(PeerRecordFromDiscovery(text, senderIp, m_platform.Tick()));
        break;
    case DatagramKind::Control:
        if (decision.admission == PeerAdmission::Accept)
            Reactions().HandleControlMessage(senderIp, text);
        else if (decision.admission == PeerAdmission::NonLink &&
                 LogThrottle::Allow("Discovery non-10 control", kRejectLogIntervalMs))
            Log::Write("Discovery ignored TCP/UDP control from non-10 peer ip=%s", senderIp.c_str());
        break;
    case DatagramKind::Other:
        break;
    }
}

void DiscoveryService::CleanupExpired(const DiscoveryRun* livenessRun) {
    StallScope stall("Discovery", "CleanupExpired", 100);
    PeerTable::LivenessProbe probe;
    if (livenessRun != nullptr)
        probe = [this, livenessRun](const PeerRecord& peer) {
            if (!livenessRun->Running())
                return LivenessResult::Skipped;
            return m_platform.PingPeer(peer.ip) ? LivenessResult::Alive : LivenessResult::Failed;
        };
    std::vector<ExpiredPeer> expired = m_table.CleanupExpired(probe);

    std::optional<LostPeer> lost;
    IDiscoveryReactions& reactions = Reactions();
    for (const ExpiredPeer& peer : expired)
        if (reactions.IsActivePeer(peer.record.ip))
            lost = LostPeer{peer.record.ip, peer.record.name};
    if (!lost)
        return;
    if (livenessRun != nullptr) {
        ReactToLostPeer(*lost);
        return;
    }
    std::lock_guard<std::mutex> lock(m_pendingMutex);
    m_pendingLoss = std::move(lost);
}

void DiscoveryService::RunPendingPeerLoss() {
    std::optional<LostPeer> lost;
    {
        std::lock_guard<std::mutex> lock(m_pendingMutex);
        lost.swap(m_pendingLoss);
    }
    if (lost)
        ReactToLostPeer(*lost);
}

void DiscoveryService::DiscardPendingPeerLoss() {
    std::lock_guard<std::mutex> lock(m_pendingMutex);
    m_pendingLoss.reset();
}

TransportFacts DiscoveryService::GatherTransportFacts() {
    StateSnapshot state = RuntimeStateManager().Snapshot();
    IDiscoveryReactions& reactions = Reactions();
    TransportFacts facts;
    facts.runtimeHostRunning = RuntimeIsHostRunning();
    facts.runtimeClientRunning = RuntimeIsClientRunning();
    facts.hostRunning = state.hostRunning;
    facts.clientRunning = state.clientRunning;
    facts.connected = state.connected;
    facts.videoState = state.channelStates[kChannelVideo];
    facts.inputState = state.channelStates[kChannelInput];
    facts.clipboardState = state.channelStates[kChannelClipboard];
    facts.clipboardEnabled = ConfigService::Instance().GetSnapshot().clipboardEnable > 0;
    facts.clipboardSocketOpen = facts.clipboardEnabled && reactions.IsClipboardChannelOpen();
    facts.inputChannelConnected = reactions.IsInputChannelConnected();
    facts.tcpInputConnected = state.tcpInputConnected;
    return facts;
}

void DiscoveryService::ReactToLostPeer(const LostPeer& peer) {
    const char* ip = peer.ip.c_str();
    const char* name = peer.name.c_str();
    PeerLossFacts facts;
    facts.activeDownloads = RuntimeMakeSnapshot().httpActiveDownloads;
    if (facts.activeDownloads == 0) {
        facts.cablePresent = m_platform.RefreshCable("peer-lost-fast-check");
        if (facts.cablePresent)
            facts.transport = GatherTransportFacts();
    }
    PeerLossOutcome outcome = DecidePeerLoss(facts);
    if (outcome == PeerLossOutcome::DeferredForTransfer) {
        Log::Write("Discovery peer lost deferred during HTTP transfer ip=%s name=%s", ip, name);
        return;
    }
    if (outcome == PeerLossOutcome::MappedToDeviceRemoval) {
        Log::Write("Discovery peer loss mapped to local authorized-device removal ip=%s", ip);
        return;
    }

    StateManager& state = RuntimeStateManager();
    state.SetNetworkPeerLost(true, ip, kPeerLostReason);
    if (outcome == PeerLossOutcome::SessionKept) {
        Log::Write("[DISCOVERY][SESSION_GUARD] liveness lost but active transport alive; keep session ip=%s "
                   "name=%s",
                   ip, name);
        return;
    }
    RuntimeSetStatusMessage(PeerOfflineStatus(peer.name).c_str());
    RuntimeSetStatusMessageAndRepaint("Peer offline");
    state.SetPeerLost(true, kPeerLostReason);
    Log::Write("[NET][SERVICE] peerLost ip=%s reason=%s", ip, kPeerLostReason);
    Reactions().OnPeerLost();
}

void DiscoveryService::RequestBroadcastNow() {
    m_broadcastNow.store(true);
}

bool DiscoveryService::TakeBroadcastNow() {
    return m_broadcastNow.exchange(false);
}

} // namespace Discovery
