#pragma once

#include <windows.h>

#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "core/win/Handles.h"
#include "service/SessionHostPlatform.h"

// Where the programs the session host starts live: Tessaly.exe and Wardlet.exe (for the worker) beside the
// service's own executable, unless a test says otherwise.
struct SessionProgramPaths {
    std::wstring tessalyExe;
    std::wstring wardletExe;
    std::wstring workingFolder;
};
SessionProgramPaths DefaultSessionProgramPaths();

// The real system under SessionHost: WTS, Toolhelp, the registry and CreateProcessAsUserW. It owns the host
// and worker processes; the events are the service's and outlive it.
class SessionSystem final : public SessionHostPlatform {
public:
    SessionSystem(SessionProgramPaths paths, HANDLE userHostReady, HANDLE sessionChange);

    uint64_t Now() override;
    void Log(std::string_view line) override;
    std::optional<uint32_t> ConsoleSession() override;
    bool ExplorerRunning(uint32_t session) override;
    WtsLock QueryWtsLock(uint32_t session) override;
    bool UserNameEmpty(uint32_t session) override;
    uint32_t ProcessHandleCount() override;
    std::optional<StartupPreference> ReadStartupPreference(uint32_t session) override;

    std::optional<AdoptedHost> AdoptUserHost(uint32_t session) override;
    std::optional<uint32_t> StartHost(uint32_t session, HostMode mode) override;
    std::optional<uint32_t> HostExitCode() override;
    void StopHost(HostMode mode, uint32_t pid, const char* reason) override;
    void ReleaseHost() override;

    std::optional<uint32_t> StartWorker(bool secure) override;
    void StopWorker() override;

    void ResetUserHostReady() override;
    void SetSessionChange() override;
    void ResetSessionChange() override;
    bool PersistExitMarker() override;

    // The running worker's process handle for the loop's wait; null when none runs.
    HANDLE WorkerProcess() const { return m_workerProcess.Get(); }
    // The ended worker's exit code (STILL_ACTIVE when it cannot be read).
    uint32_t WorkerExitCode() const;

private:
    // The token a user host runs with; null after a logged failure.
    UniqueHandle UserHostToken(uint32_t session);

    const SessionProgramPaths m_paths;
    HANDLE m_userHostReady;
    HANDLE m_sessionChange;
    UniqueHandle m_hostProcess;
    UniqueHandle m_workerProcess;
    UniqueHandle m_workerStop;
    // The last WTS state logged, per session; the handler's thread asks too.
    std::mutex m_wtsLogMutex;
    std::optional<std::pair<uint32_t, long>> m_lastWtsState;
};
