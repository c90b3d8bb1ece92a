#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

// Opaque operating-system handle; 0 means none.
using NativeHandle = uintptr_t;

constexpr uint32_t kErrorAccessDenied = 5;
constexpr uint32_t kErrorClassAlreadyExists = 1410;
constexpr uint32_t kWaitTimeout = 258;
constexpr int kShowHide = 0;

enum class EventAccess { Synchronize, ModifyState };

struct OpenResult {
    NativeHandle handle = 0;
    uint32_t error = 0; // when handle is 0
};

enum class ElevationStatus { Elevated, NotElevated, TokenOpenFailed, TokenQueryFailed };
struct ElevationResult {
    ElevationStatus status = ElevationStatus::NotElevated;
    uint32_t error = 0;
};

struct CallResult {
    bool ok = false;
    uint32_t error = 0;
};

struct PathResult {
    std::u16string path; // empty on failure
    uint32_t error = 0;
};

enum class InstanceMutexStatus { Acquired, AlreadyExists, CreateFailed };
struct InstanceMutexResult {
    InstanceMutexStatus status = InstanceMutexStatus::CreateFailed;
    uint32_t error = 0;
};

enum class DpiStatus { Unavailable, Enabled, Failed };
struct DpiResult {
    DpiStatus status = DpiStatus::Unavailable;
    uint32_t error = 0;
};

// Registered in this order.
enum class WindowClass { RemoteView, ControlView, StateView, Main };

struct ThreadStart {
    bool ok = false;
    uint32_t threadId = 0;
    uint32_t error = 0;
};

// The operating-system calls of start-up and shutdown; the order and the decisions are the sequence's.
class IStartupPlatform {
public:
    virtual ~IStartupPlatform() = default;

    virtual void InstallCrashHandler() = 0;
    virtual void RestoreCrashHandler() = 0;
    virtual uint32_t ProcessId() = 0;
    virtual uint32_t ActiveConsoleSessionId() = 0;

    virtual OpenResult OpenNamedMutex(std::u16string_view name) = 0; // for SYNCHRONIZE
    virtual OpenResult OpenNamedEvent(std::u16string_view name, EventAccess access) = 0;
    // SetEvent; on failure the system error.
    virtual CallResult SignalEvent(NativeHandle event) = 0;
    virtual uint32_t WaitForObject(NativeHandle object, uint32_t timeoutMs) = 0;
    virtual void ReleaseOwnedMutex(NativeHandle mutex) = 0;
    virtual void CloseObject(NativeHandle object) = 0;

    virtual ElevationResult QueryElevation() = 0;
    virtual PathResult ExecutablePath() = 0;
    virtual CallResult RelaunchElevated(const std::u16string& file, const std::u16string& parameters) = 0;

    virtual InstanceMutexResult CreateInstanceMutex(std::u16string_view name) = 0;
    // Finds the running main window; shows and brings it forward only when show is set. Returns it, or 0.
    virtual uintptr_t RestoreExistingMainWindow(bool show) = 0;
    // Releases and closes the single-instance mutex; false when none was held.
    virtual bool ReleaseInstanceMutex() = 0;

    virtual DpiResult EnablePerMonitorAwareV2() = 0;
    virtual DpiResult EnableSystemDpiAware() = 0;

    virtual int StartWinsock() = 0; // 0, or the Winsock error
    virtual void StopWinsock() = 0;
    virtual int32_t StartOle() = 0; // HRESULT
    virtual void StopOle() = 0;
    virtual int32_t StartMediaFoundation() = 0; // HRESULT
    virtual void StopMediaFoundation() = 0;
    virtual std::string HResultText(int32_t hr) = 0;

    virtual void ProbeUdpPort(const char* label, uint16_t port) = 0;
    virtual void ProbeTcpPort(const char* label, uint16_t port) = 0;

    virtual uint32_t RegisterWindowClass(WindowClass windowClass) = 0; // 0, or the Win32 error
    virtual CallResult CreateMainWindow(int showCommand) = 0;
    virtual void HideMainWindow() = 0;
    virtual void KeepInstanceForDragService() = 0;
    virtual void RunMessageLoop() = 0;
    virtual void Sleep(uint32_t ms) = 0;

    // The diagnostic service's thread runs while running is set.
    virtual ThreadStart StartDiagnosticThread(std::atomic<bool>* running) = 0;
    // Waits for that thread up to timeoutMs and closes its handle.
    virtual void JoinDiagnosticThread(uint32_t timeoutMs) = 0;
};
