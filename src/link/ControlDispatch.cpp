#include "core/Log.h"
#include "core/RuntimeState.h"
#include "link/ControlHandler.h"
#include "link/ControlHandlerState.h"
#include "link/ControlHandlerText.h"
#include "link/ControlMessage.h"
#include "link/ControlMessageRead.h"
#include "link/KvmSessionManager.h"
#include "link/SessionControllerServices.h"

using namespace Discovery;

ControlHandler& ControlHandler::Instance() {
    static ControlHandler* handler =
        new ControlHandler(KvmSessionManager::Instance(), ControlHandlerState::Instance());
    return *handler;
}

ControlHandler::ControlHandler(IControlSessionTarget& session, ControlHandlerState& state,
                               SessionControllerServices* services)
    : m_session(session), m_state(state), m_services(services) {}

SessionControllerServices& ControlHandler::Services() const {
    return m_services != nullptr ? *m_services : InstalledSessionControllerServices();
}

void ControlHandler::HandleControlMessage(std::string_view senderIp, std::string_view message) {
    const std::string ip = BoundedPeerAddress(senderIp);
    if (!IsLinkPeerAddress(ip)) {
        Log::Write("Discovery ignored TCP/UDP control from non-10 peer ip=%s", ip.c_str());
        return;
    }
    if (MessageHasVerb(message, kVerbPing))
        return; // the connection itself was the liveness proof

    std::string_view version = GetMessageValue(message, "ver");
    if (!version.empty() && m_session.IsActivePeer(ip))
        RuntimeSetPeerVersion(BoundedPeerText(version).c_str());

    if (MessageHasVerb(message, kVerbVideoVisibility)) {
        uint32_t viewSeq = 0;
        Services().HandleVideoVisibility(ip, message, viewSeq);
    } else if (MessageHasVerb(message, kVerbRemoteHealth)) {
        HandleRemoteHealth(ip, message);
    } else if (MessageHasVerb(message, kVerbDesktopState)) {
        HandleDesktopState(ip, message);
    } else if (MessageHasVerb(message, kVerbControlRequest)) {
        HandleControlRequest(ip, message);
    } else if (MessageHasVerb(message, kVerbControlStop)) {
        HandleControlStop(ip, message);
    }
}

namespace Discovery {

void HandleControlMessage(std::string_view senderIp, std::string_view message) {
    ControlHandler::Instance().HandleControlMessage(senderIp, message);
}

} // namespace Discovery
