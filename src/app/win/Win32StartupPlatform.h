#pragma once

#include <windows.h>

#include "app/StartupPlatform.h"
#include "core/win/Handles.h"

class Win32StartupPlatform final : public IStartupPlatform {
public:
    explicit Win32StartupPlatform(HINSTANCE instance) : m_instance(instance) {}

    void InstallCrashHandler() override;
    void RestoreCrashHandler() override;
    uint32_t ProcessId() override;
    uint32_t ActiveConsoleSessionId() override;
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

private:
    HINSTANCE m_instance;
    UniqueHandle m_instanceMutex;
    UniqueHandle m_diagnosticThread;
};

// The module instance kept for the drag service.
HINSTANCE AppInstance();
