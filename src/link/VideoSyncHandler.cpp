#include "link/VideoSyncHandler.h"

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "link/ControlHandler.h"
#include "link/ControlHandlerState.h"
#include "link/ControlHandlerText.h"
#include "link/ControlMessageRead.h"
#include "link/KvmSessionManager.h"
#include "link/LocalIdentity.h"
#include "link/QualitySync.h"
#include "link/SessionControllerServices.h"
#include "link/VideoSyncRequestRules.h"

using namespace Discovery;

namespace {

unsigned long Ul(uint32_t value) {
    return static_cast<unsigned long>(value);
}

bool HostSessionServes() {
    return RuntimeGetRole() == static_cast<int32_t>(RuntimeRole::Controlled) && RuntimeIsHostRunning();
}

} // namespace

VideoSyncHandler& VideoSyncHandler::Instance() {
    static VideoSyncHandler* handler =
        new VideoSyncHandler(KvmSessionManager::Instance(), ControlHandlerState::Instance().requests);
    return *handler;
}

VideoSyncHandler::VideoSyncHandler(IControlSessionTarget& session, ControlRequestStore& requests,
                                   SessionControllerServices* services)
    : m_session(session), m_requests(requests), m_services(services) {}

SessionControllerServices& VideoSyncHandler::Services() const {
    return m_services != nullptr ? *m_services : InstalledSessionControllerServices();
}

bool VideoSyncHandler::HandleVideoVisibility(std::string_view senderIp, std::string_view message,
                                             uint32_t& viewSeq) {
    viewSeq = 0;
    const std::string ip = BoundedPeerAddress(senderIp);
    if (!IsLinkPeerAddress(ip)) {
        Log::Write("[VIDEO][VISIBILITY][RX_IGNORED] non-10 peer=%s", ip.c_str());
        return false;
    }
    const std::string id = BoundedPeerText(GetMessageValue(message, "id"));
    const bool active = m_session.IsActivePeer(ip);
    if (!IsForeignPeerId(id, CurrentLocalIdentity().id) || !active) {
        Log::Write("[VIDEO][VISIBILITY][RX_IGNORED] identity/active peer=%s peerId=%s active=%d", ip.c_str(),
                   id.c_str(), active ? 1 : 0);
        return false;
    }
    if (!HostSessionServes()) {
        const std::string hiddenText = BoundedPeerText(GetMessageValue(message, "hidden"));
        Log::Write("[VIDEO][VISIBILITY][RX_IGNORED] peer=%s hidden=%s role=%d hostRunning=%d", ip.c_str(),
                   hiddenText.c_str(), static_cast<int>(RuntimeGetRole()), RuntimeIsHostRunning() ? 1 : 0);
        return false;
    }

    const bool hidden = ReadMessageFlag(message, "hidden");
    const uint32_t requested = ReadMessageNumber(message, "view_seq");
    VisibilityRequestResult result;
    m_requests.WithStoredRequest([&](StoredControlRequest& stored) {
        result = ApplyVisibilityRequest(stored, ip, hidden, requested);
    });

    switch (result.verdict) {
    case SyncRequestVerdict::OtherOwner:
        Log::Write("[VIDEO][VISIBILITY][RX_IGNORED] non-active request owner=%s sender=%s",
                   result.owner.c_str(), ip.c_str());
        return false;
    case SyncRequestVerdict::Stale:
        viewSeq = result.replySeq;
        Log::Write("[VIDEO][VISIBILITY][RX_IGNORED] stale peer=%s hidden=%d viewSeq=%lu currentSeq=%lu",
                   ip.c_str(), hidden ? 1 : 0, Ul(requested), Ul(result.replySeq));
        return false;
    case SyncRequestVerdict::Accepted:
        break;
    }
    viewSeq = result.replySeq;
    Log::Write("[VIDEO][VISIBILITY][RX] peer=%s hidden=%d viewSeq=%lu videoPolicy=%s "
               "audioPolicy=REALTIME_UNCHANGED",
               ip.c_str(), hidden ? 1 : 0, Ul(result.replySeq), hidden ? "HEARTBEAT_1FPS" : "NORMAL");
    return true;
}

bool VideoSyncHandler::HandleVideoQualityRequest(std::string_view senderIp, std::string_view message,
                                                 uint32_t& qualitySeq, bool& ultra) {
    qualitySeq = 0;
    ultra = false;
    const std::string ip = BoundedPeerAddress(senderIp);
    if (!IsLinkPeerAddress(ip)) {
        Log::Write("[QUALITY][RX_IGNORED] non-10 peer=%s", ip.c_str());
        return false;
    }
    const std::string id = BoundedPeerText(GetMessageValue(message, "id"));
    const bool active = m_session.IsActivePeer(ip);
    const bool capability = PeerHasUltraCapability(message);
    if (!IsForeignPeerId(id, CurrentLocalIdentity().id) || !active || !capability) {
        Log::Write("[QUALITY][RX_IGNORED] identity/active/capability peer=%s peerId=%s active=%d cap=%d",
                   ip.c_str(), id.c_str(), active ? 1 : 0, capability ? 1 : 0);
        return false;
    }
    if (!HostSessionServes()) {
        Log::Write("[QUALITY][RX_IGNORED] peer=%s role=%d hostRunning=%d", ip.c_str(),
                   static_cast<int>(RuntimeGetRole()), RuntimeIsHostRunning() ? 1 : 0);
        return false;
    }
    const bool requestedUltra = ReadMessageFlag(message, "quality");
    const uint32_t requested = ReadMessageNumber(message, "quality_seq");
    if (requested == 0) {
        Log::Write("[QUALITY][RX_IGNORED] missing sequence peer=%s mode=%s", ip.c_str(),
                   QualityModeName(requestedUltra));
        return false;
    }

    QualityRequestResult result;
    m_requests.WithStoredRequest([&](StoredControlRequest& stored) {
        result = ApplyQualityRequest(stored, ip, requestedUltra, requested);
    });
    if (result.verdict == SyncRequestVerdict::OtherOwner) {
        Log::Write("[QUALITY][RX_IGNORED] non-active request owner=%s sender=%s", result.owner.c_str(),
                   ip.c_str());
        return false;
    }
    qualitySeq = result.replySeq;
    ultra = result.replyUltra;
    if (result.verdict == SyncRequestVerdict::Stale) {
        Log::Write("[QUALITY][RX_STALE] peer=%s requestedSeq=%lu currentSeq=%lu requested=%s current=%s",
                   ip.c_str(), Ul(requested), Ul(result.replySeq), QualityModeName(requestedUltra),
                   QualityModeName(result.replyUltra));
        return false;
    }
    if (result.changed) {
        Log::Write("[QUALITY][RX_APPLY] peer=%s qualitySeq=%lu old=%s new=%s action=rebuild-video-only",
                   ip.c_str(), Ul(requested), QualityModeName(result.oldUltra),
                   QualityModeName(requestedUltra));
        Services().RequestHostVideoRestart();
        Log::Write("Host video restart requested: %s", "reliable controller quality selection changed");
    } else {
        Log::Write("[QUALITY][RX_CONFIRM] peer=%s qualitySeq=%lu mode=%s already-applied=1", ip.c_str(),
                   Ul(requested), QualityModeName(requestedUltra));
    }
    return true;
}

namespace Discovery {

bool HandleVideoVisibility(std::string_view senderIp, std::string_view message, uint32_t& viewSeq) {
    return VideoSyncHandler::Instance().HandleVideoVisibility(senderIp, message, viewSeq);
}

bool HandleVideoQualityRequest(std::string_view senderIp, std::string_view message, uint32_t& qualitySeq,
                               bool& ultra) {
    return VideoSyncHandler::Instance().HandleVideoQualityRequest(senderIp, message, qualitySeq, ultra);
}

} // namespace Discovery
