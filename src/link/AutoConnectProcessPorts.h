#pragma once

#include "link/AutoConnectPorts.h"

// The auto-connect engine's ports over the process-wide services of this area and the core: the runtime
// state, the state manager, discovery, the session controller, the control handling's Mac health line and
// the settings. What only the platform and the application know keeps an "absent" answer here: the cable
// counts as missing with no network, and the lifecycle as not started. Start-up installs a subclass that
// answers them (app/win/ServiceWiring.cpp).
class ProcessAutoConnectPorts : public IAutoConnectPorts {
public:
    uint32_t Now() override;
    // The runtime state's application-running flag; shutting down and lifecycle-started are the
    // application's.
    AutoConnectAppFacts AppFacts() override;
    StateSnapshot SessionSnapshot() override;
    AutoConnectRuntimeFacts RuntimeFacts() override;
    bool CablePresent() override { return false; }
    CableNetwork QueryCableNetwork() override { return {}; }
    std::vector<PeerRecord> DiscoveredPeers() override;
    MacHealthEntry MacHealth() override;
    bool UiEnglish() override;

    void OnLocalDeviceRemoved() override;
    void StopAllSessions(const char* reason) override;
    void ClearPeerCache() override;
    void OnLocalDeviceInserted() override;
    bool RequestControlDevice(const std::string& peerId) override;

    void SetRuntimeIdle() override;
    void SetStatusMessage(const std::string& text, bool repaint) override;

    uint64_t DeviceListGeneration() override;
    void WakeDeviceListWaiters() override;
    uint64_t WaitForDeviceListChange(uint64_t seen, uint32_t timeoutMs) override;
};
