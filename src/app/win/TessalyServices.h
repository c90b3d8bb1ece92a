#pragma once

#include "app/AppServices.h"

// The long-lived services of Tessaly as start-up and shutdown drive them.
class TessalyServices final : public IAppServices {
public:
    void SetAppRunning(bool running) override;
    void LoadSettings() override;
    void ConnectServices() override;
    PortSet ConfiguredPorts() override;
    void SetRuntimeErrorText(const char* text) override;
    void ScheduleFirewallCheck() override;
    void RefreshDevicePresence(const char* reason) override;
    void StartDevicePresence() override;
    void StopDevicePresence() override;
    void StartLifecycleModules() override;
    void StopLifecycleModules(const char* reason) override;
    void StartDiagnosticsThreads() override;
    void StopDiagnosticsThreads() override;
    bool AutoConnectSetting() override;
    void SetAutoConnectIntent(bool enabled, const char* reason) override;
    void StartAutoConnect() override;
    void StopAutoConnect() override;
    void StopDragDrop() override;
};
