// The outgoing control request and the collision rule against incoming ones.
#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "link/ControlHandlerText.h"
#include "link/KvmSessionManager.h"
#include "link/LocalIdentity.h"
#include "link/SessionControllerServices.h"

namespace {

constexpr const char* kSwitchToControllerReason = "switch to controller";

unsigned long Gen(uint32_t generation) {
    return static_cast<unsigned long>(generation);
}

} // namespace

bool KvmSessionManager::RequestControlDevice(const std::string& peerId) {
    bool idle = false;
    if (!m_requestInProgress.compare_exchange_strong(idle, true)) {
        Log::Write("DiscoveryRequestControlDevice ignored: control request already in progress deviceId=%s",
                   BoundedPeerText(peerId).c_str());
        return false;
    }
    const uint32_t generation = m_collisionGeneration.load();
    SessionControllerServices& services = Services();
    const std::optional<PeerRecord> peer = services.FindPeerById(peerId);
    if (!peer) {
        FinishRequest();
        return false;
    }

    ConfigService::Instance().SetPeerAddress(peer->ip);
    RuntimeSetProgramState(ProgramState::Switching);
    RuntimeSetStatusMessage(("Switching to control " + peer->name).c_str());
    RuntimeSetStatusMessageAndRepaint("Switching session...");

    // An incoming request admitted up to here wins: its session is left alone and nothing is sent.
    if (!StopAllForRequest(generation) || !MarkRequestSent(generation, peer->ip)) {
        Log::Write(
            "[CONTROL][COLLISION] outgoing request canceled before send peer=%s; incoming controlled role "
            "has priority",
            peer->ip.c_str());
        FinishRequest();
        return false;
    }

    services.SendControlRequest(peer->ip);

    if (m_collisionGeneration.load() != generation) {
        Log::Write(
            "[CONTROL][COLLISION] outgoing request canceled after send peer=%s; do not reverse accepted "
            "controlled role",
            peer->ip.c_str());
        FinishRequest();
        return false;
    }

    RuntimeSetProgramState(ProgramState::Connecting);
    RuntimeSetStatusMessage(("Connecting to " + peer->name).c_str());
    RuntimeSetStatusMessageAndRepaint("Connecting to discovered device...");
    // The peer's acceptance is not awaited: the request went out, by TCP or by the UDP fallback.
    const bool ok = SwitchToController(peer->ip, peer->name);
    if (ok && !peer->ver.empty())
        RuntimeSetPeerVersion(peer->ver.c_str());
    FinishRequest();
    return ok;
}

bool KvmSessionManager::StopAllForRequest(uint32_t generation) {
    std::lock_guard<std::mutex> lock(m_sessionMutex);
    // Checked under the session mutex: an incoming request admitted earlier may already have started the
    // controlled session, which a stop here would end (and tell the peer to stop its side too).
    if (m_collisionGeneration.load() != generation)
        return false;
    StopAllLocked(kSwitchToControllerReason);
    return true;
}

bool KvmSessionManager::MarkRequestSent(uint32_t generation, const std::string& peerIp) {
    std::lock_guard<std::mutex> lock(m_collisionMutex);
    if (m_collisionGeneration.load() != generation)
        return false;
    m_requestSending = true;
    m_lastSentIp = peerIp;
    m_lastSentTick = Log::TickCount();
    return true;
}

void KvmSessionManager::FinishRequest() {
    {
        std::lock_guard<std::mutex> lock(m_collisionMutex);
        m_requestSending = false;
    }
    m_requestInProgress.store(false);
}

bool KvmSessionManager::AdmitIncomingRequest(std::string_view senderIp, std::string_view senderId) {
    const bool controllerOfSender = RuntimeGetRole() == static_cast<int32_t>(RuntimeRole::Controller) &&
                                    RuntimeIsClientRunning() && IsActivePeer(senderIp);
    const std::string localId = Discovery::CurrentLocalIdentity().id;
    uint32_t generation = 0;
    bool losesTieBreak = false;
    {
        std::lock_guard<std::mutex> lock(m_collisionMutex);
        const bool crossed = !m_lastSentIp.empty() && m_lastSentIp == senderIp &&
                             Log::TickCount() - m_lastSentTick < kCrossingWindowMs &&
                             (m_requestSending || controllerOfSender);
        // Both sides see the same two ids, so exactly one of them yields.
        losesTieBreak = crossed && std::string_view(localId) > senderId;
        if (!losesTieBreak)
            generation = m_collisionGeneration.fetch_add(1) + 1;
    }
    const std::string ip = BoundedPeerAddress(senderIp);
    if (losesTieBreak) {
        Log::Write(
            "[CONTROL][COLLISION] incoming request loses tie-break peer=%s peerId=%s localId=%s; keep own "
            "request as controller",
            ip.c_str(), BoundedPeerText(senderId).c_str(), localId.c_str());
        return false;
    }
    if (m_requestInProgress.load())
        Log::Write(
            "[CONTROL][COLLISION] incoming request wins generation=%lu peer=%s; cancel pending outgoing "
            "request",
            Gen(generation), ip.c_str());
    return true;
}

bool KvmSessionManager::ConnectFirstDevice() {
    const std::vector<PeerRecord> peers = Services().DiscoveredPeers();
    if (peers.empty()) {
        RuntimeSetStatusMessage("No Tessaly device found");
        RuntimeSetStatusMessageAndRepaint("No device found");
        return false;
    }
    return RequestControlDevice(peers.front().id);
}

bool DiscoveryRequestControlDevice(const std::string& peerId) {
    return KvmSessionManager::Instance().RequestControlDevice(peerId);
}

namespace Discovery {

bool ConnectFirstDevice() {
    return KvmSessionManager::Instance().ConnectFirstDevice();
}

} // namespace Discovery
