#pragma once

#include "app/AppServices.h"

// The services that start-up drives before they exist: settings, state manager, firewall check, cable
// presence, lifecycle modules, diagnostics threads, auto-connect and drag service each take their place
// here as they are built. Until then a call does nothing and the defaults hold.
class PendingAppServices final : public IAppServices {
public:
    void SetAppRunning(bool) override {}
    void LoadSettings() override {}
    PortSet ConfiguredPorts() override { return PortSet{}; }
    void SetRuntimeErrorText(const char*) override {}
    void ScheduleFirewallCheck() override {}
    void RefreshDevicePresence(const char*) override {}
    void StartDevicePresence() override {}
    void StopDevicePresence() override {}
    void StartLifecycleModules() override {}
    void StopLifecycleModules(const char*) override {}
    void StartDiagnosticsThreads() override {}
    void StopDiagnosticsThreads() override {}
    bool AutoConnectSetting() override { return false; }
    void SetAutoConnectIntent(bool, const char*) override {}
    void StartAutoConnect() override {}
    void StopAutoConnect() override {}
    void StopDragDrop() override {}
};
