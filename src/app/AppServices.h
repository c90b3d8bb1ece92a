#pragma once

#include "core/PortSet.h"

// The long-lived services that start-up and shutdown drive, in the order the sequence calls them.
class IAppServices {
public:
    virtual ~IAppServices() = default;

    virtual void SetAppRunning(bool running) = 0; // state manager
    virtual void LoadSettings() = 0;              // validates and publishes the port set
    // Connects the services to each other (reactions, session services) before any of them starts.
    virtual void ConnectServices() = 0;
    virtual PortSet ConfiguredPorts() = 0;
    virtual void SetRuntimeErrorText(const char* text) = 0;
    virtual void ScheduleFirewallCheck() = 0; // on its own thread; start-up never waits for it
    virtual void RefreshDevicePresence(const char* reason) = 0;
    virtual void StartDevicePresence() = 0;
    virtual void StopDevicePresence() = 0;
    virtual void StartLifecycleModules() = 0;
    virtual void StopLifecycleModules(const char* reason) = 0;
    virtual void StartDiagnosticsThreads() = 0; // long-run guard and stall watchdog
    virtual void StopDiagnosticsThreads() = 0;  // clears their run flags; not waited for
    virtual bool AutoConnectSetting() = 0;
    virtual void SetAutoConnectIntent(bool enabled, const char* reason) = 0;
    virtual void StartAutoConnect() = 0;
    virtual void StopAutoConnect() = 0;
    virtual void StopDragDrop() = 0;
};
