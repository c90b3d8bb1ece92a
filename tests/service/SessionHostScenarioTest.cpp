#include <gtest/gtest.h>

#include "service/SessionHost.h"
#include "service/FakeSessionSystem.h"

namespace {

// A console session after logon: Explorer up, unlocked, a user.
void LoggedOn(FakeSessionSystem& system) {
    system.explorer = true;
    system.wts = WtsLock::Unlocked;
    system.userNameEmpty = false;
}

TEST(SessionHostScenarioTest, BootLogonLockAndUnlock) {
    FakeSessionSystem system;
    LoopDriver loop(system);
    EXPECT_TRUE(system.Logged("[SESSIONHOST][INITIAL] session=1 explorerShell=0 secure=1 desired=prelogin "
                              "logonPending=1"));
    loop.RunFor(2000);
    ASSERT_TRUE(system.host);
    EXPECT_EQ(system.host->mode, HostMode::Prelogin);
    EXPECT_EQ(system.worker, 1);

    // Logon: the prelogin host stays until Explorer is up on the Default desktop.
    system.userNameEmpty = false;
    loop.host.OnSessionChange(kWtsSessionLogon);
    EXPECT_TRUE(system.Logged("session event coalesced; worker already uses requested desktop secure=1"));
    EXPECT_TRUE(loop.host.LogonPending());
    loop.RunFor(4000);
    EXPECT_EQ(system.host->mode, HostMode::Prelogin);

    system.explorer = true;
    system.wts = WtsLock::Unlocked;
    loop.RunFor(4000);
    EXPECT_TRUE(system.Logged("[SESSIONHOST][PERIODIC_DESKTOP_RECONCILE] session=1 explorer=1 secure=1->0 "
                              "reason=missed unlock event"));
    EXPECT_TRUE(
        system.Logged("[SESSIONHOST][HANDOFF_READY] Default desktop confirmed by worker/WTS and Explorer is "
                      "ready; desired=user session=1"));
    EXPECT_TRUE(system.Logged("[SESSIONHOST][HANDOFF] from=prelogin to=user session=1 exitSuppressed=0 "
                              "startupKnown=1 startupEnabled=1 secure=0 logonPending=0"));
    EXPECT_TRUE(system.Logged("> stop host prelogin 500 session phase handoff"));
    ASSERT_TRUE(system.host);
    EXPECT_EQ(system.host->mode, HostMode::User);
    EXPECT_EQ(system.worker, -1);
    EXPECT_FALSE(loop.host.LogonPending());

    // Lock: the user host stays, the worker runs on Winlogon.
    uint32_t userPid = system.host->pid;
    loop.host.OnSessionChange(kWtsSessionLock);
    EXPECT_TRUE(
        system.Logged("[SESSIONHOST][KEEP] event=7 desired=user logonPending=0; existing user host is "
                      "retained, cold-logon prelogin remains gated"));
    EXPECT_TRUE(system.sessionChange);
    system.wts = WtsLock::Locked;
    loop.RunFor(2000);
    EXPECT_EQ(system.worker, 1);
    EXPECT_EQ(system.host->pid, userPid);

    // Unlock: the worker goes, the user host stays.
    loop.host.OnSessionChange(kWtsSessionUnlock);
    EXPECT_TRUE(system.Logged("[SESSIONHOST][HANDOFF_READY] unlock with Explorer; desired=user session=1"));
    system.wts = WtsLock::Unlocked;
    loop.RunFor(2000);
    EXPECT_EQ(system.worker, -1);
    EXPECT_TRUE(
        system.Logged("[WORKER][POLICY] stop secure worker because Default desktop is active; user-host owns "
                      "normal capture"));
    EXPECT_EQ(system.host->pid, userPid);
}

TEST(SessionHostScenarioTest, UacPromptKeepsTheWorkerUntilItFindsTheDefaultDesktop) {
    FakeSessionSystem system;
    LoggedOn(system);
    LoopDriver loop(system);
    loop.RunFor(2000);
    ASSERT_TRUE(system.host);
    ASSERT_EQ(system.worker, -1);

    // Tessaly sees the UAC prompt while WTS still says unlocked.
    loop.host.OnCaptureRequest();
    EXPECT_TRUE(system.Logged("[WORKER][HOST_SECURE_REQUEST] secure=0->1 runningMode=-1 workerPid=0 "
                              "action=start-on-next-pass"));
    loop.RunFor(4000);
    EXPECT_EQ(system.worker, 1);
    EXPECT_TRUE(loop.host.Secure());
    EXPECT_EQ(system.Count("[SESSIONHOST][PERIODIC_UNLOCK_SUPPRESSED] session=1 explorer=1 WTS=unlocked "
                           "hostSecureEvidence=1"),
              1);
    loop.RunFor(4000);
    EXPECT_EQ(system.Count("[SESSIONHOST][PERIODIC_UNLOCK_SUPPRESSED]"), 2);

    loop.host.OnCaptureRequest();
    EXPECT_TRUE(system.Logged("action=keep-secure-worker"));

    // The prompt closes: the worker finds the Default desktop, which agrees with WTS.
    EXPECT_FALSE(loop.host.OnWorkerExited(kWardletExitDefaultActive));
    EXPECT_TRUE(
        system.Logged("worker desktop correction suggested=Default confirmed=Default action=accepted"));
    EXPECT_FALSE(loop.host.HostSecureEvidence());
    EXPECT_EQ(system.worker, -1);
    loop.RunFor(2000);
    EXPECT_EQ(system.worker, -1);
}

TEST(SessionHostScenarioTest, RepeatedWinlogonSuggestionOutvotesWtsAndSticks) {
    FakeSessionSystem system;
    LoggedOn(system);
    LoopDriver loop(system);
    loop.RunFor(2000);

    EXPECT_FALSE(loop.host.OnWorkerExited(kWardletExitWinlogonActive));
    EXPECT_TRUE(
        system.Logged("worker desktop correction suggested=Winlogon confirmed=Default action=rejected"));
    EXPECT_FALSE(loop.host.Secure());

    EXPECT_TRUE(loop.host.OnWorkerExited(kWardletExitWinlogonActive));
    EXPECT_TRUE(system.Logged("WTS desktop state lag confirmed by repeated DDA access denied; accept "
                              "suggested=Winlogon"));
    EXPECT_TRUE(
        system.Logged("worker desktop correction suggested=Winlogon confirmed=Winlogon action=accepted"));
    EXPECT_TRUE(loop.host.Secure());

    // WTS still says unlocked: the next passes keep the correction and run the secure worker.
    loop.RunFor(4000);
    EXPECT_TRUE(loop.host.Secure());
    EXPECT_EQ(system.worker, 1);
    EXPECT_FALSE(system.Logged("PERIODIC_DESKTOP_RECONCILE"));

    // An unlock event ends it.
    loop.host.OnSessionChange(kWtsSessionUnlock);
    loop.RunFor(2000);
    EXPECT_FALSE(loop.host.Secure());
    EXPECT_EQ(system.worker, -1);
}

TEST(SessionHostScenarioTest, SuggestionStreakIsBrokenByAnotherExit) {
    FakeSessionSystem system;
    LoggedOn(system);
    LoopDriver loop(system);
    loop.host.OnWorkerExited(kWardletExitWinlogonActive);
    loop.host.OnWorkerExited(1);
    EXPECT_TRUE(system.Logged("worker exited unexpectedly code=1; restart only if Winlogon is still active"));
    loop.host.OnWorkerExited(kWardletExitWinlogonActive);
    EXPECT_FALSE(loop.host.Secure());
    EXPECT_EQ(system.Count("action=rejected"), 2);
}

TEST(SessionHostScenarioTest, FreshTrayExitIsConfirmedAfterEightStableSeconds) {
    FakeSessionSystem system;
    LoggedOn(system);
    LoopDriver loop(system);
    loop.RunFor(4000);
    ASSERT_TRUE(system.host);
    uint32_t pid = system.host->pid;

    loop.host.OnExitRequest();
    EXPECT_TRUE(system.Logged(
        "[SESSIONHOST][USER_EXIT_PENDING] fresh service-launched UI pid=" + std::to_string(pid) +
        " session=1 ageMs=4000; hold persistence for 8000 ms to reject boot/logon transition "
        "exits"));
    EXPECT_TRUE(loop.host.UserAutoStartSuppressed());
    system.HostExits(0);
    loop.RunFor(6000);
    EXPECT_TRUE(loop.host.FreshExitPending());
    EXPECT_FALSE(system.markerPersisted);
    loop.RunFor(4000);
    EXPECT_FALSE(loop.host.FreshExitPending());
    EXPECT_TRUE(system.markerPersisted);
    EXPECT_TRUE(
        system.Logged("[SESSIONHOST][USER_EXIT_CONFIRMED] pid=" + std::to_string(pid) +
                      " session=1 stableMs=8000; suppress visible user-host auto restart until the next "
                      "Windows reboot persisted=1"));

    // The user host that left after the tray exit is not started again.
    EXPECT_TRUE(
        system.Logged("[SESSIONHOST][EXIT_SUPPRESSED] mode=user pid=" + std::to_string(pid) +
                      " exitCode=0; visible user-host auto restart remains disabled until the next Windows "
                      "reboot; manual reopen is allowed"));
    loop.RunFor(20000);
    EXPECT_FALSE(system.host);
    EXPECT_EQ(system.Count("> start host"), 1);
}

TEST(SessionHostScenarioTest, LogoffDuringValidationDiscardsTheTrayExit) {
    FakeSessionSystem system;
    LoggedOn(system);
    LoopDriver loop(system);
    loop.RunFor(2000);
    uint32_t pid = system.host->pid;
    loop.host.OnExitRequest();
    loop.RunFor(4000);

    loop.host.OnSessionChange(kWtsSessionLogoff);
    EXPECT_TRUE(
        system.Logged("[SESSIONHOST][USER_EXIT_TRANSITION_DISCARDED] pid=" + std::to_string(pid) +
                      " session=1 reason=WTS_SESSION_LOGOFF during fresh-exit validation; startup policy "
                      "remains enabled for the new interactive session"));
    EXPECT_TRUE(system.Logged("[SESSIONHOST][DESIRED] prelogin reason=WTS_SESSION_LOGOFF"));
    EXPECT_FALSE(loop.host.UserAutoStartSuppressed());
    loop.RunFor(10000);
    EXPECT_FALSE(system.markerPersisted);
    EXPECT_FALSE(system.Logged("USER_EXIT_CONFIRMED"));
}

TEST(SessionHostScenarioTest, ConsoleSwitchDuringValidationDiscardsTheTrayExit) {
    FakeSessionSystem system;
    LoggedOn(system);
    LoopDriver loop(system);
    loop.RunFor(2000);
    loop.host.OnExitRequest();
    system.console = 2;
    loop.RunFor(2000);
    EXPECT_TRUE(system.Logged("reason=interactive session changed during validation"));
    EXPECT_FALSE(loop.host.UserAutoStartSuppressed());
    EXPECT_FALSE(system.markerPersisted);
}

TEST(SessionHostScenarioTest, LateTrayExitIsPersistedAtOnce) {
    FakeSessionSystem system;
    LoggedOn(system);
    LoopDriver loop(system);
    loop.RunFor(18000);
    loop.host.OnExitRequest();
    EXPECT_TRUE(system.markerPersisted);
    EXPECT_TRUE(
        system.Logged("[SESSIONHOST][USER_EXIT_REQUEST] explicit tray exit accepted; suppress visible "
                      "user-host auto restart until the next Windows reboot; manual reopen remains allowed "
                      "persisted=1"));
    EXPECT_FALSE(loop.host.FreshExitPending());
}

TEST(SessionHostScenarioTest, SuppressionFromTheMarkerBlocksTheUserHost) {
    FakeSessionSystem system;
    LoggedOn(system);
    LoopDriver loop(system, true);
    loop.RunFor(10000);
    EXPECT_FALSE(system.host);
    EXPECT_FALSE(system.Logged("> start host"));
}

TEST(SessionHostScenarioTest, StartWithWindowsOffStartsNothingButAdoptsAManualStart) {
    FakeSessionSystem system;
    LoggedOn(system);
    system.startWithWindows = false;
    LoopDriver loop(system);
    loop.RunFor(10000);
    EXPECT_FALSE(system.host);
    EXPECT_TRUE(system.Logged("[SESSIONHOST][STARTUP_PREF] session=1 enabled=0 "
                              "source=HKU\\S-1-5-21-1\\Software\\Marlo\\Settings\\StartWithWindows"));
    EXPECT_EQ(system.Count("[SESSIONHOST][STARTUP_PREF] session"), 1);

    system.UserStartsTessaly();
    loop.RunFor(4000);
    EXPECT_FALSE(system.host) << "adopted before it was 3 s old";
    loop.RunFor(2000);
    ASSERT_TRUE(system.host);
    EXPECT_TRUE(system.Logged("[SESSIONHOST][USER_REOPEN] adopted customer-started UI; autoLaunchBlocked=1 "
                              "startupKnown=1 startupEnabled=0 exitSuppressed=0 pid="));
    loop.RunFor(10000);
    EXPECT_FALSE(system.Logged("> start host"));
    EXPECT_FALSE(system.Logged("HANDOFF"));

    // A tray exit of an adopted host is persisted at once (the service did not launch it).
    loop.host.OnExitRequest();
    EXPECT_TRUE(system.markerPersisted);
}

TEST(SessionHostScenarioTest, InteractiveRequestStartsAUserHostWithoutAutoStart) {
    FakeSessionSystem system;
    LoggedOn(system);
    system.startWithWindows = false;
    LoopDriver loop(system);
    loop.RunFor(2000);
    loop.host.OnUserHostRequest();
    EXPECT_TRUE(system.Logged("[SESSIONHOST][REQUEST_ACCEPT] interactive launch request session=1 explorer=1 "
                              "secure=0"));
    EXPECT_TRUE(loop.host.InteractiveLaunchRequested());
    loop.RunFor(2000);
    ASSERT_TRUE(system.host);
    EXPECT_EQ(system.host->mode, HostMode::User);
    EXPECT_FALSE(loop.host.InteractiveLaunchRequested());
}

TEST(SessionHostScenarioTest, UserHostRequestIsRejectedOnTheSecureDesktop) {
    FakeSessionSystem system;
    LoopDriver loop(system);
    loop.host.OnUserHostRequest();
    EXPECT_TRUE(system.Logged("[SESSIONHOST][REQUEST_REJECT] session=1 explorer=0 secure=1"));
    EXPECT_FALSE(loop.host.InteractiveLaunchRequested());
}

TEST(SessionHostScenarioTest, HostRestartsWaitForTheirBackOff) {
    FakeSessionSystem system;
    LoopDriver loop(system);
    loop.RunFor(2000);
    ASSERT_TRUE(system.host);
    system.HostExits(0xC0000005);
    loop.RunFor(2000);
    EXPECT_TRUE(
        system.Logged("[SESSIONHOST][EXIT] mode=prelogin pid=500 unexpected exitCode=3221225477; restart "
                      "backoff=5000ms"));
    loop.RunFor(4000);
    EXPECT_EQ(system.Count("> start host"), 1);
    loop.RunFor(2000);
    EXPECT_EQ(system.Count("> start host"), 2);

    // A failed start waits 3 s.
    system.host->exitCode = 1;
    system.failHostStart = true;
    loop.RunFor(2000 + 6000); // exit, then the 5 s back-off, then one failed start
    int starts = system.Count("> start host");
    loop.RunFor(2000);
    EXPECT_EQ(system.Count("> start host"), starts);
    loop.RunFor(2000);
    EXPECT_EQ(system.Count("> start host"), starts + 1);
}

TEST(SessionHostScenarioTest, WorkerStartFailureIsRetriedNextPass) {
    FakeSessionSystem system;
    system.failWorkerStart = true;
    LoopDriver loop(system);
    loop.RunFor(4000);
    EXPECT_EQ(
        system.Count("[WORKER][START_RETRY] secure worker start failed; retry on next maintenance pass"), 2);
    system.failWorkerStart = false;
    loop.RunFor(2000);
    EXPECT_EQ(system.worker, 1);
}

TEST(SessionHostScenarioTest, DefaultDesktopWorkerLineOncePerPhase) {
    FakeSessionSystem system;
    LoggedOn(system);
    LoopDriver loop(system);
    loop.RunFor(6000);
    const char* line =
        "[WORKER][POLICY] Default desktop worker disabled; wait for WTS lock/logon event before "
        "starting Winlogon worker";
    EXPECT_EQ(system.Count(line), 1);
    loop.host.OnSessionChange(kWtsSessionLock);
    system.wts = WtsLock::Locked;
    loop.RunFor(2000);
    loop.host.OnSessionChange(kWtsSessionUnlock);
    system.wts = WtsLock::Unlocked;
    loop.RunFor(6000);
    EXPECT_EQ(system.Count(line), 2);
}

TEST(SessionHostScenarioTest, MissingConsoleSessionWaits) {
    FakeSessionSystem system;
    system.console = std::nullopt;
    LoopDriver loop(system);
    loop.RunFor(2000);
    EXPECT_TRUE(system.Logged("[SERVICEHOST][WAIT] active console session unavailable"));
    EXPECT_FALSE(system.host);
}

TEST(SessionHostScenarioTest, HealthLineAtMostEveryMinute) {
    FakeSessionSystem system;
    LoopDriver loop(system);
    loop.RunFor(2000);
    EXPECT_TRUE(
        system.Logged("[HEALTH] uptimeMs=0 serviceHandles=42 session=1 hasUser=0 secure=1 workerPid=0 "
                      "workerMode=-1 hostPid=500 hostMode=prelogin desired=prelogin logonPending=1 "
                      "userAutoStartSuppressed=0 startupPrefKnown=0 startupPrefEnabled=0"));
    loop.RunFor(58000);
    EXPECT_EQ(system.Count("[HEALTH]"), 1);
    loop.RunFor(2000);
    EXPECT_EQ(system.Count("[HEALTH]"), 2);
}

} // namespace

namespace {

TEST(SessionHostScenarioTest, SessionEvents) {
    struct Case {
        const char* name;
        uint32_t event;
        bool explorer;
        WtsLock wts;
        bool desiredUser;
        bool logonPending;
        bool secure;
        const char* line;
    };
    const Case cases[] = {
        {"logon", kWtsSessionLogon, true, WtsLock::Unlocked, false, true, true,
         "[SESSIONHOST][LOGON_PENDING] keep prelogin until Default desktop and Explorer are confirmed"},
        {"logoff", kWtsSessionLogoff, true, WtsLock::Unlocked, false, true, true,
         "[SESSIONHOST][DESIRED] prelogin reason=WTS_SESSION_LOGOFF"},
        {"unlock with Explorer", kWtsSessionUnlock, true, WtsLock::Locked, true, false, false,
         "[SESSIONHOST][HANDOFF_READY] unlock with Explorer; desired=user session=1"},
        {"unlock before Explorer", kWtsSessionUnlock, false, WtsLock::Locked, false, true, false,
         "[SESSIONHOST][KEEP] unlock before Explorer; keep prelogin and periodic reconciliation armed"},
        {"lock", kWtsSessionLock, true, WtsLock::Unlocked, true, false, true,
         "[SESSIONHOST][KEEP] event=7 desired=user logonPending=0"},
        {"console connect asks WTS", 1, true, WtsLock::Locked, true, false, true,
         "SERVICE_CONTROL_SESSIONCHANGE event=1"},
    };
    for (const Case& c : cases) {
        FakeSessionSystem system;
        LoggedOn(system);
        LoopDriver loop(system);
        system.explorer = c.explorer;
        system.wts = c.wts;
        int resets = system.readyResets;
        loop.host.OnSessionChange(c.event);
        EXPECT_EQ(loop.host.DesiredUser(), c.desiredUser) << c.name;
        EXPECT_EQ(loop.host.LogonPending(), c.logonPending) << c.name;
        EXPECT_EQ(loop.host.Secure(), c.secure) << c.name;
        EXPECT_TRUE(system.Logged(c.line)) << c.name;
        // No worker runs, so every event asks the loop for one on the new desktop.
        EXPECT_TRUE(system.sessionChange) << c.name;
        bool resetsReady = c.event == kWtsSessionLogon || (c.event == kWtsSessionUnlock && c.explorer);
        EXPECT_EQ(system.readyResets, resets + (resetsReady ? 1 : 0)) << c.name;
    }
}

} // namespace
