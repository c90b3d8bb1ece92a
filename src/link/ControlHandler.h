#pragma once

#include <string>
#include <string_view>

class SessionControllerServices;
struct ControlHandlerState;

// What the control handling needs from the session controller (KvmSessionManager implements it).
class IControlSessionTarget {
public:
    virtual ~IControlSessionTarget() = default;
    // The active peer's ip, or the settings' peerAddress when none is active; empty: no peer.
    virtual std::string ActivePeerIp() = 0;
    virtual bool IsActivePeer(std::string_view ip) = 0;
    virtual bool SwitchToControlled(const std::string& ip, const std::string& name) = 0;
    virtual void StopAllSessions(const char* reason) = 0;
    // A new control request from senderIp (id senderId) is about to be accepted: raises the collision
    // generation, so that an outgoing request of this PC gives way. False when the request crossed this PC's
    // own request to the same peer and loses the tie-break; it is then dropped.
    virtual bool AdmitIncomingRequest(std::string_view senderIp, std::string_view senderId) = 0;
};

// Acts on received control messages (TCP control server and the UDP receiver of discovery).
//
// The dispatcher runs on the control server's thread for TCP messages and on the discovery broadcast thread
// for UDP ones, so two messages may be handled at once: every piece of state it touches has its own lock,
// and session changes go through the session controller, which serialises them.
//
// Every text built from peer fields is bounded: ids, names and versions are cut to 255 bytes and addresses to
// 64 (never inside a UTF-8 character) before they are stored or logged; the health line to 767 bytes.
class ControlHandler {
public:
    // The process-wide handler over KvmSessionManager::Instance(), ControlHandlerState::Instance() and the
    // installed services; created on first use, never destroyed.
    static ControlHandler& Instance();

    // Null services: the installed ones (InstalledSessionControllerServices), looked up at every call.
    ControlHandler(IControlSessionTarget& session, ControlHandlerState& state,
                   SessionControllerServices* services = nullptr);
    ControlHandler(const ControlHandler&) = delete;
    ControlHandler& operator=(const ControlHandler&) = delete;

    // The dispatcher (Discovery::HandleControlMessage). Verb tests are prefix tests in this order: the sender
    // must begin "10."; TSLY_PING ends at once; a "ver" from the active peer becomes the peer version; then
    // TSLY_VIDEO_VISIBILITY (no reply), TSLY_REMOTE_HEALTH, TSLY_DESKTOP_STATE, TSLY_CONTROL_REQUEST,
    // TSLY_CONTROL_STOP; anything else is dropped.
    void HandleControlMessage(std::string_view senderIp, std::string_view message);

private:
    void HandleRemoteHealth(const std::string& ip, std::string_view message);
    void HandleDesktopState(const std::string& ip, std::string_view message);
    void HandleControlRequest(const std::string& ip, std::string_view message);
    void HandleDuplicateRequest(const std::string& ip, std::string_view message, const std::string& id,
                                const std::string& name);
    void HandleControlStop(const std::string& ip, std::string_view message);
    SessionControllerServices& Services() const;

    IControlSessionTarget& m_session;
    ControlHandlerState& m_state;
    SessionControllerServices* m_services;
};

namespace Discovery {
// Entry point of the TCP control server and of discovery's UDP receiver: ControlHandler::Instance().
void HandleControlMessage(std::string_view senderIp, std::string_view message);
} // namespace Discovery
