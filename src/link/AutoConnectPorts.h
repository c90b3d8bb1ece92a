#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/StateManagerTypes.h"
#include "link/AutoConnectTick.h"
#include "link/HealthLine.h"
#include "link/PeerRecord.h"
#include "link/RndisAdapter.h"

// Everything the auto-connect engine reads and does outside itself. The process-wide engine uses
// ProcessAutoConnectPorts (link/AutoConnectProcessPorts.h); tests use their own. Called from the engine
// thread, and the device-list members also from the threads that call AutoConnect::Stop and
// AutoConnect::OnDevicePresence.
class IAutoConnectPorts {
public:
    virtual ~IAutoConnectPorts() = default;

    // --- Facts.
    virtual uint32_t Now() = 0; // the 32-bit millisecond tick
    virtual AutoConnectAppFacts AppFacts() = 0;
    virtual StateSnapshot SessionSnapshot() = 0;
    virtual AutoConnectRuntimeFacts RuntimeFacts() = 0;
    virtual bool CablePresent() = 0;
    virtual CableNetwork QueryCableNetwork() = 0;
    virtual std::vector<PeerRecord> DiscoveredPeers() = 0;
    virtual MacHealthEntry MacHealth() = 0;
    virtual bool UiEnglish() = 0;

    // --- Session controller and discovery.
    virtual void OnLocalDeviceRemoved() = 0;
    virtual void StopAllSessions(const char* reason) = 0;
    virtual void ClearPeerCache() = 0;
    virtual void OnLocalDeviceInserted() = 0;
    virtual bool RequestControlDevice(const std::string& peerId) = 0;

    // --- Runtime state and user interface.
    virtual void SetRuntimeIdle() = 0; // program state IDLE, role none, error text cleared
    virtual void SetStatusMessage(const std::string& text, bool repaint) = 0;

    // --- Discovery's device-list generation, which wakes the engine.
    virtual uint64_t DeviceListGeneration() = 0;
    virtual void WakeDeviceListWaiters() = 0; // bumps the generation and wakes every waiter
    // Waits up to timeoutMs for the generation to differ from seen; returns the generation then.
    virtual uint64_t WaitForDeviceListChange(uint64_t seen, uint32_t timeoutMs) = 0;
};
