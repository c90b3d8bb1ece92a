#pragma once

#include <atomic>
#include <cstdint>
#include <optional>

#include "core/Printf.h"
#include "service/SessionHostPlatform.h"
#include "service/SessionHostRules.h"

// The policy of the Wardlet service: keeps one Tessaly running in the console session (a hidden prelogin
// host on the Winlogon desktop, a visible user host after logon), and the SYSTEM capture worker running
// while the secure desktop shows.
//
// Threads: OnSessionChange runs on the service control dispatcher's thread; everything else on the service
// loop's. The two share only the atomic flags below; only the loop starts or stops processes.
class SessionHost {
public:
    SessionHost(SessionHostPlatform& platform, bool exitSuppressedAtStart);

    // SERVICE_CONTROL_SESSIONCHANGE: updates the flags and asks the loop for a worker change when needed.
    void OnSessionChange(uint32_t event);

    // Loop: the state of the console session when the loop starts.
    void Begin();
    // Loop: one maintenance pass (held tray exit, Reconcile, health line, worker policy).
    void Pass();
    void Reconcile();
    // Loop: the session-change event fired.
    void OnSessionChangeSignalled();
    // Loop: the worker process ended. True when the secure desktop still holds, so the loop pauses 1 s
    // before restarting it.
    bool OnWorkerExited(uint32_t exitCode);
    // Loop: the named events Tessaly sets.
    void OnCaptureRequest();
    void OnUserHostRequest();
    void OnExitRequest();
    // Loop: the wait failed, or the loop is leaving.
    void StopWorker();
    void Leave();

    // What the tests and the health line look at.
    bool Secure() const { return m_secure; }
    bool DesiredUser() const { return m_desiredUser; }
    bool LogonPending() const { return m_logonPending; }
    bool HostSecureEvidence() const { return m_hostSecureEvidence; }
    bool UserAutoStartSuppressed() const { return m_userAutoStartSuppressed; }
    bool FreshExitPending() const { return m_freshExitPending; }
    bool InteractiveLaunchRequested() const { return m_interactiveLaunchRequested; }
    HostMode RunningHostMode() const { return m_host ? m_host->mode : HostMode::None; }
    uint32_t HostPid() const { return m_host ? m_host->pid : 0; }
    int32_t WorkerMode() const { return m_workerMode; }

private:
    struct Host {
        uint32_t pid = 0;
        HostMode mode = HostMode::None;
        bool serviceLaunched = false; // started by this service (adopted hosts are not)
        uint64_t startTick = 0;
        uint32_t session = 0;
    };
    struct PreferenceCache {
        bool read = false;
        uint32_t session = 0;
        bool known = false;
        bool enabled = false;
        uint64_t lastReadTick = 0;
    };

    void Log(const char* format, ...) TSLY_PRINTF(2, 3);
    bool ConsoleSecure(std::optional<uint32_t> session);
    // Clears a held tray exit and the suppression it set; false when none was held (the other thread won).
    bool DiscardFreshExit(const char* reason);
    void ValidateFreshExit();
    void HealthLine(std::optional<uint32_t> session);
    void WorkerPolicy();
    void StartWorker();

    // Reconcile's steps.
    void ReconcileDesktop(uint32_t session, bool explorer);
    void RefreshStartupPreference(uint32_t session);
    bool PreferenceKnown(uint32_t session) const;
    bool PreferenceEnabled(uint32_t session) const;
    bool AdoptExistingUserHost(uint32_t session, bool reopenLine);
    // Logs and lets go of an ended host; after a suppressed user host it decides the target itself.
    void CollectExitedHost(std::optional<HostMode>& target);
    void StartHost(uint32_t session, HostMode mode);
    // Ends the running host (terminating it when needed) and forgets it.
    void StopHost(const char* reason);

    SessionHostPlatform& m_platform;
    const uint64_t m_serviceStartTick;

    // Shared with the control handler.
    std::atomic<bool> m_desiredUser{false};
    std::atomic<bool> m_logonPending{true};
    std::atomic<bool> m_secure{false};
    std::atomic<bool> m_hostSecureEvidence{false};
    std::atomic<bool> m_userAutoStartSuppressed{false};
    std::atomic<bool> m_freshExitPending{false};
    std::atomic<uint32_t> m_freshExitSession{0};
    std::atomic<uint32_t> m_freshExitPid{0};
    std::atomic<uint64_t> m_freshExitTick{0};
    std::atomic<int32_t> m_workerMode{-1};

    // Loop only.
    bool m_interactiveLaunchRequested = false;
    std::optional<Host> m_host;
    uint64_t m_nextStartTick = 0;
    PreferenceCache m_preference;
    uint32_t m_workerPid = 0;
    uint32_t m_workerContradictions = 0;
    bool m_defaultWorkerLineLogged = false;
    std::optional<uint64_t> m_lastHealthTick;
    std::optional<uint64_t> m_lastSuppressedUnlockTick;
};
