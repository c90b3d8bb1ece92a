#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "service/SessionHostRules.h"

// What the session host needs from the system. The Win32 side implements it (WTS, Toolhelp, the registry,
// CreateProcessAsUserW); the process operations log their own lines, since only they know the error codes.
// Queries may be called from the control handler's thread and the loop's; everything that starts or stops
// a process is called from the loop only.
class SessionHostPlatform {
public:
    virtual ~SessionHostPlatform() = default;

    virtual uint64_t Now() = 0;
    virtual void Log(std::string_view line) = 0;

    // The active console session; none while the console is being switched.
    virtual std::optional<uint32_t> ConsoleSession() = 0;
    virtual bool ExplorerRunning(uint32_t session) = 0;
    virtual WtsLock QueryWtsLock(uint32_t session) = 0;
    virtual bool UserNameEmpty(uint32_t session) = 0;
    virtual uint32_t ProcessHandleCount() = 0;

    // The session user's "StartWithWindows"; nullopt when it could not be read yet (logged). `source` is
    // "HKU\<sid>\Software\Marlo\Settings\StartWithWindows" for the change line.
    struct StartupPreference {
        bool enabled = true;
        std::string source;
    };
    virtual std::optional<StartupPreference> ReadStartupPreference(uint32_t session) = 0;

    // The host process. At most one is held; Start and Adopt replace nothing (the caller stops first).
    struct AdoptedHost {
        uint32_t pid = 0;
    };
    // A user-started Tessaly.exe in the session, at least 3 s old, becomes the held host (UserHostReady set).
    virtual std::optional<AdoptedHost> AdoptUserHost(uint32_t session) = 0;
    // Starts Tessaly in the session; the process id, or nullopt after a logged failure.
    virtual std::optional<uint32_t> StartHost(uint32_t session, HostMode mode) = 0;
    // The held host's exit code once it has ended.
    virtual std::optional<uint32_t> HostExitCode() = 0;
    // Ends the held host (terminating it when it still runs) and lets it go.
    virtual void StopHost(HostMode mode, uint32_t pid, const char* reason) = 0;
    // Lets an exited host go.
    virtual void ReleaseHost() = 0;

    // The SYSTEM capture worker (stops any running one first); its process id, or nullopt after a logged
    // failure.
    virtual std::optional<uint32_t> StartWorker(bool secure) = 0;
    virtual void StopWorker() = 0;

    virtual void ResetUserHostReady() = 0;
    virtual void SetSessionChange() = 0;
    virtual void ResetSessionChange() = 0;
    // Persists the exit-policy marker; true when it was written.
    virtual bool PersistExitMarker() = 0;
};
