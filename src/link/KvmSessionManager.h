#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include "link/ControlHandler.h"

class SessionControllerServices;
struct ControlHandlerState;

// The stop reason of a stop that the peer asked for; StopAllSessions does not echo such a stop back.
inline constexpr const char* kPeerControlStopReason = "peer tcp control stop";

// The session controller: decides which side this PC plays. It makes the PC the controller (a client
// session) or the controlled side (a host session), stops all sessions, reacts to a lost peer and to the
// cable being removed or inserted, owns the identity of the active peer, and sends the outgoing control
// request with its one-at-a-time guard and its collision rule.
//
// Locks, in order: the session mutex (serialises every entry point below except the outgoing request), the
// session state mutex (around the unified-state changes of cable removal and insertion), the active-peer
// mutex and the collision mutex (leaves). "Stopping" means program state STOPPING or the application-running
// flag clear; entry points then only log their "ignored" lines.
//
// Collisions. Every admitted incoming request raises the collision generation; an outgoing request that sees
// it change gives way, before it is sent or after; its stop of the running sessions is skipped once an
// incoming request was admitted, which would otherwise end the session that request just started and tell the
// peer to stop as well. When both PCs send at the same moment, each receives the other's request after its
// own has gone out, and without a tie-break both would end controlled with no controller. So a request that
// crossed this PC's own request to the same peer (this PC's request was sent and is still in progress, or
// made this PC that peer's controller less than 2000 ms ago) is dropped when this PC's id is the higher one:
// the PC with the lower id yields and becomes controlled, the other one becomes its controller. Peers without
// the tie-break still yield as before, so a mixed pair ends no worse than it did. The mark "sent" and the
// generation share the collision mutex, so an incoming request either raises the generation before the
// outgoing one is committed to sending, or sees it as sent.
class KvmSessionManager final : public IControlSessionTarget {
public:
    // The process-wide session controller over ControlHandlerState::Instance() and the installed services;
    // created on first use, never destroyed.
    static KvmSessionManager& Instance();

    // Null services: the installed ones (InstalledSessionControllerServices), looked up at every call.
    explicit KvmSessionManager(ControlHandlerState& state, SessionControllerServices* services = nullptr);
    KvmSessionManager(const KvmSessionManager&) = delete;
    KvmSessionManager& operator=(const KvmSessionManager&) = delete;

    // --- Active peer.
    // Stores ip, name (an empty name keeps the old one) and the settings' peerAddress; publishes them to the
    // runtime state (which mirrors them into the state manager); logs "[SESSION] activePeer ip=%s name=%s".
    void SetActivePeer(const std::string& ip, const std::string& name);
    // Empties ip and name (peerAddress stays), publishes that, logs "[SESSION] activePeer cleared", and
    // resets the remote desktop-locked cache and the stored control request.
    void ClearActivePeer();
    bool IsActivePeer(std::string_view ip) override;
    std::string ActivePeerIp() override;
    std::string ActivePeerName();
    // A peer of the active name that now answers at another ip than currentIp (the client session's
    // reconnect): true with newIp set.
    bool ResolvePeerIpChange(const std::string& currentIp, std::string& newIp);

    // --- Entry points (session mutex).
    void StopAllSessions(const char* reason) override;
    void OnLocalDeviceRemoved();
    void OnLocalDeviceInserted();
    // Discovery lost the active peer; the reason is always "Discovery TCP/heartbeat timeout".
    void OnPeerLost();
    bool SwitchToController(const std::string& ip, const std::string& name);
    bool SwitchToControlled(const std::string& ip, const std::string& name) override;

    // --- Outgoing control request (runs on the caller's thread, outside the session mutex).
    // DiscoveryRequestControlDevice: asks the peer with this id to be controlled and makes this PC its
    // controller as soon as the request is sent (its acceptance is not awaited).
    bool RequestControlDevice(const std::string& peerId);
    // Discovery::ConnectFirstDevice: the request to the first discovered peer.
    bool ConnectFirstDevice();
    bool AdmitIncomingRequest(std::string_view senderIp, std::string_view senderId) override;

    uint32_t CollisionGeneration() const { return m_collisionGeneration.load(); }
    bool IsRequestInProgress() const { return m_requestInProgress.load(); }
    // Taken by the client session around its own unified-state changes (after the session mutex, if both).
    std::mutex& SessionStateMutex() { return m_sessionStateMutex; }

    // A crossing request from the peer is recognised for this long after this PC's own request was sent.
    static constexpr uint32_t kCrossingWindowMs = 2000;

private:
    SessionControllerServices& Services() const;
    bool IsStopping() const;
    bool AnySessionRuns();
    void StopSessions(); // client, then host
    void StopAllLocked(const char* reason);
    // StopAllSessions for the outgoing request: false, and nothing stopped, when an incoming request was
    // admitted since `generation` (the session it started must survive).
    bool StopAllForRequest(uint32_t generation);
    bool MarkRequestSent(uint32_t generation, const std::string& peerIp);
    void FinishRequest();

    ControlHandlerState& m_state;
    SessionControllerServices* m_services;

    std::mutex m_sessionMutex;
    std::mutex m_sessionStateMutex;

    std::mutex m_peerMutex; // active peer texts
    std::string m_activeIp, m_activeName;

    std::atomic<bool> m_requestInProgress{false};
    std::atomic<uint32_t> m_collisionGeneration{0};
    std::mutex m_collisionMutex; // the outgoing request's sent mark; the generation is raised under it
    bool m_requestSending = false;
    std::string m_lastSentIp;
    uint32_t m_lastSentTick = 0;
};

// The outgoing control request (auto-connect calls it with the peer it chose).
bool DiscoveryRequestControlDevice(const std::string& peerId);

namespace Discovery {
// ControlView's connect button and the tray's reconnect.
bool ConnectFirstDevice();
} // namespace Discovery
