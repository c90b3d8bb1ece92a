#include "FakeStartupSystem.h"

#include <utility>

#include "core/Utf.h"
#include "support/TestLog.h"

namespace {
std::string Name(std::u16string_view name) {
    return Utf16ToUtf8(name);
}
} // namespace

void FakeStartupSystem::Note(const std::string& event) {
    TestLog().Note(event);
}

OpenResult FakeStartupSystem::Open(std::u16string_view name, const char* what) {
    auto it = objects.find(std::u16string(name));
    if (it == objects.end()) {
        Note(std::string(what) + " " + Name(name) + " absent");
        return {0, 2};
    }
    if (it->second.accessDenied) {
        Note(std::string(what) + " " + Name(name) + " denied");
        return {0, kErrorAccessDenied};
    }
    Note(std::string(what) + " " + Name(name));
    NativeHandle h = m_nextHandle++;
    m_handleNames[h] = std::u16string(name);
    openHandles.insert(h);
    return {h, 0};
}

void FakeStartupSystem::InstallCrashHandler() {
    Note("InstallCrashHandler");
}
void FakeStartupSystem::RestoreCrashHandler() {
    Note("RestoreCrashHandler");
}
OpenResult FakeStartupSystem::OpenNamedMutex(std::u16string_view name) {
    return Open(name, "OpenMutex");
}

OpenResult FakeStartupSystem::OpenNamedEvent(std::u16string_view name, EventAccess access) {
    return Open(name, access == EventAccess::Synchronize ? "OpenEvent(sync)" : "OpenEvent(modify)");
}

CallResult FakeStartupSystem::SignalEvent(NativeHandle event) {
    Note("Signal " + Name(m_handleNames[event]));
    return signalResult;
}

uint32_t FakeStartupSystem::WaitForObject(NativeHandle object, uint32_t timeoutMs) {
    const std::u16string& name = m_handleNames[object];
    Note("Wait " + Name(name) + " " + std::to_string(timeoutMs));
    return objects[name].waitResult;
}

void FakeStartupSystem::ReleaseOwnedMutex(NativeHandle mutex) {
    Note("ReleaseMutex " + Name(m_handleNames[mutex]));
}

void FakeStartupSystem::CloseObject(NativeHandle object) {
    Note("Close " + Name(m_handleNames[object]));
    openHandles.erase(object);
}

ElevationResult FakeStartupSystem::QueryElevation() {
    Note("QueryElevation");
    return elevation;
}

PathResult FakeStartupSystem::ExecutablePath() {
    Note("ExecutablePath");
    return exePath;
}

CallResult FakeStartupSystem::RelaunchElevated(const std::u16string& file, const std::u16string& parameters) {
    Note("RelaunchElevated file=" + Name(file) + " parameters=" + Name(parameters));
    return relaunch;
}

InstanceMutexResult FakeStartupSystem::CreateInstanceMutex(std::u16string_view name) {
    Note("CreateInstanceMutex " + Name(name));
    m_instanceMutexHeld = instanceMutex.status == InstanceMutexStatus::Acquired;
    return instanceMutex;
}

uintptr_t FakeStartupSystem::RestoreExistingMainWindow(bool show) {
    Note(std::string("RestoreExistingMainWindow show=") + (show ? "1" : "0"));
    return existingWindow;
}

bool FakeStartupSystem::ReleaseInstanceMutex() {
    Note("ReleaseInstanceMutex");
    return std::exchange(m_instanceMutexHeld, false);
}

DpiResult FakeStartupSystem::EnablePerMonitorAwareV2() {
    Note("EnablePerMonitorAwareV2");
    return perMonitorV2;
}

DpiResult FakeStartupSystem::EnableSystemDpiAware() {
    Note("EnableSystemDpiAware");
    return systemAware;
}

int FakeStartupSystem::StartWinsock() {
    Note("StartWinsock");
    return winsockError;
}

void FakeStartupSystem::StopWinsock() {
    Note("StopWinsock");
}

int32_t FakeStartupSystem::StartOle() {
    Note("StartOle");
    return oleResult;
}

void FakeStartupSystem::StopOle() {
    Note("StopOle");
}

int32_t FakeStartupSystem::StartMediaFoundation() {
    Note("StartMediaFoundation");
    return mediaFoundationResult;
}

void FakeStartupSystem::StopMediaFoundation() {
    Note("StopMediaFoundation");
}

std::string FakeStartupSystem::HResultText(int32_t hr) {
    return hr == static_cast<int32_t>(0x80004005u) ? "0x80004005 E_FAIL Unspecified error" : "0x???";
}

void FakeStartupSystem::ProbeUdpPort(const char* label, uint16_t port) {
    Note(std::string("ProbeUdp ") + label + " " + std::to_string(port));
}

void FakeStartupSystem::ProbeTcpPort(const char* label, uint16_t port) {
    Note(std::string("ProbeTcp ") + label + " " + std::to_string(port));
}

uint32_t FakeStartupSystem::RegisterWindowClass(WindowClass windowClass) {
    Note("RegisterWindowClass " + std::to_string(static_cast<int>(windowClass)));
    auto it = classErrors.find(windowClass);
    return it == classErrors.end() ? 0 : it->second;
}

CallResult FakeStartupSystem::CreateMainWindow(int showCommand) {
    Note("CreateMainWindow show=" + std::to_string(showCommand));
    return mainWindow;
}

void FakeStartupSystem::HideMainWindow() {
    Note("HideMainWindow");
}
void FakeStartupSystem::KeepInstanceForDragService() {
    Note("KeepInstanceForDragService");
}
void FakeStartupSystem::RunMessageLoop() {
    Note("RunMessageLoop");
}
void FakeStartupSystem::Sleep(uint32_t ms) {
    Note("Sleep " + std::to_string(ms));
}

ThreadStart FakeStartupSystem::StartDiagnosticThread(std::atomic<bool>* running) {
    Note("StartDiagnosticThread");
    diagnosticFlag = running;
    return diagnosticThread;
}

void FakeStartupSystem::JoinDiagnosticThread(uint32_t timeoutMs) {
    Note("JoinDiagnosticThread " + std::to_string(timeoutMs));
}

void FakeStartupSystem::SetAppRunning(bool running) {
    Note(std::string("SetAppRunning ") + (running ? "1" : "0"));
}
void FakeStartupSystem::LoadSettings() {
    Note("LoadSettings");
}
void FakeStartupSystem::ConnectServices() {
    Note("ConnectServices");
}

PortSet FakeStartupSystem::ConfiguredPorts() {
    PortSet ports;
    ports.video = 6100;
    ports.input = 5100;
    ports.audio = 7101;
    ports.clipboard = 5102;
    return ports;
}

void FakeStartupSystem::SetRuntimeErrorText(const char* text) {
    Note("SetRuntimeErrorText");
    errorText = text;
}

void FakeStartupSystem::ScheduleFirewallCheck() {
    Note("ScheduleFirewallCheck");
}
void FakeStartupSystem::RefreshDevicePresence(const char* reason) {
    Note(std::string("RefreshDevicePresence ") + reason);
}
void FakeStartupSystem::StartDevicePresence() {
    Note("StartDevicePresence");
}
void FakeStartupSystem::StopDevicePresence() {
    Note("StopDevicePresence");
}
void FakeStartupSystem::StartLifecycleModules() {
    Note("StartLifecycleModules");
}
void FakeStartupSystem::StopLifecycleModules(const char* reason) {
    Note(std::string("StopLifecycleModules ") + reason);
}
void FakeStartupSystem::StartDiagnosticsThreads() {
    Note("StartDiagnosticsThreads");
}
void FakeStartupSystem::StopDiagnosticsThreads() {
    Note("StopDiagnosticsThreads");
}
bool FakeStartupSystem::AutoConnectSetting() {
    return autoConnectSetting;
}

void FakeStartupSystem::SetAutoConnectIntent(bool enabled, const char* reason) {
    Note(std::string("SetAutoConnectIntent ") + (enabled ? "1 " : "0 ") + reason);
}

void FakeStartupSystem::StartAutoConnect() {
    Note("StartAutoConnect");
}
void FakeStartupSystem::StopAutoConnect() {
    Note("StopAutoConnect");
}
void FakeStartupSystem::StopDragDrop() {
    Note("StopDragDrop");
}
