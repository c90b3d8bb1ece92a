#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/PeerRecord.h"

// What the session controller (KvmSessionManager) and the control message handling call in services that
// live elsewhere. Every member has a default, given in brackets: the real object where it is part of this
// area (discovery's peer table), otherwise the no-op or "absent" answer, so that both run before those
// services exist. The sessions sit in media/, which may use this area: start-up injects them.
// Start-up installs one subclass that forwards to the real services (SetSessionControllerServices); the
// object must live to the end of the process. Members may be called from any thread, also concurrently.
class SessionControllerServices {
public:
    virtual ~SessionControllerServices() = default;

    // --- Sessions [not started; nothing to stop]. Whether one runs is read from the runtime state's
    // host-running and client-running flags, which the sessions keep.
    virtual bool StartHostSession(const std::string& ip) {
        (void)ip;
        return false;
    }
    virtual void StopHostSession() {}
    virtual bool StartClientSession(const std::string& ip) {
        (void)ip;
        return false;
    }
    virtual void StopClientSession() {}

    // --- Control protocol senders (TCP, else the UDP fallback) [nothing sent].
    virtual void SendControlStop(const std::string& ip) { (void)ip; }
    virtual void SendControlRequest(const std::string& ip) { (void)ip; }

    // --- Discovery's peer table [the process-wide discovery service, link/Discovery.h].
    // Copy of the table after removing expired peers (Discovery::GetDiscoveredDevices).
    virtual std::vector<PeerRecord> DiscoveredPeers();
    // The record with this id, looked up without expiring anything.
    virtual std::optional<PeerRecord> FindPeerById(std::string_view id);
    virtual bool HasPeerWithIp(std::string_view ip);
    // The ultra flag of the record with this ip (Discovery::IsPeerUltraCapable).
    virtual bool IsPeerUltraCapable(std::string_view ip);

    // --- Cable presence: rescan now and return whether the cable is present (DevicePresence::Refresh)
    // [false: without a presence source the cable counts as missing].
    virtual bool RefreshCable(const char* reason) {
        (void)reason;
        return false;
    }

    // --- Auto-connect [intent disabled; nothing].
    virtual bool IsAutoConnectIntentEnabled() { return false; }
    // AutoConnect::Suppress: suppress-until, state Cooldown and its "[AUTOCONNECT][SUPPRESS]" line.
    virtual void SuppressAutoConnect(uint32_t ms, const char* reason) {
        (void)ms;
        (void)reason;
    }
    // AutoConnect::SetIntent.
    virtual void SetAutoConnectIntent(bool enabled, const char* reason) {
        (void)enabled;
        (void)reason;
    }

    // --- HID worker of the input route [nothing; no cached HID device].
    virtual void StartHidWorker() {}
    virtual void StartHidProbe(const char* reason) { (void)reason; }
    virtual void CancelHidQueue(const char* reason) { (void)reason; }
    virtual bool CachedHidState() { return false; }

    // --- Visibility and quality of a running session, controlled side [not accepted, sequence 0].
    // Both return the accepted flag of the reply and fill the sequence (and mode) it carries.
    virtual bool HandleVideoVisibility(const std::string& ip, std::string_view message, uint32_t& viewSeq) {
        (void)ip;
        (void)message;
        viewSeq = 0;
        return false;
    }
    virtual bool HandleVideoQualityRequest(const std::string& ip, std::string_view message,
                                           uint32_t& qualitySeq, bool& ultra) {
        (void)ip;
        (void)message;
        qualitySeq = 0;
        ultra = false;
        return false;
    }

    // --- The controller's side of the visibility and quality sync, which every outgoing control request
    // carries [view shown, both sequences 0].
    virtual void LocalVideoSyncState(bool& viewHidden, uint32_t& viewSeq, uint32_t& qualitySeq) {
        viewHidden = false;
        viewSeq = 0;
        qualitySeq = 0;
    }

    // --- Host session: set HostVideoRestartRequested, so the running host rebuilds its video pipeline
    // [nothing].
    virtual void RequestHostVideoRestart() {}
};

// The installed services; null restores the defaults.
void SetSessionControllerServices(SessionControllerServices* services);
SessionControllerServices& InstalledSessionControllerServices();
