#pragma once

#include "link/DiscoveryPlatform.h"

// The discovery service's system on Windows: GetTickCount, the liveness check of the control sender, and
// the cable rescan of the device presence service.
class DiscoveryPlatformWin final : public IDiscoveryPlatform {
public:
    uint32_t Tick() override;
    bool Sleep(const DiscoveryRun& run, uint32_t ms) override;
    bool PingPeer(const std::string& ip) override;
    bool RefreshCable(const char* reason) override;
};
