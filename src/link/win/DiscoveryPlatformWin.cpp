#include "link/win/DiscoveryPlatformWin.h"

#include <windows.h>

#include "link/DiscoveryRun.h"
#include "link/win/ControlSender.h"
#include "link/win/DevicePresenceService.h"

uint32_t DiscoveryPlatformWin::Tick() {
    return ::GetTickCount();
}

bool DiscoveryPlatformWin::Sleep(const DiscoveryRun& run, uint32_t ms) {
    return run.SleepFor(ms);
}

bool DiscoveryPlatformWin::PingPeer(const std::string& ip) {
    return Discovery::SendLivenessPing(ip);
}

bool DiscoveryPlatformWin::RefreshCable(const char* reason) {
    return DevicePresenceService::Refresh(reason);
}
