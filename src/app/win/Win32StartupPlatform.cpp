#include "app/win/Win32StartupPlatform.h"

#include <mfapi.h>
#include <ole2.h>
#include <shellapi.h>
#include <wtsapi32.h>

#include <atomic>
#include <string>

#include "app/DiagnosticService.h"
#include "app/win/PortProbe.h"
#include "core/win/CrashHandler.h"
#include "core/win/HResultText.h"
#include "core/Log.h"
#include "core/win/TextConvert.h"
#include "dragdrop/win/DragDrop.h"
#include "ui/win/MainWindow.h"

namespace {

std::atomic<HINSTANCE> g_appInstance{nullptr};

HANDLE AsHandle(NativeHandle h) {
    return reinterpret_cast<HANDLE>(h);
}
NativeHandle AsNative(HANDLE h) {
    return reinterpret_cast<NativeHandle>(h);
}

OpenResult Opened(HANDLE h) {
    return h ? OpenResult{AsNative(h), 0} : OpenResult{0, ::GetLastError()};
}

DWORD WINAPI DiagnosticThreadProc(void* param) {
    DiagnosticService::ThreadProc(*static_cast<std::atomic<bool>*>(param));
    return 0;
}

bool IsMainWindowClass(HWND hwnd) {
    wchar_t name[129] = {};
    return ::GetClassNameW(hwnd, name, 128) > 0 && lstrcmpW(name, kMainWindowClass) == 0;
}

BOOL CALLBACK FindMainWindowProc(HWND hwnd, LPARAM param) {
    if (!IsMainWindowClass(hwnd))
        return TRUE;
    *reinterpret_cast<HWND*>(param) = hwnd;
    return FALSE;
}

} // namespace

HINSTANCE AppInstance() {
    return g_appInstance.load();
}

void Win32StartupPlatform::InstallCrashHandler() {
    CrashHandler::Install();
}
void Win32StartupPlatform::RestoreCrashHandler() {
    CrashHandler::Restore();
}
uint32_t Win32StartupPlatform::ProcessId() {
    return ::GetCurrentProcessId();
}
uint32_t Win32StartupPlatform::ActiveConsoleSessionId() {
    return ::WTSGetActiveConsoleSessionId();
}

OpenResult Win32StartupPlatform::OpenNamedMutex(std::u16string_view name) {
    return Opened(::OpenMutexW(SYNCHRONIZE, FALSE, AsWide(name).c_str()));
}

OpenResult Win32StartupPlatform::OpenNamedEvent(std::u16string_view name, EventAccess access) {
    DWORD rights = access == EventAccess::Synchronize ? SYNCHRONIZE : EVENT_MODIFY_STATE;
    return Opened(::OpenEventW(rights, FALSE, AsWide(name).c_str()));
}

CallResult Win32StartupPlatform::SignalEvent(NativeHandle event) {
    if (::SetEvent(AsHandle(event)))
        return {true, 0};
    return {false, ::GetLastError()};
}

uint32_t Win32StartupPlatform::WaitForObject(NativeHandle object, uint32_t timeoutMs) {
    return ::WaitForSingleObject(AsHandle(object), timeoutMs);
}

void Win32StartupPlatform::ReleaseOwnedMutex(NativeHandle mutex) {
    ::ReleaseMutex(AsHandle(mutex));
}
void Win32StartupPlatform::CloseObject(NativeHandle object) {
    ::CloseHandle(AsHandle(object));
}

ElevationResult Win32StartupPlatform::QueryElevation() {
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw))
        return {ElevationStatus::TokenOpenFailed, ::GetLastError()};
    UniqueHandle token(raw);
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    if (!::GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof elevation, &size))
        return {ElevationStatus::TokenQueryFailed, ::GetLastError()};
    return {elevation.TokenIsElevated ? ElevationStatus::Elevated : ElevationStatus::NotElevated, 0};
}

PathResult Win32StartupPlatform::ExecutablePath() {
    wchar_t path[MAX_PATH] = {};
    DWORD len = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (len == 0 || len >= MAX_PATH)
        return {u"", ::GetLastError()};
    return {std::u16string(AsUtf16(path)), 0};
}

CallResult Win32StartupPlatform::RelaunchElevated(const std::u16string& file,
                                                  const std::u16string& parameters) {
    std::wstring wideFile = AsWide(file);
    std::wstring wideParameters = AsWide(parameters);
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpVerb = L"runas";
    info.lpFile = wideFile.c_str();
    info.lpParameters = wideParameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExW(&info))
        return {false, ::GetLastError()};
    UniqueHandle process(info.hProcess);
    return {true, 0};
}

InstanceMutexResult Win32StartupPlatform::CreateInstanceMutex(std::u16string_view name) {
    UniqueHandle mutex(::CreateMutexW(nullptr, TRUE, AsWide(name).c_str()));
    DWORD error = ::GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED)
        return {InstanceMutexStatus::AlreadyExists, error};
    if (!mutex)
        return {InstanceMutexStatus::CreateFailed, error};
    m_instanceMutex = std::move(mutex);
    return {InstanceMutexStatus::Acquired, 0};
}

uintptr_t Win32StartupPlatform::RestoreExistingMainWindow(bool show) {
    HWND hwnd = ::FindWindowW(kMainWindowClass, nullptr);
    if (hwnd == nullptr || !::IsWindow(hwnd)) {
        hwnd = nullptr;
        ::EnumWindows(FindMainWindowProc, reinterpret_cast<LPARAM>(&hwnd));
    }
    if (hwnd == nullptr)
        return 0;
    if (show) {
        if (::IsIconic(hwnd))
            ::ShowWindow(hwnd, SW_RESTORE);
        ::ShowWindow(hwnd, SW_SHOW);
        ::SetForegroundWindow(hwnd);
        ::BringWindowToTop(hwnd);
        FLASHWINFO flash = {sizeof flash, hwnd, FLASHW_TRAY | FLASHW_TIMERNOFG, 3, 0};
        ::FlashWindowEx(&flash);
    }
    return reinterpret_cast<uintptr_t>(hwnd);
}

bool Win32StartupPlatform::ReleaseInstanceMutex() {
    if (!m_instanceMutex)
        return false;
    ::ReleaseMutex(m_instanceMutex.Get());
    m_instanceMutex.Reset();
    return true;
}

DpiResult Win32StartupPlatform::EnablePerMonitorAwareV2() {
    using SetContextFn = BOOL(WINAPI*)(HANDLE);
    auto fn = reinterpret_cast<SetContextFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
    if (fn == nullptr)
        return {DpiStatus::Unavailable, 0};
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
    if (fn(reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4))))
        return {DpiStatus::Enabled, 0};
    return {DpiStatus::Failed, ::GetLastError()};
}

DpiResult Win32StartupPlatform::EnableSystemDpiAware() {
    using SetAwareFn = BOOL(WINAPI*)();
    auto fn = reinterpret_cast<SetAwareFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "SetProcessDPIAware")));
    if (fn == nullptr)
        return {DpiStatus::Unavailable, 0};
    return fn() ? DpiResult{DpiStatus::Enabled, 0} : DpiResult{DpiStatus::Failed, ::GetLastError()};
}

int Win32StartupPlatform::StartWinsock() {
    WSADATA data;
    return ::WSAStartup(MAKEWORD(2, 2), &data);
}

void Win32StartupPlatform::StopWinsock() {
    ::WSACleanup();
}
int32_t Win32StartupPlatform::StartOle() {
    return ::OleInitialize(nullptr);
}
void Win32StartupPlatform::StopOle() {
    ::OleUninitialize();
}

int32_t Win32StartupPlatform::StartMediaFoundation() {
    static_assert(MF_VERSION == 0x20070, "Media Foundation version of the build's headers");
    return ::MFStartup(MF_VERSION, MFSTARTUP_FULL);
}

void Win32StartupPlatform::StopMediaFoundation() {
    ::MFShutdown();
}
std::string Win32StartupPlatform::HResultText(int32_t hr) {
    return HResultToText(hr);
}
void Win32StartupPlatform::ProbeUdpPort(const char* label, uint16_t port) {
    CanBindUdpPort(label, port);
}
void Win32StartupPlatform::ProbeTcpPort(const char* label, uint16_t port) {
    CanBindTcpPort(label, port);
}

uint32_t Win32StartupPlatform::RegisterWindowClass(WindowClass windowClass) {
    return RegisterTessalyWindowClass(m_instance, windowClass);
}

CallResult Win32StartupPlatform::CreateMainWindow(int showCommand) {
    return ::CreateMainWindow(m_instance, showCommand);
}

void Win32StartupPlatform::HideMainWindow() {
    if (HWND hwnd = MainWindowHandle())
        ::ShowWindow(hwnd, SW_HIDE);
}

void Win32StartupPlatform::KeepInstanceForDragService() {
    g_appInstance.store(m_instance);
    DragDrop::KeepInstance(m_instance);
}

void Win32StartupPlatform::RunMessageLoop() {
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void Win32StartupPlatform::Sleep(uint32_t ms) {
    ::Sleep(ms);
}

ThreadStart Win32StartupPlatform::StartDiagnosticThread(std::atomic<bool>* running) {
    DWORD tid = 0;
    HANDLE thread = ::CreateThread(nullptr, 0, DiagnosticThreadProc, running, 0, &tid);
    if (thread == nullptr)
        return {false, 0, ::GetLastError()};
    m_diagnosticThread.Reset(thread);
    return {true, tid, 0};
}

void Win32StartupPlatform::JoinDiagnosticThread(uint32_t timeoutMs) {
    if (m_diagnosticThread)
        ::WaitForSingleObject(m_diagnosticThread.Get(), timeoutMs);
    m_diagnosticThread.Reset();
}
