#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "link/DiscoveryPlatform.h"
#include "link/DiscoveryReactions.h"
#include "link/DiscoveryRun.h"
#include "link/PeerRecord.h"

// Fakes shared by the discovery tests.

// A settable clock; sleeps advance it and never block. Liveness checks and cable rescans are recorded.
class FakeDiscoveryPlatform final : public IDiscoveryPlatform {
public:
    uint32_t Tick() override { return now.load(); }
    bool Sleep(const DiscoveryRun& run, uint32_t ms) override {
        now += ms;
        if (stopRun != nullptr && now.load() >= stopAt)
            stopRun->RequestStop();
        return run.Running();
    }
    bool PingPeer(const std::string& ip) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        pings.push_back(ip);
        return pingOk;
    }
    bool RefreshCable(const char* reason) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        refreshes.emplace_back(reason);
        return cablePresent;
    }

    std::atomic<uint32_t> now{100000};
    bool pingOk = false;
    bool cablePresent = true;
    // When set, the first sleep that reaches stopAt stops this run.
    uint32_t stopAt = 0;
    DiscoveryRun* stopRun = nullptr;
    std::vector<std::string> pings;
    std::vector<std::string> refreshes;

private:
    std::mutex m_mutex;
};

// Records what discovery asks of the services around it.
class RecordingReactions final : public IDiscoveryReactions {
public:
    void WakeSyncWorkers() override { ++wakes; }
    void MarkVisibilityUnconfirmed() override { ++visibilityUnconfirmed; }
    void WakeVisibilityWorker() override { ++visibilityWakes; }
    void ResetControlCaches() override { ++cacheResets; }
    void HandleControlMessage(const std::string& senderIp, std::string_view message) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        controlMessages.push_back(senderIp + "|" + std::string(message));
    }
    bool IsActivePeer(const std::string& ip) override { return !activeIp.empty() && ip == activeIp; }
    void OnPeerLost() override { ++peerLost; }
    bool IsClipboardChannelOpen() override { return clipboardOpen; }
    bool IsInputChannelConnected() override { return inputConnected; }

    std::string activeIp;
    bool clipboardOpen = false;
    bool inputConnected = false;
    std::atomic<int> wakes{0}, visibilityUnconfirmed{0}, visibilityWakes{0}, cacheResets{0}, peerLost{0};
    std::vector<std::string> controlMessages;

private:
    std::mutex m_mutex;
};

inline PeerRecord MakePeer(const std::string& id, const std::string& ip, uint32_t tick,
                           const std::string& name = "PC", const std::string& ver = "20260827.3",
                           uint32_t ultra = 0) {
    PeerRecord r;
    r.id = id;
    r.name = name;
    r.ip = ip;
    r.ver = ver;
    r.lastSeenTick = tick;
    r.ultra = ultra;
    return r;
}
