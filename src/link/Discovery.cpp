#include "link/Discovery.h"

#include <atomic>

#include "core/Log.h"
#include "link/DiscoveryRun.h"

namespace Discovery {

namespace {

// Hands every call to the installed platform, or answers as documented in Discovery.h.
class ProcessPlatform final : public IDiscoveryPlatform {
public:
    void Install(IDiscoveryPlatform* platform) { m_target.store(platform); }

    uint32_t Tick() override {
        IDiscoveryPlatform* target = m_target.load();
        return target != nullptr ? target->Tick() : Log::TickCount();
    }
    bool Sleep(const DiscoveryRun& run, uint32_t ms) override {
        IDiscoveryPlatform* target = m_target.load();
        return target != nullptr ? target->Sleep(run, ms) : run.SleepFor(ms);
    }
    bool PingPeer(const std::string& ip) override {
        IDiscoveryPlatform* target = m_target.load();
        return target != nullptr && target->PingPeer(ip);
    }
    bool RefreshCable(const char* reason) override {
        IDiscoveryPlatform* target = m_target.load();
        return target == nullptr || target->RefreshCable(reason);
    }

private:
    std::atomic<IDiscoveryPlatform*> m_target{nullptr};
};

ProcessPlatform& Platform() {
    static ProcessPlatform* platform = new ProcessPlatform;
    return *platform;
}

} // namespace

DiscoveryService& Service() {
    static DiscoveryService* service = new DiscoveryService(Platform());
    return *service;
}

void InstallPlatform(IDiscoveryPlatform* platform) {
    Platform().Install(platform);
}

void SetReactions(IDiscoveryReactions* reactions) {
    Service().SetReactions(reactions);
}

std::vector<PeerRecord> GetDiscoveredDevices() {
    return Service().GetDiscoveredDevices();
}

bool IsPeerUltraCapable(const std::string& ip) {
    return Service().IsPeerUltraCapable(ip);
}

void OnDeviceFound(const PeerRecord& record) {
    Service().OnDeviceFound(record);
}

void ClearPeerCacheForDeviceRemoval() {
    Service().ClearPeerCacheForDeviceRemoval();
}

} // namespace Discovery
