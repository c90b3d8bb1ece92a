#pragma once

#include <string>
#include <string_view>

class DiscoveryRun;

// What the discovery service needs from the services built around it: the control server and the two sync
// workers it runs on its threads, the control message dispatcher, the session controller and the transport
// channels. Every member does nothing by default (a query answers "no"), so discovery runs before those
// services exist; start-up installs the real reactions (Discovery::SetReactions) before Discovery::Start.
// Members may be called from any discovery thread and from the threads that list the peers; none is called
// with the peer mutex held.
class IDiscoveryReactions {
public:
    virtual ~IDiscoveryReactions() = default;

    // --- Bodies of three of the service's four threads. Each returns once run.Running() is false; a
    // default body returns at once.
    virtual void RunControlServer(const DiscoveryRun& /*run*/) {}  // thread DiscoveryControl
    virtual void RunVisibilitySync(const DiscoveryRun& /*run*/) {} // thread VideoVisibilitySync
    virtual void RunQualitySync(const DiscoveryRun& /*run*/) {}    // thread VideoQualitySync
    // Wakes both sync workers from their waits (the run has just been stopped).
    virtual void WakeSyncWorkers() {}
    // The local visibility has not been confirmed by a peer (service start, cable removal).
    virtual void MarkVisibilityUnconfirmed() {}
    virtual void WakeVisibilityWorker() {}
    // Forgets the Mac health line, the remote desktop-locked report and the stored control request (cable
    // removal).
    virtual void ResetControlCaches() {}

    // --- A TSLY_CONTROL_REQUEST or TSLY_CONTROL_STOP datagram from a link (10.x) sender with a foreign id,
    // on the DiscoveryBroadcast thread. The text ends at the datagram's end or its first zero byte.
    virtual void HandleControlMessage(const std::string& /*senderIp*/, std::string_view /*message*/) {}

    // --- Session controller.
    virtual bool IsActivePeer(const std::string& /*ip*/) { return false; }
    // The active peer is gone and no transport lives: end the sessions.
    virtual void OnPeerLost() {}

    // --- Transport channels, asked when the active peer expired while a session runs.
    virtual bool IsClipboardChannelOpen() { return false; }  // the clipboard channel holds an open socket
    virtual bool IsInputChannelConnected() { return false; } // the input channel reports a connection
};
