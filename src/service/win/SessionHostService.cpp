#include "service/win/SessionHostService.h"

#include <atomic>
#include <mutex>

#include "core/win/TextConvert.h"
#include "service/ServiceIdentity.h"
#include "service/WardletShared.h"
#include "service/win/SessionHostLoop.h"
#include "service/win/WardletLog.h"
#include "service/win/WardletSupport.h"

namespace {

constexpr DWORD kStartWaitHintMs = 3000;
constexpr DWORD kStopWaitHintMs = 8000;
constexpr DWORD kAcceptedControls =
    SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN | SERVICE_ACCEPT_SESSIONCHANGE; // 0x85

// The handler runs on the dispatcher's thread while ServiceMain's thread runs the loop; these are what they
// share besides the host's own atomics. The mutex keeps the host alive while the handler uses it.
SERVICE_STATUS_HANDLE g_statusHandle = nullptr;
std::atomic<HANDLE> g_stopEvent{nullptr};
std::mutex g_hostMutex;
SessionHost* g_host = nullptr;
std::atomic<DWORD> g_checkPoint{0};

void ReportStatus(DWORD state, DWORD win32Exit, DWORD waitHint) {
    SERVICE_STATUS status{};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwControlsAccepted = state == SERVICE_RUNNING ? kAcceptedControls : 0;
    status.dwWin32ExitCode = win32Exit;
    status.dwWaitHint = waitHint;
    bool pending = state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING;
    status.dwCheckPoint = pending ? ++g_checkPoint : 0;
    ::SetServiceStatus(g_statusHandle, &status);
}

DWORD WINAPI ServiceControlHandler(DWORD control, DWORD eventType, LPVOID, LPVOID) {
    switch (control) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
        ReportStatus(SERVICE_STOP_PENDING, NO_ERROR, kStopWaitHintMs);
        if (HANDLE stop = g_stopEvent.load())
            ::SetEvent(stop);
        return NO_ERROR;
    case SERVICE_CONTROL_SESSIONCHANGE: {
        std::lock_guard<std::mutex> lock(g_hostMutex);
        if (g_host != nullptr)
            g_host->OnSessionChange(eventType);
        return NO_ERROR;
    }
    case SERVICE_CONTROL_INTERROGATE:
        return NO_ERROR;
    default:
        return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

} // namespace

void WINAPI ServiceMain(DWORD, LPWSTR*) {
    g_statusHandle =
        ::RegisterServiceCtrlHandlerExW(AsWide(kWardletServiceName).c_str(), ServiceControlHandler, nullptr);
    if (g_statusHandle == nullptr) {
        WardletLog("RegisterServiceCtrlHandlerExW failed error=%lu", ::GetLastError());
        return;
    }
    ReportStatus(SERVICE_START_PENDING, NO_ERROR, kStartWaitHintMs);

    SessionHostEvents events;
    DWORD error = NO_ERROR;
    bool created = CreateSessionHostEvents(events, error);
    bool suppressed = LoadExitPolicyMarker();
    if (!created) {
        ReportStatus(SERVICE_STOPPED, error, 0);
        return;
    }

    WardletLog(
        "[BUILD] component=Wardlet probeVersion=%s flavor=ServiceWorkerLifecycleFix compiled=%s %s arch=%s "
        "pid=%lu exeMode=service",
        kWardletProbeVersion, __DATE__, __TIME__, "x64", ::GetCurrentProcessId());
    WardletLog("service started probeVersion=%s logLimitBytes=10485760; Session 0 will not create D3D/DXGI",
               kWardletProbeVersion);
    {
        SessionSystem system(DefaultSessionProgramPaths(), events.userHostReady.Get(),
                             events.sessionChange.Get());
        SessionHost host(system, suppressed);
        g_stopEvent = events.stop.Get();
        {
            std::lock_guard<std::mutex> lock(g_hostMutex);
            g_host = &host;
        }
        ReportStatus(SERVICE_RUNNING, NO_ERROR, 0);
        ServiceLoop(events, system, host);
        std::lock_guard<std::mutex> lock(g_hostMutex);
        g_host = nullptr;
    }
    WardletLog("service stopped");
    g_stopEvent = nullptr;
    events = SessionHostEvents{};
    ReportStatus(SERVICE_STOPPED, NO_ERROR, 0);
}
