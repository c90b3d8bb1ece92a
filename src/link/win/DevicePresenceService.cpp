#include "link/win/DevicePresenceService.h"

#include "link/win/DevicePresenceMonitor.h"
#include "link/win/DevicePresenceScan.h"
#include "link/win/RndisAdapterWin.h"

namespace {

struct Service {
    SetupDiCableScanner scanner;
    DevicePresence presence{scanner};
    DevicePresenceMonitor monitor{presence};
};

Service& Instance() {
    static Service* const service = [] {
        // The test aid is announced once, at the first scan of start-up.
        SimulatedCableAdapter();
        return new Service();
    }();
    return *service;
}

} // namespace

namespace DevicePresenceService {

DevicePresence& Presence() {
    return Instance().presence;
}

bool Refresh(const char* reason) {
    return Instance().presence.Refresh(reason);
}

bool Start() {
    return Instance().monitor.Start();
}

void Stop() {
    Instance().monitor.Stop();
}

void SetReactions(IDevicePresenceReactions* reactions) {
    Instance().presence.SetReactions(reactions);
}

} // namespace DevicePresenceService
