#include "service/win/SessionHostLoop.h"

#include <string>

#include "core/Utf.h"
#include "service/WardletShared.h"
#include "service/win/SessionProcesses.h"
#include "service/win/WardletLog.h"
#include "service/win/WardletSupport.h"

namespace {

constexpr DWORD kPassIntervalMs = 2000;
constexpr DWORD kSuggestionSettleMs = 250;
constexpr DWORD kSecureRestartPauseMs = 1000;
constexpr DWORD kWaitFailurePauseMs = 250;

bool CreateNamed(UniqueHandle& event, const char16_t* name, const char16_t* sddl, bool manualReset,
                 DWORD& error) {
    event = CreateServiceEvent(name, sddl, manualReset);
    if (event)
        return true;
    error = ::GetLastError();
    WardletLog("[SESSIONHOST][EVENT_FAIL] name=%s error=%lu", Utf16ToUtf8(name).c_str(), error);
    return false;
}

bool CreateOwn(UniqueHandle& event, DWORD& error) {
    event.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (event)
        return true;
    error = ::GetLastError();
    return false;
}

enum class WaitSource { Stop, SessionChange, Worker, RequestUserHost, ExitRequested, CaptureRequest };

} // namespace

bool CreateSessionHostEvents(SessionHostEvents& events, DWORD& error) {
    return CreateOwn(events.stop, error) && CreateOwn(events.sessionChange, error) &&
           CreateNamed(events.requestUserHost, kRequestUserHostEventName, kUserSignalableEventSddl, false,
                       error) &&
           CreateNamed(events.userHostReady, kUserHostReadyEventName, kUserHostReadyEventSddl, true, error) &&
           CreateNamed(events.exitRequested, kUserHostExitRequestedEventName, kUserSignalableEventSddl, false,
                       error) &&
           CreateNamed(events.captureRequest, kSecureCaptureRequestEventName, kUserSignalableEventSddl, false,
                       error);
}

void ServiceLoop(const SessionHostEvents& events, SessionSystem& system, SessionHost& host) {
    // The prelogin host and the worker are started with another session's token (primary-token assignment,
    // quotas) and the winlogon token is opened from another session's process (debug).
    EnablePrivilege(L"SeAssignPrimaryTokenPrivilege");
    EnablePrivilege(L"SeIncreaseQuotaPrivilege");
    EnablePrivilege(L"SeDebugPrivilege");

    host.Begin();
    HANDLE stop = events.stop.Get();
    if (::WaitForSingleObject(stop, 0) == WAIT_OBJECT_0) {
        host.Leave();
        return;
    }

    for (;;) {
        host.Pass();

        HANDLE handles[6];
        WaitSource sources[6];
        DWORD count = 0;
        auto add = [&](HANDLE handle, WaitSource source) {
            if (handle == nullptr)
                return;
            handles[count] = handle;
            sources[count] = source;
            ++count;
        };
        add(stop, WaitSource::Stop);
        add(events.sessionChange.Get(), WaitSource::SessionChange);
        add(system.WorkerProcess(), WaitSource::Worker);
        add(events.requestUserHost.Get(), WaitSource::RequestUserHost);
        add(events.exitRequested.Get(), WaitSource::ExitRequested);
        add(events.captureRequest.Get(), WaitSource::CaptureRequest);

        DWORD result = ::WaitForMultipleObjects(count, handles, FALSE, kPassIntervalMs);
        if (result == WAIT_TIMEOUT)
            continue;
        if (result == WAIT_FAILED) {
            WardletLog("service wait failed error=%lu worker=%p count=%lu", ::GetLastError(),
                       system.WorkerProcess(), count);
            host.StopWorker();
            ::WaitForSingleObject(stop, kWaitFailurePauseMs);
            continue;
        }
        DWORD index = result - WAIT_OBJECT_0;
        if (index >= count) {
            WardletLog("service wait returned unknown index=%lu result=%lu count=%lu", index, result, count);
            continue;
        }
        switch (sources[index]) {
        case WaitSource::Stop:
            host.Leave();
            return;
        case WaitSource::SessionChange:
            host.OnSessionChangeSignalled();
            break;
        case WaitSource::Worker: {
            uint32_t exitCode = system.WorkerExitCode();
            // Give the desktop switch that made the worker leave a moment to reach WTS before comparing.
            if (exitCode == kWardletExitWinlogonActive || exitCode == kWardletExitDefaultActive)
                ::WaitForSingleObject(stop, kSuggestionSettleMs);
            if (host.OnWorkerExited(exitCode))
                ::WaitForSingleObject(stop, kSecureRestartPauseMs);
            break;
        }
        case WaitSource::RequestUserHost:
            host.OnUserHostRequest();
            break;
        case WaitSource::ExitRequested:
            host.OnExitRequest();
            break;
        case WaitSource::CaptureRequest:
            host.OnCaptureRequest();
            break;
        }
    }
}
