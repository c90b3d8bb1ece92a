// TSLY_CONTROL_REQUEST (this PC becomes the controlled side) and TSLY_CONTROL_STOP.
#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "link/ControlHandler.h"
#include "link/ControlHandlerState.h"
#include "link/ControlHandlerText.h"
#include "link/ControlMessageRead.h"
#include "link/ControlRequestParams.h"
#include "link/KvmSessionManager.h"
#include "link/LocalIdentity.h"
#include "link/QualitySync.h"
#include "link/SessionControllerServices.h"

using namespace Discovery;

namespace {

constexpr uint32_t kIncomingRequestSuppressMs = 10000;
constexpr const char* kIncomingRequestWins = "incoming control request wins";

const char* QualityName(uint32_t quality) {
    return QualityModeName(quality != 0);
}

unsigned long Seq(uint32_t value) {
    return static_cast<unsigned long>(value);
}

} // namespace

void ControlHandler::HandleControlRequest(const std::string& ip, std::string_view message) {
    const std::string id = BoundedPeerText(GetMessageValue(message, "id"));
    const std::string name = BoundedPeerText(GetMessageValue(message, "name"));
    if (!IsForeignPeerId(id, CurrentLocalIdentity().id))
        return;

    if (RuntimeGetRole() == static_cast<int32_t>(RuntimeRole::Controlled) && RuntimeIsHostRunning() &&
        m_session.IsActivePeer(ip)) {
        HandleDuplicateRequest(ip, message, id, name);
        return;
    }

    // The values are held to the rules a sender applies, so a peer cannot ask for more than this PC would.
    const bool localAudio = ConfigService::Instance().GetSnapshot().audioEnable != 0;
    const ControlRequestParams request = ReadControlRequestParams(message, ip, localAudio);

    if (!m_session.AdmitIncomingRequest(ip, id))
        return;

    SessionControllerServices& services = Services();
    if (services.IsAutoConnectIntentEnabled())
        services.SuppressAutoConnect(kIncomingRequestSuppressMs, kIncomingRequestWins);

    m_state.requests.Store(ip, request);
    Log::Write("Controller video request stored ip=%s req=%dx%d fps=%d bitrate=%d viewHidden=%d viewSeq=%lu "
               "audio=%d quality=%s qualitySeq=%lu",
               ip.c_str(), int(request.width), int(request.height), int(request.fps), int(request.bitrate),
               int(request.viewHidden), Seq(request.viewSeq), int(request.audio),
               QualityName(request.quality), Seq(request.qualitySeq));

    RuntimeSetStatusMessage("Remote control request accepted automatically");
    RuntimeSetStatusMessageAndRepaint("Controlled by remote device");
    const std::string version = BoundedPeerText(GetMessageValue(message, "ver"));
    Log::Write(
        "Discovery received TCP control request from %s id=%s name=%s ver=%s req=%dx%d fps=%d bitrate=%d "
        "viewHidden=%d viewSeq=%lu audio=%d quality=%s qualitySeq=%lu -> switch to controlled",
        ip.c_str(), id.c_str(), name.c_str(), version.c_str(), int(request.width), int(request.height),
        int(request.fps), int(request.bitrate), int(request.viewHidden), Seq(request.viewSeq),
        int(request.audio), QualityName(request.quality), Seq(request.qualitySeq));

    m_session.SwitchToControlled(ip, name.empty() ? ip : name);
    if (!version.empty())
        RuntimeSetPeerVersion(version.c_str());
}

// The controller repeats its request while its session runs: only the values a running host session reads
// are refreshed; the session is not restarted.
void ControlHandler::HandleDuplicateRequest(const std::string& ip, std::string_view message,
                                            const std::string& id, const std::string& name) {
    const DuplicateRequestFields fields = ReadDuplicateRequestFields(message);
    const DuplicateRequestUpdate update = m_state.requests.ApplyDuplicate(ip, fields);

    if (update.audio)
        Log::Write("[AUDIO][HOST][REQUEST_CHANGED] peer=%s old=%d new=%d action=apply-running-session",
                   ip.c_str(), int(update.oldAudio), int(update.newAudio));
    if (update.quality) {
        Log::Write("[QUALITY][HOST][REQUEST_CHANGED] peer=%s old=%s new=%s action=rebuild-video-only",
                   ip.c_str(), QualityName(update.oldQuality), QualityName(update.newQuality));
        Services().RequestHostVideoRestart();
        Log::Write("Host video restart requested: %s", "controller quality selection changed");
    }

    const std::string audio = BoundedPeerText(GetMessageValue(message, "req_audio"));
    const std::string quality = BoundedPeerText(GetMessageValue(message, "req_quality"));
    Log::Write(
        "Discovery duplicate control request ignored from active peer ip=%s id=%s name=%s viewHidden=%d "
        "viewSeq=%lu audio=%s quality=%s qualitySeq=%lu controllerUltra=%d visibilityUpdated=%d "
        "audioUpdated=%d qualityUpdated=%d",
        ip.c_str(), id.c_str(), name.c_str(), fields.viewHidden ? 1 : 0, Seq(fields.viewSeq), audio.c_str(),
        quality.c_str(), Seq(fields.qualitySeq), fields.capability ? 1 : 0, update.visibility ? 1 : 0,
        update.audio ? 1 : 0, update.quality ? 1 : 0);
}

void ControlHandler::HandleControlStop(const std::string& ip, std::string_view message) {
    const std::string id = BoundedPeerText(GetMessageValue(message, "id"));
    if (!IsForeignPeerId(id, CurrentLocalIdentity().id) || !m_session.IsActivePeer(ip))
        return;

    SessionControllerServices& services = Services();
    if (!services.RefreshCable("peer-control-stop-check")) {
        // The presence service reacts to the removal itself.
        Log::Write("Discovery received control stop while local authorized device is missing; preserve "
                   "auto-connect intent");
        return;
    }
    services.SetAutoConnectIntent(false, kPeerControlStopReason);
    const std::string name = BoundedPeerText(GetMessageValue(message, "name"));
    Log::Write("Discovery received TCP control stop from %s id=%s name=%s; auto intent disabled", ip.c_str(),
               id.c_str(), name.c_str());
    RuntimeSetStatusMessageAndRepaint("Peer stopped remote session");
    m_session.StopAllSessions(kPeerControlStopReason);
}
