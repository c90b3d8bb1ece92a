#include "service/SessionHost.h"

// Reconcile, run on every loop pass: corrects the desktop flag when a session event was missed, hands the
// console over to the user host when Explorer is up, and starts, stops or adopts the one Tessaly.

void SessionHost::ReconcileDesktop(uint32_t session, bool explorer) {
    WtsLock lock = m_platform.QueryWtsLock(session);
    if (lock == WtsLock::Unknown)
        return;
    bool wtsSecure = lock == WtsLock::Locked;
    bool secure = m_secure;
    if (wtsSecure == secure)
        return;
    if (!wtsSecure && (!explorer || m_hostSecureEvidence)) {
        // Tessaly still sees a secure desktop (or no shell is up yet): WTS reports unlocked too early on a
        // UAC prompt and during logon.
        uint64_t now = m_platform.Now();
        if (m_hostSecureEvidence &&
            (!m_lastSuppressedUnlockTick ||
             ElapsedMs(*m_lastSuppressedUnlockTick, now) >= kSuppressedUnlockLogIntervalMs)) {
            m_lastSuppressedUnlockTick = now;
            Log("[SESSIONHOST][PERIODIC_UNLOCK_SUPPRESSED] session=%lu explorer=%u WTS=unlocked "
                "hostSecureEvidence=1",
                static_cast<unsigned long>(session), explorer ? 1u : 0u);
        }
        return;
    }
    Log("[SESSIONHOST][PERIODIC_DESKTOP_RECONCILE] session=%lu explorer=%u secure=%u->%u reason=%s",
        static_cast<unsigned long>(session), explorer ? 1u : 0u, secure ? 1u : 0u, wtsSecure ? 1u : 0u,
        wtsSecure ? "missed lock/logoff event" : "missed unlock event");
    m_secure = wtsSecure;
    m_platform.SetSessionChange();
}

bool SessionHost::PreferenceKnown(uint32_t session) const {
    return m_preference.read && m_preference.session == session && m_preference.known;
}

bool SessionHost::PreferenceEnabled(uint32_t session) const {
    return PreferenceKnown(session) && m_preference.enabled;
}

void SessionHost::RefreshStartupPreference(uint32_t session) {
    uint64_t now = m_platform.Now();
    if (m_preference.read && m_preference.session == session &&
        ElapsedMs(m_preference.lastReadTick, now) < kStartupPreferenceCacheMs)
        return;
    bool sameSession = m_preference.read && m_preference.session == session;
    bool wasKnown = sameSession && m_preference.known;
    bool wasEnabled = sameSession && m_preference.enabled;
    std::optional<SessionHostPlatform::StartupPreference> read = m_platform.ReadStartupPreference(session);
    m_preference.read = true;
    m_preference.session = session;
    m_preference.lastReadTick = now;
    m_preference.known = read.has_value();
    m_preference.enabled = read && read->enabled;
    if (read && (!wasKnown || wasEnabled != read->enabled))
        Log("[SESSIONHOST][STARTUP_PREF] session=%lu enabled=%u source=%s",
            static_cast<unsigned long>(session), read->enabled ? 1u : 0u, read->source.c_str());
}

bool SessionHost::AdoptExistingUserHost(uint32_t session, bool reopenLine) {
    std::optional<SessionHostPlatform::AdoptedHost> adopted = m_platform.AdoptUserHost(session);
    if (!adopted)
        return false;
    m_host = Host{adopted->pid, HostMode::User, false, 0, session};
    if (reopenLine) {
        m_interactiveLaunchRequested = false;
        Log("[SESSIONHOST][USER_REOPEN] adopted customer-started UI; autoLaunchBlocked=1 startupKnown=%u "
            "startupEnabled=%u exitSuppressed=%u pid=%lu",
            PreferenceKnown(session) ? 1u : 0u, PreferenceEnabled(session) ? 1u : 0u,
            m_userAutoStartSuppressed ? 1u : 0u, static_cast<unsigned long>(adopted->pid));
    }
    return true;
}

void SessionHost::CollectExitedHost(std::optional<HostMode>& target) {
    std::optional<uint32_t> exitCode = m_platform.HostExitCode();
    if (!exitCode)
        return;
    if (m_host->mode == HostMode::User && m_userAutoStartSuppressed) {
        Log("[SESSIONHOST][EXIT_SUPPRESSED] mode=user pid=%lu exitCode=%lu; visible user-host auto restart "
            "remains "
            "disabled until the next Windows reboot; manual reopen is allowed",
            static_cast<unsigned long>(m_host->pid), static_cast<unsigned long>(*exitCode));
        target = m_secure ? HostMode::Prelogin : HostMode::None;
    } else {
        Log("[SESSIONHOST][EXIT] mode=%s pid=%lu unexpected exitCode=%lu; restart backoff=%lums",
            HostModeName(m_host->mode), static_cast<unsigned long>(m_host->pid),
            static_cast<unsigned long>(*exitCode), static_cast<unsigned long>(kUnexpectedExitBackoffMs));
        m_nextStartTick = m_platform.Now() + kUnexpectedExitBackoffMs;
    }
    m_platform.ReleaseHost();
    m_host.reset();
}

void SessionHost::StartHost(uint32_t session, HostMode mode) {
    std::optional<uint32_t> pid = m_platform.StartHost(session, mode);
    uint64_t now = m_platform.Now();
    if (!pid) {
        m_nextStartTick = now + kFailedStartBackoffMs;
        return;
    }
    m_host = Host{*pid, mode, true, now, session};
    if (mode == HostMode::User)
        m_interactiveLaunchRequested = false;
}

void SessionHost::StopHost(const char* reason) {
    m_platform.StopHost(m_host->mode, m_host->pid, reason);
    m_host.reset();
}

void SessionHost::Reconcile() {
    std::optional<uint32_t> console = m_platform.ConsoleSession();
    if (!console) {
        Log("[SERVICEHOST][WAIT] active console session unavailable");
        return;
    }
    uint32_t session = *console;
    bool explorer = m_platform.ExplorerRunning(session);
    ReconcileDesktop(session, explorer);

    if (!m_desiredUser && !m_secure && explorer) {
        bool wasPending = m_logonPending.exchange(false);
        m_desiredUser = true;
        m_platform.ResetUserHostReady();
        if (wasPending)
            Log("[SESSIONHOST][HANDOFF_READY] Default desktop confirmed by worker/WTS and Explorer is ready; "
                "desired=user session=%lu",
                static_cast<unsigned long>(session));
        else
            Log("[SESSIONHOST][AUTOLOGIN] Explorer detected on unlocked Default desktop; desired=user "
                "session=%lu",
                static_cast<unsigned long>(session));
    }

    bool desiredUser = m_desiredUser;
    if (desiredUser && explorer)
        RefreshStartupPreference(session);
    bool autoStart =
        AutoStartAllowed(m_userAutoStartSuppressed, PreferenceKnown(session), PreferenceEnabled(session));

    if (!m_host && !autoStart && explorer && AdoptExistingUserHost(session, true))
        return;

    // An ended host is collected first, so a user host that is gone no longer keeps the user target alive.
    std::optional<HostMode> exitTarget;
    if (m_host)
        CollectExitedHost(exitTarget);
    HostMode target = exitTarget
                          ? *exitTarget
                          : TargetMode({desiredUser, autoStart, m_host && m_host->mode == HostMode::User,
                                        m_interactiveLaunchRequested, m_secure});

    if (m_host) {
        if (m_host->mode != target) {
            Log("[SESSIONHOST][HANDOFF] from=%s to=%s session=%lu exitSuppressed=%u startupKnown=%u "
                "startupEnabled=%u secure=%u logonPending=%ld",
                HostModeName(m_host->mode), HostModeName(target), static_cast<unsigned long>(session),
                m_userAutoStartSuppressed ? 1u : 0u, PreferenceKnown(session) ? 1u : 0u,
                PreferenceEnabled(session) ? 1u : 0u, m_secure ? 1u : 0u,
                static_cast<long>(m_logonPending.load()));
            StopHost("session phase handoff");
        }
        return;
    }

    if (target == HostMode::None || static_cast<int64_t>(m_platform.Now() - m_nextStartTick) < 0)
        return;
    if (target == HostMode::User && !m_interactiveLaunchRequested && AdoptExistingUserHost(session, false))
        return;
    StartHost(session, target);
}
