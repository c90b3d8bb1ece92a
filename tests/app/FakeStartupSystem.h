#pragma once

#include <map>
#include <set>
#include <string>

#include "app/AppServices.h"
#include "app/StartupPlatform.h"

// Records every start-up call in the test log (as "@Call args"), beside the lines the sequence logs,
// and answers from a settable world of named objects and call results.
class FakeStartupSystem : public IStartupPlatform, public IAppServices {
public:
    struct NamedObject {
        bool accessDenied = false;
        uint32_t waitResult = 0;
    };

    // The world.
    std::map<std::u16string, NamedObject> objects;
    ElevationResult elevation{ElevationStatus::Elevated, 0};
    PathResult exePath{u"C:\\Apps\\Tessaly.exe", 0};
    CallResult relaunch{true, 0};
    InstanceMutexResult instanceMutex{InstanceMutexStatus::Acquired, 0};
    uintptr_t existingWindow = 0x1234;
    DpiResult perMonitorV2{DpiStatus::Enabled, 0};
    DpiResult systemAware{DpiStatus::Enabled, 0};
    int winsockError = 0;
    int32_t oleResult = 0;
    int32_t mediaFoundationResult = 0;
    std::map<WindowClass, uint32_t> classErrors;
    CallResult mainWindow{true, 0};
    CallResult signalResult{true, 0};
    ThreadStart diagnosticThread{true, 77, 0};
    bool autoConnectSetting = false;

    // What happened.
    std::set<NativeHandle> openHandles;
    std::string errorText;
    std::atomic<bool>* diagnosticFlag = nullptr;

    // IStartupPlatform
    void InstallCrashHandler() override;
    void RestoreCrashHandler() override;
    uint32_t ProcessId() override { return 4242; }
    uint32_t ActiveConsoleSessionId() override { return 1; }
    OpenResult OpenNamedMutex(std::u16string_view name) override;
    OpenResult OpenNamedEvent(std::u16string_view name, EventAccess access) override;
    CallResult SignalEvent(NativeHandle event) override;
    uint32_t WaitForObject(NativeHandle object, uint32_t timeoutMs) override;
    void ReleaseOwnedMutex(NativeHandle mutex) override;
    void CloseObject(NativeHandle object) override;
    ElevationResult QueryElevation() override;
    PathResult ExecutablePath() override;
    CallResult RelaunchElevated(const std::u16string& file, const std::u16string& parameters) override;
    InstanceMutexResult CreateInstanceMutex(std::u16string_view name) override;
    uintptr_t RestoreExistingMainWindow(bool show) override;
    bool ReleaseInstanceMutex() override;
    DpiResult EnablePerMonitorAwareV2() override;
    DpiResult EnableSystemDpiAware() override;
    int StartWinsock() override;
    void StopWinsock() override;
    int32_t StartOle() override;
    void StopOle() override;
    int32_t StartMediaFoundation() override;
    void StopMediaFoundation() override;
    std::string HResultText(int32_t hr) override;
    void ProbeUdpPort(const char* label, uint16_t port) override;
    void ProbeTcpPort(const char* label, uint16_t port) override;
    uint32_t RegisterWindowClass(WindowClass windowClass) override;
    CallResult CreateMainWindow(int showCommand) override;
    void HideMainWindow() override;
    void KeepInstanceForDragService() override;
    void RunMessageLoop() override;
    void Sleep(uint32_t ms) override;
    ThreadStart StartDiagnosticThread(std::atomic<bool>* running) override;
    void JoinDiagnosticThread(uint32_t timeoutMs) override;

    // IAppServices
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

private:
    void Note(const std::string& event);
    OpenResult Open(std::u16string_view name, const char* what);

    std::map<NativeHandle, std::u16string> m_handleNames;
    NativeHandle m_nextHandle = 100;
    bool m_instanceMutexHeld = false;
};
