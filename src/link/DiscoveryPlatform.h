#pragma once

#include <cstdint>
#include <string>

class DiscoveryRun;

// What the discovery service needs from the system; the Windows one is link/win/DiscoveryPlatformWin.h.
class IDiscoveryPlatform {
public:
    virtual ~IDiscoveryPlatform() = default;
    // Milliseconds on the 32-bit tick that wraps (GetTickCount); PeerRecord::lastSeenTick uses it.
    virtual uint32_t Tick() = 0;
    // Sleeps up to ms, less when the run stops; returns whether the run still goes on.
    virtual bool Sleep(const DiscoveryRun& run, uint32_t ms) = 0;
    // The liveness check: TSLY_PING to the peer's control port. True when connect and send succeeded.
    virtual bool PingPeer(const std::string& ip) = 0;
    // Rescans the cable at once; true when it is present.
    virtual bool RefreshCable(const char* reason) = 0;
};
