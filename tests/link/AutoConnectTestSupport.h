#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "link/AutoConnectPorts.h"
#include "link/AutoConnectTick.h"
#include "link/PeerTable.h"
#include "support/EventCount.h"
#include "support/TestLog.h"

// Shared by the auto-connect tests: a world in which a tick asks the peer for control, effects as text, and
// ports that record what the engine does in the order of its log lines.

inline PeerRecord Peer(const char* id, const char* name, const char* ip) {
    PeerRecord peer;
    peer.id = id;
    peer.name = name;
    peer.ip = ip;
    return peer;
}

// Everything running, intent on, the cable and its network ready, no session, one peer "PC-B".
inline AutoConnectTickInput ReadyWorld(uint32_t now) {
    AutoConnectTickInput in;
    in.now = now;
    in.state = AutoConnectState::Idle;
    in.intentEnabled = true;
    in.app = AutoConnectAppFacts{false, true, true};
    in.cablePresent = true;
    in.network = CableNetwork{true, true, true, "10.0.0.1"};
    in.peers = {Peer("TSLY-PC-B", "PC-B", "10.0.0.2")};
    return in;
}

inline std::string Describe(const AutoConnectEffect& e) {
    switch (e.kind) {
    case AutoConnectEffectKind::SetState:
        return std::string("state ") + AutoConnectStateName(e.state) + " (" + e.text + ")";
    case AutoConnectEffectKind::Log:
        return "log " + e.text;
    case AutoConnectEffectKind::Status:
        return "status " + e.text;
    case AutoConnectEffectKind::StatusAndRepaint:
        return "status+repaint " + e.text;
    case AutoConnectEffectKind::DeviceRemoved:
        return "OnLocalDeviceRemoved";
    case AutoConnectEffectKind::StopAllSessions:
        return "StopAllSessions " + e.text;
    case AutoConnectEffectKind::ClearPeerCache:
        return "ClearPeerCache";
    case AutoConnectEffectKind::RuntimeIdle:
        return "RuntimeIdle";
    case AutoConnectEffectKind::RepairOrphan:
        return "OnLocalDeviceInserted";
    case AutoConnectEffectKind::RequestControl:
        return "request " + e.text;
    case AutoConnectEffectKind::Suppress:
        return "suppress until " + std::to_string(e.until);
    }
    return "?";
}

inline std::vector<std::string> Describe(const std::vector<AutoConnectEffect>& effects) {
    std::vector<std::string> lines;
    for (const AutoConnectEffect& e : effects)
        lines.push_back(Describe(e));
    return lines;
}

// Ports over a settable world (ReadyWorld's). Every action is noted in the log platform, between the
// engine's own lines; a look counts as a tick (AppFacts is its first question).
class FakeAutoConnectPorts final : public IAutoConnectPorts {
public:
    explicit FakeAutoConnectPorts(MemoryLogPlatform& log) : m_log(log) {
        const AutoConnectTickInput world = ReadyWorld(0);
        app = world.app;
        network = world.network;
        peers = world.peers;
    }

    uint32_t Now() override { return now.load(); }
    AutoConnectAppFacts AppFacts() override {
        m_looks.Add();
        return Locked(app);
    }
    StateSnapshot SessionSnapshot() override { return Locked(session); }
    AutoConnectRuntimeFacts RuntimeFacts() override { return Locked(runtime); }
    bool CablePresent() override { return Locked(cablePresent); }
    CableNetwork QueryCableNetwork() override { return Locked(network); }
    std::vector<PeerRecord> DiscoveredPeers() override {
        if (onPeers)
            onPeers();
        return Locked(peers);
    }
    MacHealthEntry MacHealth() override { return Locked(health); }
    bool UiEnglish() override { return true; }

    void OnLocalDeviceRemoved() override { m_log.Note("OnLocalDeviceRemoved"); }
    void StopAllSessions(const char* reason) override {
        m_log.Note(std::string("StopAllSessions ") + reason);
    }
    void ClearPeerCache() override { m_log.Note("ClearPeerCache"); }
    void OnLocalDeviceInserted() override {
        m_log.Note("OnLocalDeviceInserted");
        if (onRepair)
            onRepair();
    }
    bool RequestControlDevice(const std::string& peerId) override {
        m_log.Note("RequestControlDevice " + peerId);
        if (onRequest)
            onRequest();
        return requestOk.load();
    }
    void SetRuntimeIdle() override { m_log.Note("RuntimeIdle"); }
    void SetStatusMessage(const std::string& text, bool repaint) override {
        m_log.Note((repaint ? "status+repaint " : "status ") + text);
    }

    uint64_t DeviceListGeneration() override { return m_devices.Generation(); }
    void WakeDeviceListWaiters() override { m_devices.BumpGeneration(); }
    uint64_t WaitForDeviceListChange(uint64_t seen, uint32_t timeoutMs) override {
        return m_devices.WaitForGenerationChange(seen, timeoutMs);
    }

    // Changes the world under the lock the engine thread reads it with.
    void Change(const std::function<void(FakeAutoConnectPorts&)>& change) {
        std::lock_guard<std::mutex> lock(m_mutex);
        change(*this);
    }
    int Looks() { return m_looks.Value(); }
    bool WaitForLooks(int count, uint32_t timeoutMs) { return m_looks.WaitFor(count, timeoutMs); }

    std::atomic<uint32_t> now{100000};
    std::atomic<bool> requestOk{true};
    // The world (change it through Change while an engine thread runs).
    AutoConnectAppFacts app;
    StateSnapshot session;
    AutoConnectRuntimeFacts runtime;
    bool cablePresent = true;
    CableNetwork network;
    std::vector<PeerRecord> peers;
    MacHealthEntry health;
    // Run inside the matching port, on the engine's thread.
    std::function<void()> onPeers, onRepair, onRequest;

private:
    template <typename T> T Locked(const T& value) {
        std::lock_guard<std::mutex> lock(m_mutex);
        return value;
    }

    MemoryLogPlatform& m_log;
    std::mutex m_mutex;
    EventCount m_looks;
    Discovery::PeerTable m_devices{[] { return 0u; }};
};
