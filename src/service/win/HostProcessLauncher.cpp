#include <windows.h>

#include <string>

#include "core/win/TextConvert.h"
#include "service/WardletShared.h"
#include "service/win/SessionProcesses.h"
#include "service/win/SessionSystem.h"
#include "service/win/WardletLog.h"

// The processes of the session host: Tessaly as prelogin or user host, and the SYSTEM capture worker.

namespace {

constexpr DWORD kTerminatedExitCode = 995; // ERROR_OPERATION_ABORTED: ended by the service
constexpr DWORD kHostStopWaitMs = 1500;
constexpr DWORD kWorkerStopWaitMs = 1500;
constexpr DWORD kWorkerTerminateWaitMs = 500;

const char* DesktopOf(bool secure) {
    return secure ? "winsta0\\Winlogon" : "winsta0\\Default";
}

std::string Utf8(const std::wstring& text) {
    return WideToUtf8(text.c_str());
}

DWORD ExitCodeOf(HANDLE process) {
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(process, &code);
    return code;
}

bool StillRunning(HANDLE process) {
    return ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
}

// Runs a command line as the token's user on a desktop of the interactive window station; the process
// handle, or null with the last error set.
UniqueHandle CreateProcessOn(HANDLE token, const std::wstring& exe, std::wstring commandLine,
                             const wchar_t* desktop, WORD show, DWORD flags, void* environment,
                             bool inheritHandles, const std::wstring& folder, DWORD& pid) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.lpDesktop = const_cast<wchar_t*>(desktop);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = show;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessAsUserW(token, exe.c_str(), commandLine.data(), nullptr, nullptr, inheritHandles,
                                flags, environment, folder.empty() ? nullptr : folder.c_str(), &startup,
                                &info))
        return {};
    UniqueHandle thread(info.hThread);
    pid = info.dwProcessId;
    return UniqueHandle(info.hProcess);
}

} // namespace

UniqueHandle SessionSystem::UserHostToken(uint32_t session) {
    HANDLE raw = nullptr;
    if (!::WTSQueryUserToken(session, &raw)) {
        WardletLog("[SESSIONHOST][START_FAIL] mode=user user token session=%lu error=%lu",
                   static_cast<unsigned long>(session), ::GetLastError());
        return {};
    }
    UniqueHandle base(raw);
    // Only a split token (UAC's limited half) has an elevated twin worth using; for a full or default token
    // the linked token is the limited one, which would start Tessaly with less than the user has.
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    DWORD bytes = 0;
    // What Windows answers for the linked token of an unsplit token.
    DWORD error = ERROR_NO_SUCH_LOGON_SESSION;
    if (::GetTokenInformation(base.Get(), TokenElevationType, &type, sizeof type, &bytes) &&
        type == TokenElevationTypeLimited) {
        TOKEN_LINKED_TOKEN linked{};
        if (::GetTokenInformation(base.Get(), TokenLinkedToken, &linked, sizeof linked, &bytes)) {
            WardletLog("[SESSIONHOST][TOKEN] using linked elevated user token session=%lu",
                       static_cast<unsigned long>(session));
            return UniqueHandle(linked.LinkedToken);
        }
        error = ::GetLastError();
    }
    TOKEN_ELEVATION elevation{};
    bool baseElevated =
        ::GetTokenInformation(base.Get(), TokenElevation, &elevation, sizeof elevation, &bytes) &&
        elevation.TokenIsElevated;
    WardletLog("[SESSIONHOST][TOKEN] linked token unavailable error=%lu baseElevated=%u session=%lu", error,
               baseElevated ? 1u : 0u, static_cast<unsigned long>(session));
    return base;
}

std::optional<uint32_t> SessionSystem::StartHost(uint32_t session, HostMode mode) {
    const std::wstring& exe = m_paths.tessalyExe;
    if (exe.empty() || ::GetFileAttributesW(exe.c_str()) == INVALID_FILE_ATTRIBUTES) {
        WardletLog("[PRELOGIN][WAIT] Tessaly.exe not found beside probe path=%s",
                   exe.empty() ? "<empty>" : Utf8(exe).c_str());
        return std::nullopt;
    }
    bool user = mode == HostMode::User;
    UniqueHandle token;
    if (user) {
        token = UserHostToken(session);
    } else {
        DWORD error = 0;
        token = WinlogonSystemToken(session, error);
        if (!token)
            WardletLog("[PRELOGIN][START_FAIL] winlogon token unavailable session=%lu error=%lu",
                       static_cast<unsigned long>(session), error);
    }
    if (!token)
        return std::nullopt;

    UniqueEnvironmentBlock environment;
    if (user && !::CreateEnvironmentBlock(environment.Receive(), token.Get(), FALSE))
        WardletLog(
            "[SESSIONHOST][ENV_WARN] CreateEnvironmentBlock failed error=%lu; inherit service environment",
            ::GetLastError());
    const char* desktop = DesktopOf(!user);
    WardletLog("[SESSIONHOST][START] mode=%s versionExpected=%s compiled=%s %s session=%lu desktop=%s exe=%s",
               HostModeName(mode), kWardletExpectedHostVersion, __DATE__, __TIME__,
               static_cast<unsigned long>(session), desktop, Utf8(exe).c_str());
    DWORD flags = CREATE_UNICODE_ENVIRONMENT | (user ? 0 : CREATE_NO_WINDOW);
    DWORD pid = 0;
    UniqueHandle process =
        CreateProcessOn(token.Get(), exe, AsWide(HostCommandLine(AsUtf16(exe.c_str()), mode)),
                        user ? L"winsta0\\Default" : L"winsta0\\Winlogon", user ? SW_SHOWNORMAL : SW_HIDE,
                        flags, environment.Get(), false, m_paths.workingFolder, pid);
    if (!process) {
        WardletLog("[SESSIONHOST][START_FAIL] mode=%s CreateProcessAsUser error=%lu", HostModeName(mode),
                   ::GetLastError());
        return std::nullopt;
    }
    m_hostProcess = std::move(process);
    WardletLog("[SESSIONHOST][STARTED] mode=%s pid=%lu session=%lu", HostModeName(mode), pid,
               static_cast<unsigned long>(session));
    return pid;
}

std::optional<SessionHostPlatform::AdoptedHost> SessionSystem::AdoptUserHost(uint32_t session) {
    for (uint32_t pid : ProcessesInSession(L"Tessaly.exe", session)) {
        UniqueHandle process(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
        if (!process || !StillRunning(process.Get()))
            continue;
        std::optional<uint64_t> age = ProcessAgeMs(process.Get());
        // A Tessaly younger than 3 s may be a normal start that is about to ask for a user host and leave.
        if (!age || *age < kAdoptMinimumAgeMs)
            continue;
        m_hostProcess = std::move(process);
        ::SetEvent(m_userHostReady);
        WardletLog("[SESSIONHOST][ADOPT] existing user Tessaly pid=%lu session=%lu ageMs=%llu",
                   static_cast<unsigned long>(pid), static_cast<unsigned long>(session),
                   static_cast<unsigned long long>(*age));
        return AdoptedHost{pid};
    }
    return std::nullopt;
}

std::optional<uint32_t> SessionSystem::HostExitCode() {
    if (!m_hostProcess || StillRunning(m_hostProcess.Get()))
        return std::nullopt;
    return ExitCodeOf(m_hostProcess.Get());
}

void SessionSystem::StopHost(HostMode mode, uint32_t pid, const char* reason) {
    WardletLog("[SESSIONHOST][STOP] mode=%s pid=%lu reason=%s", HostModeName(mode),
               static_cast<unsigned long>(pid), reason);
    if (m_hostProcess && StillRunning(m_hostProcess.Get())) {
        ::TerminateProcess(m_hostProcess.Get(), kTerminatedExitCode);
        ::WaitForSingleObject(m_hostProcess.Get(), kHostStopWaitMs);
    }
    WardletLog("[SESSIONHOST][STOPPED] mode=%s pid=%lu exitCode=%lu", HostModeName(mode),
               static_cast<unsigned long>(pid), m_hostProcess ? ExitCodeOf(m_hostProcess.Get()) : 0ul);
    m_hostProcess.Reset();
}

void SessionSystem::ReleaseHost() {
    m_hostProcess.Reset();
}

std::optional<uint32_t> SessionSystem::StartWorker(bool secure) {
    StopWorker();
    std::optional<uint32_t> session = ConsoleSession();
    if (!session) {
        WardletLog("no active console session; worker start deferred");
        return std::nullopt;
    }
    DWORD error = 0;
    UniqueHandle token = WinlogonSystemToken(*session, error);
    if (!token) {
        WardletLog("cannot obtain winlogon SYSTEM token session=%lu error=%lu",
                   static_cast<unsigned long>(*session), error);
        return std::nullopt;
    }
    // The worker learns its stop event by handle value on its command line, so the event is inherited.
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    UniqueHandle stop(::CreateEventW(&inheritable, TRUE, FALSE, nullptr));
    if (!stop) {
        WardletLog("CreateEvent(worker stop) failed error=%lu", ::GetLastError());
        return std::nullopt;
    }
    const char* desktop = DesktopOf(secure);
    WardletLog("starting SYSTEM worker session=%lu desktop=%s", static_cast<unsigned long>(*session),
               desktop);
    std::wstring commandLine = AsWide(WorkerCommandLine(AsUtf16(m_paths.wardletExe.c_str()),
                                                        reinterpret_cast<uintptr_t>(stop.Get()), secure));
    DWORD pid = 0;
    UniqueHandle process = CreateProcessOn(token.Get(), m_paths.wardletExe, commandLine,
                                           secure ? L"winsta0\\Winlogon" : L"winsta0\\Default", SW_HIDE,
                                           CREATE_NO_WINDOW, nullptr, true, m_paths.workingFolder, pid);
    if (!process) {
        WardletLog("CreateProcessAsUser(worker) failed error=%lu", ::GetLastError());
        return std::nullopt;
    }
    m_workerProcess = std::move(process);
    m_workerStop = std::move(stop);
    WardletLog("SYSTEM worker started pid=%lu session=%lu desktop=%s", pid,
               static_cast<unsigned long>(*session), desktop);
    return pid;
}

void SessionSystem::StopWorker() {
    if (!m_workerProcess) {
        m_workerStop.Reset();
        return;
    }
    UniqueHandle process = std::move(m_workerProcess);
    UniqueHandle stop = std::move(m_workerStop);
    ::SetEvent(stop.Get());
    if (::WaitForSingleObject(process.Get(), kWorkerStopWaitMs) != WAIT_OBJECT_0) {
        WardletLog("worker did not stop in 1500ms; terminating probe worker");
        ::TerminateProcess(process.Get(), kTerminatedExitCode);
        ::WaitForSingleObject(process.Get(), kWorkerTerminateWaitMs);
    }
    WardletLog("worker stopped exitCode=%lu", ExitCodeOf(process.Get()));
}

uint32_t SessionSystem::WorkerExitCode() const {
    return m_workerProcess ? ExitCodeOf(m_workerProcess.Get()) : STILL_ACTIVE;
}
