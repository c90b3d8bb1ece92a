#include "app/AppLifecycle.h"
#include "app/AppLifecycleModules.h"
#include "core/RuntimeState.h"
#include "core/StateManager.h"
#include "link/AutoConnect.h"
#include "media/Session.h"

namespace {

class ProcessLifecycleHost final : public IAppLifecycleHost {
public:
    void StopAutoConnect() override { AutoConnect::Instance().Stop(); }

    void MarkAppStopped() override {
        SessionOwnership::Instance().RefuseStarts();
        bool changed = RuntimeSetAppRunning(false);
        StateManager::Instance().SetRunning(false);
        if (changed)
            RuntimeNotifyChanged();
    }

    void SetChannelState(int channel, int state, const char* reason) override {
        StateManager::Instance().SetChannelState(channel, static_cast<int32_t>(state), reason);
    }
};

// Never destroyed: the tray's exit worker may still be stopping while the process ends.
AppLifecycle& ProcessLifecycle() {
    static auto* host = new ProcessLifecycleHost;
    static auto* lifecycle = new AppLifecycle(AppLifecycleStartOrder(), AppLifecycleStopOrder(), *host);
    return *lifecycle;
}

} // namespace

bool AppLifecycleStartAll() {
    return ProcessLifecycle().StartAll();
}

void AppLifecycleStopAll(const char* reason) {
    ProcessLifecycle().StopAll(reason);
}

bool AppLifecycleIsStarted() {
    return ProcessLifecycle().IsStarted();
}

bool AppLifecycleIsShuttingDown() {
    return ProcessLifecycle().IsShuttingDown();
}
