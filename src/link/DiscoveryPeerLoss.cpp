#include "link/DiscoveryPeerLoss.h"

#include "link/ControlMessageText.h"
#include "core/StateManagerTypes.h"

namespace Discovery {

namespace {

bool IsConnected(int32_t channelState) {
    return channelState == static_cast<int32_t>(ChannelState::Connected);
}

} // namespace

bool IsTransportAlive(const TransportFacts& f) {
    if (!f.runtimeHostRunning && !f.runtimeClientRunning && !f.hostRunning && !f.clientRunning)
        return false;
    return f.connected || IsConnected(f.videoState) || IsConnected(f.inputState) ||
           IsConnected(f.clipboardState) || (f.clipboardEnabled && f.clipboardSocketOpen) ||
           f.inputChannelConnected || f.tcpInputConnected;
}

PeerLossOutcome DecidePeerLoss(const PeerLossFacts& facts) {
    if (facts.activeDownloads > 0)
        return PeerLossOutcome::DeferredForTransfer;
    if (!facts.cablePresent)
        return PeerLossOutcome::MappedToDeviceRemoval;
    return IsTransportAlive(facts.transport) ? PeerLossOutcome::SessionKept : PeerLossOutcome::SessionLost;
}

std::string PeerOfflineStatus(std::string_view name) {
    BoundedText<kPeerOfflineStatusMaxBytes + 1> status;
    status.Append("Peer offline: %.*s", static_cast<int>(name.size()), name.data());
    return std::string(status.View());
}

} // namespace Discovery
