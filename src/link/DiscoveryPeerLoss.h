#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Whether losing the active peer from the peer table ends its session: a pure decision over facts the
// discovery service gathers after the peer expired.
namespace Discovery {

// What says that a session's transport is still alive although discovery lost the peer.
struct TransportFacts {
    bool runtimeHostRunning = false;   // runtime state
    bool runtimeClientRunning = false; // runtime state
    bool hostRunning = false;          // state manager
    bool clientRunning = false;        // state manager
    bool connected = false;            // state manager
    int32_t videoState = 0;            // ChannelState values
    int32_t inputState = 0;
    int32_t clipboardState = 0;
    bool clipboardEnabled = false;      // settings
    bool clipboardSocketOpen = false;   // clipboard channel
    bool inputChannelConnected = false; // input channel
    bool tcpInputConnected = false;     // state manager
};

// No session runs (neither side in the runtime state nor in the state manager): no transport lives.
// Otherwise it lives when the state manager says connected, the video, input or clipboard channel is
// Connected, clipboard sharing is on and its channel holds a socket, or the input channel is connected.
bool IsTransportAlive(const TransportFacts& facts);

struct PeerLossFacts {
    uint32_t activeDownloads = 0; // HTTP downloads in progress (runtime state)
    bool cablePresent = true;     // after a rescan; not looked at while downloads run
    TransportFacts transport;     // not looked at unless the cable is present
};

enum class PeerLossOutcome {
    DeferredForTransfer,   // a download runs: log only
    MappedToDeviceRemoval, // the cable itself is gone: the presence service handles it
    SessionKept,           // the network peer is lost, but a transport still lives
    SessionLost,           // the network and session peer are lost: end the sessions
};

PeerLossOutcome DecidePeerLoss(const PeerLossFacts& facts);

// The first status text of a lost session: "Peer offline: " and the peer's name, cut (never inside a UTF-8
// character) to kPeerOfflineStatusMaxBytes.
inline constexpr size_t kPeerOfflineStatusMaxBytes = 319;
std::string PeerOfflineStatus(std::string_view name);

} // namespace Discovery
