#include "service/SessionHost.h"

#include <cstdarg>
#include <cstdio>

namespace {
constexpr uint32_t kNoSession = 0xFFFFFFFF;

const char* DesktopName(bool secure) {
    return secure ? "Winlogon" : "Default";
}

const char* SessionEventDiscardReason(uint32_t event) {
    switch (event) {
    case kWtsConsoleDisconnect:
        return "WTS_CONSOLE_DISCONNECT during fresh-exit validation";
    case kWtsRemoteDisconnect:
        return "WTS_REMOTE_DISCONNECT during fresh-exit validation";
    case kWtsSessionLogon:
        return "WTS_SESSION_LOGON during fresh-exit validation";
    case kWtsSessionLogoff:
        return "WTS_SESSION_LOGOFF during fresh-exit validation";
    default:
        return nullptr;
    }
}
} // namespace

SessionHost::SessionHost(SessionHostPlatform& platform, bool exitSuppressedAtStart)
    : m_platform(platform), m_serviceStartTick(platform.Now()) {
    m_userAutoStartSuppressed = exitSuppressedAtStart;
}

void SessionHost::Log(const char* format, ...) {
    char line[2048];
    va_list args;
    va_start(args, format);
    int length = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (length < 0)
        return;
    m_platform.Log(line);
}

bool SessionHost::ConsoleSecure(std::optional<uint32_t> session) {
    if (!session)
        return true;
    WtsLock lock = m_platform.QueryWtsLock(*session);
    if (lock != WtsLock::Unknown)
        return SecureFromWts(lock, false);
    bool secure = SecureFromWts(lock, m_platform.UserNameEmpty(*session));
    Log("WTS lock state unavailable; fallback secure=%u based on user name", secure ? 1u : 0u);
    return secure;
}

bool SessionHost::DiscardFreshExit(const char* reason) {
    if (!m_freshExitPending.exchange(false))
        return false;
    m_userAutoStartSuppressed = false;
    Log("[SESSIONHOST][USER_EXIT_TRANSITION_DISCARDED] pid=%lu session=%lu reason=%s; startup policy remains "
        "enabled for the new interactive session",
        static_cast<unsigned long>(m_freshExitPid.load()),
        static_cast<unsigned long>(m_freshExitSession.load()), reason);
    return true;
}

void SessionHost::OnSessionChange(uint32_t event) {
    Log("SERVICE_CONTROL_SESSIONCHANGE event=%lu", static_cast<unsigned long>(event));
    if (const char* reason = SessionEventDiscardReason(event))
        DiscardFreshExit(reason);

    bool secure = false;
    switch (event) {
    case kWtsSessionLogon:
        m_logonPending = true;
        m_desiredUser = false;
        m_platform.ResetUserHostReady();
        Log("[SESSIONHOST][LOGON_PENDING] keep prelogin until Default desktop and Explorer are confirmed");
        secure = true;
        break;
    case kWtsSessionLogoff:
        m_logonPending = true;
        m_desiredUser = false;
        Log("[SESSIONHOST][DESIRED] prelogin reason=WTS_SESSION_LOGOFF");
        secure = true;
        break;
    case kWtsSessionUnlock: {
        m_hostSecureEvidence = false;
        std::optional<uint32_t> session = m_platform.ConsoleSession();
        if (session && m_platform.ExplorerRunning(*session)) {
            m_logonPending = false;
            m_desiredUser = true;
            m_platform.ResetUserHostReady();
            Log("[SESSIONHOST][HANDOFF_READY] unlock with Explorer; desired=user session=%lu",
                static_cast<unsigned long>(*session));
        } else {
            m_logonPending = true;
            m_desiredUser = false;
            Log("[SESSIONHOST][KEEP] unlock before Explorer; keep prelogin and periodic reconciliation "
                "armed");
        }
        secure = false;
        break;
    }
    case kWtsSessionLock:
        Log("[SESSIONHOST][KEEP] event=%lu desired=%s logonPending=%ld; existing user host is retained, "
            "cold-logon "
            "prelogin remains gated",
            static_cast<unsigned long>(event), DesiredName(m_desiredUser),
            static_cast<long>(m_logonPending.load()));
        secure = true;
        break;
    default:
        secure = ConsoleSecure(m_platform.ConsoleSession());
        break;
    }
    m_secure = secure;

    if (m_workerMode == (secure ? 1 : 0)) {
        Log("session event coalesced; worker already uses requested desktop secure=%ld",
            static_cast<long>(secure));
        return;
    }
    m_platform.SetSessionChange();
}

void SessionHost::Begin() {
    std::optional<uint32_t> session = m_platform.ConsoleSession();
    bool explorer = session && m_platform.ExplorerRunning(*session);
    m_desiredUser = explorer;
    m_logonPending = !explorer;
    m_secure = ConsoleSecure(session);
    m_hostSecureEvidence = false;
    Log("[SESSIONHOST][INITIAL] session=%lu explorerShell=%u secure=%u desired=%s logonPending=%ld",
        static_cast<unsigned long>(session.value_or(kNoSession)), explorer ? 1u : 0u, m_secure ? 1u : 0u,
        DesiredName(m_desiredUser), static_cast<long>(m_logonPending.load()));
}

void SessionHost::ValidateFreshExit() {
    if (!m_freshExitPending)
        return;
    uint64_t elapsed = ElapsedMs(m_freshExitTick, m_platform.Now());
    switch (EvaluateFreshExit(elapsed, m_freshExitSession, m_platform.ConsoleSession(), m_logonPending)) {
    case FreshExitVerdict::Pending:
        return;
    case FreshExitVerdict::Discard:
        DiscardFreshExit("interactive session changed during validation");
        return;
    case FreshExitVerdict::Confirm:
        if (!m_freshExitPending.exchange(false))
            return; // a session event discarded it meanwhile
        bool persisted = m_platform.PersistExitMarker();
        Log("[SESSIONHOST][USER_EXIT_CONFIRMED] pid=%lu session=%lu stableMs=%lu; suppress visible user-host "
            "auto "
            "restart until the next Windows reboot persisted=%u",
            static_cast<unsigned long>(m_freshExitPid.load()),
            static_cast<unsigned long>(m_freshExitSession.load()), static_cast<unsigned long>(elapsed),
            persisted ? 1u : 0u);
        return;
    }
}

void SessionHost::Pass() {
    ValidateFreshExit();
    Reconcile();
    HealthLine(m_platform.ConsoleSession());
    WorkerPolicy();
}

void SessionHost::HealthLine(std::optional<uint32_t> session) {
    uint64_t now = m_platform.Now();
    if (m_lastHealthTick && ElapsedMs(*m_lastHealthTick, now) < kHealthIntervalMs)
        return;
    m_lastHealthTick = now;
    bool hasUser = session && !m_platform.UserNameEmpty(*session);
    uint32_t sessionId = session.value_or(kNoSession);
    Log("[HEALTH] uptimeMs=%lu serviceHandles=%lu session=%lu hasUser=%u secure=%ld workerPid=%lu "
        "workerMode=%ld "
        "hostPid=%lu hostMode=%s desired=%s logonPending=%ld userAutoStartSuppressed=%ld startupPrefKnown=%u "
        "startupPrefEnabled=%u",
        static_cast<unsigned long>(ElapsedMs(m_serviceStartTick, now)),
        static_cast<unsigned long>(m_platform.ProcessHandleCount()), static_cast<unsigned long>(sessionId),
        hasUser ? 1u : 0u, static_cast<long>(m_secure.load()), static_cast<unsigned long>(m_workerPid),
        static_cast<long>(m_workerMode.load()), static_cast<unsigned long>(HostPid()),
        HostModeName(RunningHostMode()), DesiredName(m_desiredUser), static_cast<long>(m_logonPending.load()),
        static_cast<long>(m_userAutoStartSuppressed.load()), PreferenceKnown(sessionId) ? 1u : 0u,
        PreferenceEnabled(sessionId) ? 1u : 0u);
}

void SessionHost::StartWorker() {
    m_platform.ResetSessionChange();
    bool secure = m_secure;
    std::optional<uint32_t> pid = m_platform.StartWorker(secure);
    if (!pid) {
        Log("[WORKER][START_RETRY] secure worker start failed; retry on next maintenance pass");
        return;
    }
    m_workerPid = *pid;
    m_workerMode = secure ? 1 : 0;
}

void SessionHost::StopWorker() {
    if (m_workerMode < 0)
        return;
    m_workerMode = -1;
    m_workerPid = 0;
    m_platform.StopWorker();
}

void SessionHost::WorkerPolicy() {
    bool running = m_workerMode >= 0;
    if (m_secure) {
        m_defaultWorkerLineLogged = false;
        if (!running)
            StartWorker();
        return;
    }
    if (running) {
        Log("[WORKER][POLICY] stop secure worker because Default desktop is active; user-host owns normal "
            "capture");
        StopWorker();
        return;
    }
    if (!m_defaultWorkerLineLogged) {
        m_defaultWorkerLineLogged = true;
        Log("[WORKER][POLICY] Default desktop worker disabled; wait for WTS lock/logon event before starting "
            "Winlogon worker");
    }
}

void SessionHost::OnSessionChangeSignalled() {
    m_platform.ResetSessionChange();
    Log("[WORKER][TRANSITION] session/desktop change requested secure=%ld runningMode=%ld",
        static_cast<long>(m_secure.load()), static_cast<long>(m_workerMode.load()));
    StopWorker();
}

bool SessionHost::OnWorkerExited(uint32_t exitCode) {
    if (exitCode == kWardletExitWinlogonActive || exitCode == kWardletExitDefaultActive) {
        bool wtsSecure = ConsoleSecure(m_platform.ConsoleSession());
        WorkerCorrection decision = DecideWorkerCorrection(exitCode, wtsSecure, m_workerContradictions);
        m_workerContradictions = decision.contradictions;
        if (decision.lagConfirmed)
            Log("WTS desktop state lag confirmed by repeated DDA access denied; accept suggested=%s",
                DesktopName(decision.suggestedSecure));
        m_secure = decision.resultSecure;
        if (!decision.resultSecure)
            m_hostSecureEvidence = false;
        else if (decision.lagConfirmed)
            // WTS still says unlocked: without this evidence the next Reconcile would take WTS's word and
            // undo the correction at once.
            m_hostSecureEvidence = true;
        Log("worker desktop correction suggested=%s confirmed=%s action=%s",
            DesktopName(decision.suggestedSecure), DesktopName(decision.resultSecure),
            decision.accepted ? "accepted" : "rejected");
    } else {
        m_workerContradictions = 0;
        Log("worker exited unexpectedly code=%lu; restart only if Winlogon is still active",
            static_cast<unsigned long>(exitCode));
    }
    StopWorker();
    return m_secure;
}

void SessionHost::OnCaptureRequest() {
    bool before = m_secure.exchange(true);
    m_hostSecureEvidence = true;
    int32_t mode = m_workerMode;
    const char* action = "start-on-next-pass";
    if (mode == 1) {
        action = "keep-secure-worker";
    } else if (mode == 0) {
        action = "recreate-secure-worker";
        m_platform.SetSessionChange();
    }
    Log("[WORKER][HOST_SECURE_REQUEST] secure=%ld->1 runningMode=%ld workerPid=%lu action=%s",
        static_cast<long>(before), static_cast<long>(mode), static_cast<unsigned long>(m_workerPid), action);
}

void SessionHost::OnUserHostRequest() {
    std::optional<uint32_t> session = m_platform.ConsoleSession();
    bool explorer = session && m_platform.ExplorerRunning(*session);
    bool secure = m_secure;
    if (explorer && !secure) {
        m_logonPending = false;
        m_desiredUser = true;
        m_interactiveLaunchRequested = true;
        m_platform.ResetUserHostReady();
        Log("[SESSIONHOST][REQUEST_ACCEPT] interactive launch request session=%lu explorer=1 secure=0",
            static_cast<unsigned long>(*session));
        return;
    }
    Log("[SESSIONHOST][REQUEST_REJECT] session=%lu explorer=%u secure=%u",
        static_cast<unsigned long>(session.value_or(kNoSession)), explorer ? 1u : 0u, secure ? 1u : 0u);
}

void SessionHost::OnExitRequest() {
    m_userAutoStartSuppressed = true;
    m_interactiveLaunchRequested = false;
    m_platform.ResetUserHostReady();
    uint64_t now = m_platform.Now();
    std::optional<uint32_t> session = m_platform.ConsoleSession();
    if (m_host) {
        uint64_t age = ElapsedMs(m_host->startTick, now);
        if (HoldFreshExit(m_host->mode, m_host->serviceLaunched, m_host->session, session, age)) {
            m_freshExitTick = now;
            m_freshExitSession = m_host->session;
            m_freshExitPid = m_host->pid;
            m_freshExitPending = true;
            Log("[SESSIONHOST][USER_EXIT_PENDING] fresh service-launched UI pid=%lu session=%lu ageMs=%lu; "
                "hold "
                "persistence for %lu ms to reject boot/logon transition exits",
                static_cast<unsigned long>(m_host->pid), static_cast<unsigned long>(m_host->session),
                static_cast<unsigned long>(age), static_cast<unsigned long>(kFreshExitValidationMs));
            return;
        }
    }
    bool persisted = m_platform.PersistExitMarker();
    Log("[SESSIONHOST][USER_EXIT_REQUEST] explicit tray exit accepted; suppress visible user-host auto "
        "restart "
        "until the next Windows reboot; manual reopen remains allowed persisted=%u",
        persisted ? 1u : 0u);
}

void SessionHost::Leave() {
    Log("service stopping");
    StopWorker();
}
