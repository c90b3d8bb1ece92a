#include "app/StartupSequence.h"

#include <cstdio>
#include <string>

#include "core/BuildInfo.h"
#include "app/CommandLine.h"
#include "app/ProcessMode.h"
#include "core/Log.h"
#include "core/Utf.h"

namespace {

constexpr uint32_t kUserHostReadyWaitMs = 10000;
constexpr uint32_t kPreLoginHandOffWaitMs = 5000;
constexpr uint32_t kDiagnosticJoinMs = 3000;
constexpr uint32_t kShutdownPauseMs = 100;

// Read by the diagnostic thread; plain atomics are never destroyed in a way a late thread could notice.
std::atomic<bool> g_diagnosticRunning{false};

unsigned long U(uint32_t v) {
    return static_cast<unsigned long>(v);
}

class StartupSequence {
public:
    StartupSequence(IStartupPlatform& p, IAppServices& s, std::u16string_view cmd, int show)
        : m_p(p), m_s(s), m_commandLine(cmd), m_showCommand(show), m_switches(FindModeSwitches(cmd)),
          m_mode(ModeFromSwitches(m_switches)) {}

    int Run();

private:
    bool HandOffToServiceHost();
    void WaitForPreLoginHost();
    bool EnsureElevated();
    bool SingleInstance();
    void EnableDpiAwareness();
    bool StartRuntimes();
    bool CreateWindows();
    void SignalUserHostReady();
    void StartDiagnosticService();
    void StopDiagnosticService();
    void ProbePorts();
    void Shutdown();
    int ExitAfterEarlyEnd();
    int FailStart();
    void UninstallCrashHandler();

    IStartupPlatform& m_p;
    IAppServices& m_s;
    std::u16string_view m_commandLine;
    int m_showCommand;
    ModeSwitches m_switches;
    ProcessMode m_mode;
    bool m_winsock = false;
    bool m_ole = false;
    bool m_mediaFoundation = false;
};

int StartupSequence::Run() {
    Log::Open();
    m_p.InstallCrashHandler();
    Log::Write("CrashHandler installed mainLogOnly=1");

    Log::Write(
        "[BUILD] component=Tessaly version=%s flavor=%s compiled=%s %s arch=%s pid=%lu session=%lu mode=%s "
        "exeCommand=%s",
        BuildInfo::kVersion, BuildInfo::kFlavor, BuildInfo::CompileDate(), BuildInfo::CompileTime(),
        BuildInfo::kArch, U(m_p.ProcessId()), U(m_p.ActiveConsoleSessionId()), BuildLineModeText(m_switches),
        Utf16ToUtf8(m_commandLine).c_str());

    switch (m_mode) {
    case ProcessMode::ServiceHost:
    case ProcessMode::PreLoginHost:
        Log::Write("[SERVICEHOST][APP] hidden LocalSystem network host startup persistent=%d",
                   m_mode == ProcessMode::ServiceHost ? 1 : 0);
        break;
    case ProcessMode::UserHost:
        Log::Write("[SESSIONHOST][APP] user host launched by service on Default desktop");
        break;
    case ProcessMode::User:
        if (HandOffToServiceHost())
            return ExitAfterEarlyEnd();
        WaitForPreLoginHost();
        break;
    }

    if (!EnsureElevated())
        return ExitAfterEarlyEnd();
    if (!SingleInstance()) {
        Log::Write("App start blocked: existing instance restored");
        return ExitAfterEarlyEnd();
    }
    EnableDpiAwareness();

    Log::Write("App start");
    m_s.SetAppRunning(true);
    Log::Write("[STATE] StateManager init");
    m_s.LoadSettings();
    m_s.ConnectServices();

    if (!StartRuntimes())
        return FailStart();
    ProbePorts();
    m_s.RefreshDevicePresence("startup");
    if (!CreateWindows())
        return FailStart();
    if (m_mode == ProcessMode::UserHost)
        SignalUserHostReady();

    m_s.StartLifecycleModules();
    m_s.StartDiagnosticsThreads();
    Log::Write("[HW][START]");
    m_s.RefreshDevicePresence("hardware-service-start");
    m_s.StartDevicePresence();
    bool autoConnect = m_s.AutoConnectSetting();
    m_s.SetAutoConnectIntent(autoConnect, autoConnect ? "boot restore saved auto-connect"
                                                      : "boot idle: saved auto-connect disabled");
    m_s.StartAutoConnect();
    m_p.KeepInstanceForDragService();
    Log::Write("[DRAG][SERVICE][INIT] lazy-start monitor on connection");
    StartDiagnosticService();

    m_p.RunMessageLoop();

    Shutdown();
    return 0;
}

// A normal start meets a running service host: ask it for a user host and leave.
bool StartupSequence::HandOffToServiceHost() {
    OpenResult host = m_p.OpenNamedMutex(u"Global\\Tessaly.ServiceHost");
    if (host.handle == 0 && host.error != kErrorAccessDenied)
        return false;

    OpenResult request = m_p.OpenNamedEvent(u"Global\\MarloRequestUserHost", EventAccess::ModifyState);
    OpenResult ready = m_p.OpenNamedEvent(u"Global\\MarloUserHostReady", EventAccess::Synchronize);
    bool signalled = request.handle != 0 && m_p.SignalEvent(request.handle).ok;
    Log::Write("[SESSIONHOST][REQUEST] normal launch found prelogin host request=%d requestError=%lu; wait "
               "user host "
               "ready",
               signalled ? 1 : 0, U(request.handle != 0 ? 0 : request.error));
    if (signalled && ready.handle != 0) {
        uint32_t result = m_p.WaitForObject(ready.handle, kUserHostReadyWaitMs);
        Log::Write("[SESSIONHOST][REQUEST] ready wait result=%lu", U(result));
    }
    for (NativeHandle h : {ready.handle, request.handle, host.handle})
        if (h != 0)
            m_p.CloseObject(h);
    return true;
}

void StartupSequence::WaitForPreLoginHost() {
    OpenResult preLogin = m_p.OpenNamedMutex(u"Local\\Tessaly.PreLoginHost");
    if (preLogin.handle == 0)
        return;
    Log::Write("[PRELOGIN][APP] user startup waits for pre-login host handoff");
    uint32_t result = m_p.WaitForObject(preLogin.handle, kPreLoginHandOffWaitMs);
    Log::Write("[PRELOGIN][APP] handoff wait result=%lu", U(result));
    // A wait that succeeded (or found the mutex abandoned) owns it: hand it back before closing.
    if (result == 0 || result == 0x80)
        m_p.ReleaseOwnedMutex(preLogin.handle);
    m_p.CloseObject(preLogin.handle);
}

// True when the start goes on in this process.
bool StartupSequence::EnsureElevated() {
    ElevationResult elevation = m_p.QueryElevation();
    switch (elevation.status) {
    case ElevationStatus::Elevated:
        Log::Write("Administrator elevation: OK");
        return true;
    case ElevationStatus::TokenOpenFailed:
        Log::Write("OpenProcessToken failed gle=%lu", U(elevation.error));
        break;
    case ElevationStatus::TokenQueryFailed:
        Log::Write("GetTokenInformation(TokenElevation) failed gle=%lu", U(elevation.error));
        break;
    case ElevationStatus::NotElevated:
        Log::Write("Administrator elevation: not elevated");
        break;
    }

    if (m_commandLine.find(kElevatedRelaunchSwitch) != std::u16string_view::npos) {
        Log::Write("[WARN] Administrator elevation: relaunched copy is still not elevated; start continues");
        return true;
    }

    PathResult exe = m_p.ExecutablePath();
    if (exe.path.empty()) {
        Log::Write("GetModuleFileNameW for elevation failed gle=%lu", U(exe.error));
        return false;
    }
    std::u16string parameters(ArgumentsAfterProgramName(m_commandLine));
    if (!parameters.empty())
        parameters += u' ';
    parameters += kElevatedRelaunchSwitch;
    CallResult relaunch = m_p.RelaunchElevated(exe.path, parameters);
    if (relaunch.ok)
        Log::Write("Relaunched as administrator, current unelevated process exits");
    else
        Log::Write("ShellExecuteExW(runas) failed gle=%lu", U(relaunch.error));
    return false;
}

bool StartupSequence::SingleInstance() {
    InstanceMutexResult result = m_p.CreateInstanceMutex(SingleInstanceMutexName(m_mode));
    switch (result.status) {
    case InstanceMutexStatus::Acquired:
        Log::Write("SingleInstance: acquired mutex mode=%s", SingleInstanceModeText(m_mode));
        return true;
    case InstanceMutexStatus::CreateFailed:
        Log::Write("SingleInstance: CreateMutex failed gle=%lu; continue startup", U(result.error));
        return true;
    case InstanceMutexStatus::AlreadyExists:
        break;
    }
    // A hidden network host must stay hidden: only user modes bring the running window forward.
    bool show = !IsHiddenNetworkHost(m_mode);
    uintptr_t window = m_p.RestoreExistingMainWindow(show);
    if (window != 0 && show)
        Log::Write("SingleInstance: restored existing main window hwnd=%p", reinterpret_cast<void*>(window));
    else if (window != 0)
        Log::Write("SingleInstance: existing hidden host window left hidden hwnd=%p",
                   reinterpret_cast<void*>(window));
    else
        Log::Write("SingleInstance: existing mutex found but main window not found");
    return false;
}

void StartupSequence::EnableDpiAwareness() {
    DpiResult v2 = m_p.EnablePerMonitorAwareV2();
    if (v2.status == DpiStatus::Enabled) {
        Log::Write("DPI awareness: PER_MONITOR_AWARE_V2 enabled");
        return;
    }
    if (v2.status == DpiStatus::Failed)
        Log::Write("DPI awareness: PER_MONITOR_AWARE_V2 failed gle=%lu", U(v2.error));
    if (m_p.EnableSystemDpiAware().status == DpiStatus::Enabled)
        Log::Write("DPI awareness: SYSTEM_DPI_AWARE fallback enabled");
    else
        Log::Write("DPI awareness: fallback to default process awareness");
}

bool StartupSequence::StartRuntimes() {
    int wsa = m_p.StartWinsock();
    if (wsa != 0) {
        Log::Write("WSAStartup failed wsa=%d", wsa);
        return false;
    }
    m_winsock = true;

    auto report = [this](const char* what, int32_t hr) {
        char text[512];
        std::snprintf(text, sizeof text, "%s %s", what, m_p.HResultText(hr).c_str());
        Log::Write("%s", text);
        m_s.SetRuntimeErrorText(text);
    };
    int32_t hr = m_p.StartOle();
    if (hr < 0) {
        report("OleInitialize failed", hr);
        return false;
    }
    m_ole = true;

    m_s.ScheduleFirewallCheck();

    hr = m_p.StartMediaFoundation();
    if (hr < 0) {
        report("MFStartup failed", hr);
        return false;
    }
    m_mediaFoundation = true;
    return true;
}

void StartupSequence::ProbePorts() {
    PortSet ports = m_s.ConfiguredPorts();
    Log::Write(
        "[NET][DIAG] ports discovery-primary=%u discovery-legacy=%u control=%u video=%u input=%u audio=%u "
        "clipboard=%u http=dynamic",
        unsigned(ports.discoveryPrimary), unsigned(ports.discoveryLegacy), unsigned(ports.control),
        unsigned(ports.video), unsigned(ports.input), unsigned(ports.audio), unsigned(ports.clipboard));
    m_p.ProbeUdpPort("discovery-primary", ports.discoveryPrimary);
    m_p.ProbeUdpPort("discovery-legacy", ports.discoveryLegacy);
    m_p.ProbeTcpPort("control", ports.control);
    m_p.ProbeTcpPort("video", ports.video);
    m_p.ProbeTcpPort("input", ports.input);
    m_p.ProbeTcpPort("clipboard", ports.clipboard);
    m_p.ProbeUdpPort("audio", ports.audio);
}

bool StartupSequence::CreateWindows() {
    for (WindowClass c :
         {WindowClass::RemoteView, WindowClass::ControlView, WindowClass::StateView, WindowClass::Main}) {
        uint32_t error = m_p.RegisterWindowClass(c);
        if (error != 0 && error != kErrorClassAlreadyExists) {
            Log::Write("Register window class failed gle=%lu", U(error));
            return false;
        }
    }
    bool hidden = IsHiddenNetworkHost(m_mode);
    CallResult window = m_p.CreateMainWindow(hidden ? kShowHide : m_showCommand);
    if (!window.ok) {
        Log::Write("CreateMainWindow failed gle=%lu", U(window.error));
        return false;
    }
    if (hidden) {
        m_p.HideMainWindow();
        Log::Write("[SERVICEHOST][APP] main window kept hidden on service desktop");
    }
    return true;
}

void StartupSequence::SignalUserHostReady() {
    OpenResult ready = m_p.OpenNamedEvent(u"Global\\MarloUserHostReady", EventAccess::ModifyState);
    if (ready.handle == 0) {
        Log::Write("[SESSIONHOST][READY_WARN] ready event unavailable error=%lu", U(ready.error));
        return;
    }
    CallResult signalled = m_p.SignalEvent(ready.handle);
    m_p.CloseObject(ready.handle);
    if (!signalled.ok) {
        Log::Write("[SESSIONHOST][READY_WARN] ready event signal failed error=%lu", U(signalled.error));
        return;
    }
    Log::Write("[SESSIONHOST][READY] user host main window ready");
}

void StartupSequence::StartDiagnosticService() {
    if (g_diagnosticRunning.exchange(true)) {
        Log::Write("[DIAG] DiagnosticService already running");
        return;
    }
    ThreadStart thread = m_p.StartDiagnosticThread(&g_diagnosticRunning);
    if (thread.ok) {
        Log::Write("[DIAG] DiagnosticService start tid=%lu", U(thread.threadId));
    } else {
        g_diagnosticRunning.store(false);
        Log::Write("[DIAG][ERR] DiagnosticService CreateThread failed gle=%lu", U(thread.error));
    }
}

void StartupSequence::StopDiagnosticService() {
    if (!g_diagnosticRunning.exchange(false))
        return;
    m_p.JoinDiagnosticThread(kDiagnosticJoinMs);
    Log::Write("[DIAG] DiagnosticService stopped");
}

void StartupSequence::Shutdown() {
    m_s.StopAutoConnect();
    m_s.StopLifecycleModules("message loop exit");
    StopDiagnosticService();
    m_s.StopDragDrop();
    Log::Write("[HW][STOP]");
    m_s.StopDevicePresence();
    m_s.SetAppRunning(false);
    Log::Write("[STATE] StateManager shutdown");
    m_s.StopDiagnosticsThreads();
    m_p.Sleep(kShutdownPauseMs);
    m_p.StopMediaFoundation();
    m_p.StopOle();
    m_p.StopWinsock();
    if (m_p.ReleaseInstanceMutex())
        Log::Write("SingleInstance: released mutex");
    Log::Write("App exit");
    UninstallCrashHandler();
    Log::Close();
}

void StartupSequence::UninstallCrashHandler() {
    m_p.RestoreCrashHandler();
    Log::Write("CrashHandler uninstalled");
}

// Hand-off, relaunch and a blocked second start: a launcher sees no error.
int StartupSequence::ExitAfterEarlyEnd() {
    UninstallCrashHandler();
    Log::Close();
    return 0;
}

// A failed start-up step undoes what ran so far; the crash handler stays installed to the end.
int StartupSequence::FailStart() {
    if (m_mediaFoundation)
        m_p.StopMediaFoundation();
    if (m_ole)
        m_p.StopOle();
    if (m_winsock)
        m_p.StopWinsock();
    if (m_p.ReleaseInstanceMutex())
        Log::Write("SingleInstance: released mutex");
    Log::Close();
    return 1;
}

} // namespace

int RunTessaly(IStartupPlatform& platform, IAppServices& services, std::u16string_view commandLine,
               int showCommand) {
    return StartupSequence(platform, services, commandLine, showCommand).Run();
}
