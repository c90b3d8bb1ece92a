#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "FakeStartupSystem.h"
#include "app/StartupSequence.h"
#include "core/Log.h"
#include "support/TestLog.h"

namespace {

const std::u16string kServiceHostMutex = u"Global\\Tessaly.ServiceHost";
const std::u16string kPreLoginMutex = u"Local\\Tessaly.PreLoginHost";
const std::u16string kRequestEvent = u"Global\\MarloRequestUserHost";
const std::u16string kReadyEvent = u"Global\\MarloUserHostReady";

struct Outcome {
    int exitCode = -1;
    std::vector<std::string> events; // "@Call" entries and log messages, in order

    bool Has(const std::string& prefix) const {
        return std::any_of(events.begin(), events.end(),
                           [&](const std::string& e) { return e.rfind(prefix, 0) == 0; });
    }
    std::string Dump() const {
        std::string all;
        for (const std::string& e : events)
            all += "  " + e + "\n";
        return all;
    }
};

Outcome RunWith(FakeStartupSystem& system, const std::u16string& commandLine, int showCommand = 10) {
    Log::Close(); // a fresh open writes the profile line, whatever ran before
    TestLog().Clear();
    Outcome run;
    run.exitCode = RunTessaly(system, system, commandLine, showCommand);
    run.events = TestLog().Messages();
    return run;
}

// Each expected entry is a prefix of an event; they must occur in this order (others may lie between).
void ExpectInOrder(const Outcome& run, const std::vector<std::string>& expected) {
    size_t at = 0;
    for (const std::string& want : expected) {
        auto it = std::find_if(run.events.begin() + at, run.events.end(),
                               [&](const std::string& e) { return e.rfind(want, 0) == 0; });
        ASSERT_NE(it, run.events.end()) << "missing or out of order: " << want << "\nevents:\n" << run.Dump();
        at = static_cast<size_t>(it - run.events.begin()) + 1;
    }
}

TEST(StartupSequence, NormalStartRunsEveryStepInOrderAndShutsDownInReverse) {
    FakeStartupSystem system;
    Outcome run = RunWith(system, u"\"C:\\Apps\\Tessaly.exe\"");
    EXPECT_EQ(run.exitCode, 0);
    ExpectInOrder(
        run, {
                 "[LOG][PROFILE] runtime-slim all=0",
                 "@InstallCrashHandler",
                 "CrashHandler installed mainLogOnly=1",
                 "[BUILD] component=Tessaly version=20260827.3 flavor=StallWatchdogDiagnostic compiled=",
                 "@OpenMutex Global\\Tessaly.ServiceHost absent",
                 "@OpenMutex Local\\Tessaly.PreLoginHost absent",
                 "@QueryElevation",
                 "Administrator elevation: OK",
                 "@CreateInstanceMutex Local\\Tessaly.SingleInstance",
                 "SingleInstance: acquired mutex mode=user",
                 "@EnablePerMonitorAwareV2",
                 "DPI awareness: PER_MONITOR_AWARE_V2 enabled",
                 "App start",
                 "@SetAppRunning 1",
                 "[STATE] StateManager init",
                 "@LoadSettings",
                 "@ConnectServices",
                 "@StartWinsock",
                 "@StartOle",
                 "@ScheduleFirewallCheck",
                 "@StartMediaFoundation",
                 "[NET][DIAG] ports discovery-primary=38999 discovery-legacy=58999 control=5003 video=6100 "
                 "input=5100 audio=7101 clipboard=5102 http=dynamic",
                 "@ProbeUdp discovery-primary 38999",
                 "@ProbeUdp discovery-legacy 58999",
                 "@ProbeTcp control 5003",
                 "@ProbeTcp video 6100",
                 "@ProbeTcp input 5100",
                 "@ProbeTcp clipboard 5102",
                 "@ProbeUdp audio 7101",
                 "@RefreshDevicePresence startup",
                 "@RegisterWindowClass 0",
                 "@RegisterWindowClass 1",
                 "@RegisterWindowClass 2",
                 "@RegisterWindowClass 3",
                 "@CreateMainWindow show=10",
                 "@StartLifecycleModules",
                 "@StartDiagnosticsThreads",
                 "[HW][START]",
                 "@RefreshDevicePresence hardware-service-start",
                 "@StartDevicePresence",
                 "@SetAutoConnectIntent 0 boot idle: saved auto-connect disabled",
                 "@StartAutoConnect",
                 "@KeepInstanceForDragService",
                 "[DRAG][SERVICE][INIT] lazy-start monitor on connection",
                 "@StartDiagnosticThread",
                 "[DIAG] DiagnosticService start tid=77",
                 "@RunMessageLoop",
                 // shutdown
                 "@StopAutoConnect",
                 "@StopLifecycleModules message loop exit",
                 "@JoinDiagnosticThread 3000",
                 "[DIAG] DiagnosticService stopped",
                 "@StopDragDrop",
                 "[HW][STOP]",
                 "@StopDevicePresence",
                 "@SetAppRunning 0",
                 "[STATE] StateManager shutdown",
                 "@StopDiagnosticsThreads",
                 "@Sleep 100",
                 "@StopMediaFoundation",
                 "@StopOle",
                 "@StopWinsock",
                 "@ReleaseInstanceMutex",
                 "SingleInstance: released mutex",
                 "App exit",
                 "@RestoreCrashHandler",
                 "CrashHandler uninstalled",
             });
    EXPECT_FALSE(run.Has("@RelaunchElevated"));
    EXPECT_FALSE(run.Has("@HideMainWindow"));
    EXPECT_TRUE(system.openHandles.empty());
    EXPECT_FALSE(TestLog().open) << "log closed at exit";
    ASSERT_NE(system.diagnosticFlag, nullptr);
    EXPECT_FALSE(system.diagnosticFlag->load()) << "diagnostic thread told to stop";
}

TEST(StartupSequence, BuildLineCarriesModeAndWholeCommandLine) {
    FakeStartupSystem system;
    Outcome run = RunWith(system, u"\"C:\\A b\\Tessaly.exe\" x--service-hostx \u00e9");
    EXPECT_EQ(run.exitCode, 0);
    auto build = std::find_if(run.events.begin(), run.events.end(),
                              [](const std::string& e) { return e.rfind("[BUILD]", 0) == 0; });
    ASSERT_NE(build, run.events.end());
    EXPECT_NE(
        build->find(" arch=x64 pid=4242 session=1 mode=prelogin-host exeCommand=\"C:\\A b\\Tessaly.exe\" "
                    "x--service-hostx \xc3\xa9"),
        std::string::npos)
        << *build;
}

// Service host present (opened, or refused with access denied) x request event x ready event.
struct HandOffCase {
    const char* name;
    bool hostOpens;
    bool hostDenied;
    bool requestPresent;
    bool readyPresent;
};

class HandOff : public ::testing::TestWithParam<HandOffCase> {};

TEST_P(HandOff, NormalStartAsksServiceHostForUserHostAndExits) {
    const HandOffCase& c = GetParam();
    FakeStartupSystem system;
    if (c.hostOpens || c.hostDenied)
        system.objects[kServiceHostMutex].accessDenied = c.hostDenied;
    if (c.requestPresent)
        system.objects[kRequestEvent] = {};
    if (c.readyPresent)
        system.objects[kReadyEvent].waitResult = 0;

    Outcome run = RunWith(system, u"Tessaly.exe");
    bool handOff = c.hostOpens || c.hostDenied;
    if (!handOff) {
        EXPECT_TRUE(run.Has("@CreateMainWindow")) << run.Dump();
        EXPECT_FALSE(run.Has("@Signal Global\\MarloRequestUserHost"));
        return;
    }
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.Has("@Signal Global\\MarloRequestUserHost"), c.requestPresent);
    std::string requestLine =
        c.requestPresent
            ? "[SESSIONHOST][REQUEST] normal launch found prelogin host request=1 requestError=0;"
            : "[SESSIONHOST][REQUEST] normal launch found prelogin host request=0 requestError=2;";
    EXPECT_TRUE(run.Has(requestLine)) << run.Dump();
    bool waits = c.requestPresent && c.readyPresent;
    EXPECT_EQ(run.Has("@Wait Global\\MarloUserHostReady 10000"), waits);
    EXPECT_EQ(run.Has("[SESSIONHOST][REQUEST] ready wait result=0"), waits);
    ExpectInOrder(run, {"@RestoreCrashHandler", "CrashHandler uninstalled"});
    // Nothing of its own starts: no elevation check, no instance mutex, no window.
    for (const char* never :
         {"@QueryElevation", "@CreateInstanceMutex", "@StartWinsock", "@CreateMainWindow"})
        EXPECT_FALSE(run.Has(never)) << never;
    EXPECT_TRUE(system.openHandles.empty()) << "every handle of the hand-off is closed";
    EXPECT_FALSE(TestLog().open);
}

INSTANTIATE_TEST_SUITE_P(Table, HandOff,
                         ::testing::Values(HandOffCase{"opened_both", true, false, true, true},
                                           HandOffCase{"opened_request_only", true, false, true, false},
                                           HandOffCase{"opened_ready_only", true, false, false, true},
                                           HandOffCase{"opened_none", true, false, false, false},
                                           HandOffCase{"denied_both", false, true, true, true},
                                           HandOffCase{"denied_request_only", false, true, true, false},
                                           HandOffCase{"denied_none", false, true, false, false},
                                           HandOffCase{"absent_with_events", false, false, true, true},
                                           HandOffCase{"absent_none", false, false, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StartupSequence, HandOffExitsZeroWhateverTheReadyWaitGives) {
    FakeStartupSystem system;
    system.objects[kServiceHostMutex] = {};
    system.objects[kRequestEvent] = {};
    system.objects[kReadyEvent].waitResult = kWaitTimeout;
    Outcome run = RunWith(system, u"Tessaly.exe");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.Has("[SESSIONHOST][REQUEST] ready wait result=258"));
    EXPECT_FALSE(run.Has("@CreateMainWindow"));
}

TEST(StartupSequence, HostModesNeverHandOff) {
    for (const char16_t* cmd :
         {u"Tessaly.exe --service-host", u"Tessaly.exe --prelogin-host", u"Tessaly.exe --user-host"}) {
        FakeStartupSystem system;
        system.objects[kServiceHostMutex] = {};
        system.objects[kRequestEvent] = {};
        system.objects[kReadyEvent] = {};
        Outcome run = RunWith(system, cmd);
        EXPECT_FALSE(run.Has("@OpenMutex Global\\Tessaly.ServiceHost")) << run.Dump();
        EXPECT_FALSE(run.Has("@Signal Global\\MarloRequestUserHost"));
        EXPECT_TRUE(run.Has("@CreateMainWindow"));
    }
}

TEST(StartupSequence, NormalStartWaitsForPreLoginHostThenStarts) {
    for (uint32_t waitResult : {kWaitTimeout, 0u}) {
        FakeStartupSystem system;
        system.objects[kPreLoginMutex].waitResult = waitResult;
        Outcome run = RunWith(system, u"Tessaly.exe");
        EXPECT_EQ(run.exitCode, 0);
        ExpectInOrder(run, {"[PRELOGIN][APP] user startup waits for pre-login host handoff",
                            "@Wait Local\\Tessaly.PreLoginHost 5000",
                            "[PRELOGIN][APP] handoff wait result=" + std::to_string(waitResult),
                            "@Close Local\\Tessaly.PreLoginHost", "@QueryElevation", "@CreateMainWindow"});
        // A wait that acquired the mutex hands it back before closing it.
        EXPECT_EQ(run.Has("@ReleaseMutex Local\\Tessaly.PreLoginHost"), waitResult == 0);
    }
}

struct ElevationCase {
    ElevationResult elevation;
    const char* line;
};

TEST(StartupSequence, UnelevatedStartRelaunchesWithSameArgumentsAndExits) {
    const ElevationCase cases[] = {
        {{ElevationStatus::NotElevated, 0}, "Administrator elevation: not elevated"},
        {{ElevationStatus::TokenOpenFailed, 5}, "OpenProcessToken failed gle=5"},
        {{ElevationStatus::TokenQueryFailed, 87}, "GetTokenInformation(TokenElevation) failed gle=87"},
    };
    for (const ElevationCase& c : cases) {
        FakeStartupSystem system;
        system.elevation = c.elevation;
        Outcome run = RunWith(system, u"\"C:\\Apps\\Tessaly.exe\" --user-host  -v");
        EXPECT_EQ(run.exitCode, 0);
        ExpectInOrder(
            run,
            {c.line, "@ExecutablePath",
             "@RelaunchElevated file=C:\\Apps\\Tessaly.exe parameters=--user-host  -v --elevated-relaunch",
             "Relaunched as administrator, current unelevated process exits", "@RestoreCrashHandler",
             "CrashHandler uninstalled"});
        EXPECT_FALSE(run.Has("@CreateInstanceMutex"))
            << "an unelevated start never reaches the single-instance check";
        EXPECT_FALSE(TestLog().open);
    }
}

TEST(StartupSequence, FailedRelaunchOrPathStillExitsZero) {
    FakeStartupSystem system;
    system.elevation = {ElevationStatus::NotElevated, 0};
    system.relaunch = {false, 1223};
    Outcome run = RunWith(system, u"Tessaly.exe");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.Has("ShellExecuteExW(runas) failed gle=1223"));
    EXPECT_FALSE(run.Has("@CreateInstanceMutex"));

    FakeStartupSystem noPath;
    noPath.elevation = {ElevationStatus::NotElevated, 0};
    noPath.exePath = {u"", 122};
    run = RunWith(noPath, u"Tessaly.exe");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.Has("GetModuleFileNameW for elevation failed gle=122"));
    EXPECT_FALSE(run.Has("@RelaunchElevated"));
}

TEST(StartupSequence, RelaunchedCopyThatIsStillUnelevatedStartsInsteadOfLooping) {
    FakeStartupSystem system;
    system.elevation = {ElevationStatus::NotElevated, 0};
    Outcome run = RunWith(system, u"Tessaly.exe --elevated-relaunch");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_FALSE(run.Has("@RelaunchElevated"));
    ExpectInOrder(run, {"[WARN] Administrator elevation: relaunched copy is still not elevated",
                        "@CreateInstanceMutex", "@CreateMainWindow", "@RunMessageLoop"});
}

TEST(StartupSequence, SecondInstanceRestoresTheFirstAndExitsZero) {
    struct Case {
        const char16_t* cmd;
        const char* mutex;
        bool show;
    } cases[] = {
        {u"Tessaly.exe", "@CreateInstanceMutex Local\\Tessaly.SingleInstance", true},
        {u"Tessaly.exe --user-host", "@CreateInstanceMutex Local\\Tessaly.SingleInstance", true},
        // A hidden network host stays hidden.
        {u"Tessaly.exe --service-host", "@CreateInstanceMutex Global\\Tessaly.ServiceHost", false},
        {u"Tessaly.exe --prelogin-host", "@CreateInstanceMutex Local\\Tessaly.PreLoginHost", false},
    };
    for (const Case& c : cases) {
        FakeStartupSystem system;
        system.instanceMutex = {InstanceMutexStatus::AlreadyExists, 183};
        Outcome run = RunWith(system, c.cmd);
        EXPECT_EQ(run.exitCode, 0);
        ExpectInOrder(run, {c.mutex, std::string("@RestoreExistingMainWindow show=") + (c.show ? "1" : "0"),
                            c.show ? "SingleInstance: restored existing main window hwnd="
                                   : "SingleInstance: existing hidden host window left hidden hwnd=",
                            "App start blocked: existing instance restored", "@RestoreCrashHandler",
                            "CrashHandler uninstalled"});
        EXPECT_FALSE(run.Has("@EnablePerMonitorAwareV2"));
        EXPECT_EQ(std::count(run.events.begin(), run.events.end(), "App start"), 0);
        EXPECT_FALSE(run.Has("SingleInstance: released mutex"));
    }
}

TEST(StartupSequence, SecondInstanceWithoutWindowStillExits) {
    FakeStartupSystem system;
    system.instanceMutex = {InstanceMutexStatus::AlreadyExists, 5};
    system.existingWindow = 0;
    Outcome run = RunWith(system, u"Tessaly.exe");
    EXPECT_EQ(run.exitCode, 0);
    ExpectInOrder(run, {"SingleInstance: existing mutex found but main window not found",
                        "App start blocked: existing instance restored"});
}

TEST(StartupSequence, InstanceMutexCreateFailureContinuesStart) {
    FakeStartupSystem system;
    system.instanceMutex = {InstanceMutexStatus::CreateFailed, 1450};
    Outcome run = RunWith(system, u"Tessaly.exe");
    EXPECT_EQ(run.exitCode, 0);
    ExpectInOrder(run,
                  {"SingleInstance: CreateMutex failed gle=1450; continue startup", "@CreateMainWindow"});
    EXPECT_FALSE(run.Has("SingleInstance: released mutex")) << "nothing was held";
}

struct FailureCase {
    const char* name;
    void (*arrange)(FakeStartupSystem&);
    const char* line;
    std::vector<std::string> undone; // in this order
    std::vector<std::string> notUndone;
    bool errorText;
};

TEST(StartupSequence, FailedStepUndoesWhatRanAndExitsOne) {
    const FailureCase cases[] = {
        {"winsock",
         [](FakeStartupSystem& s) { s.winsockError = 10091; },
         "WSAStartup failed wsa=10091",
         {},
         {"@StopWinsock", "@StopOle", "@StopMediaFoundation"},
         false},
        {"ole",
         [](FakeStartupSystem& s) { s.oleResult = static_cast<int32_t>(0x80004005u); },
         "OleInitialize failed 0x80004005 E_FAIL Unspecified error",
         {"@StopWinsock"},
         {"@StopOle", "@StopMediaFoundation", "@ScheduleFirewallCheck"},
         true},
        {"media foundation",
         [](FakeStartupSystem& s) { s.mediaFoundationResult = static_cast<int32_t>(0x80004005u); },
         "MFStartup failed 0x80004005 E_FAIL Unspecified error",
         {"@StopOle", "@StopWinsock"},
         {"@StopMediaFoundation"},
         true},
        {"window class",
         [](FakeStartupSystem& s) { s.classErrors[WindowClass::StateView] = 8; },
         "Register window class failed gle=8",
         {"@StopMediaFoundation", "@StopOle", "@StopWinsock"},
         {"@CreateMainWindow"},
         false},
        {"main window",
         [](FakeStartupSystem& s) {
             s.mainWindow = {false, 1407};
         },
         "CreateMainWindow failed gle=1407",
         {"@StopMediaFoundation", "@StopOle", "@StopWinsock"},
         {"@StartLifecycleModules"},
         false},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeStartupSystem system;
        c.arrange(system);
        Outcome run = RunWith(system, u"Tessaly.exe");
        EXPECT_EQ(run.exitCode, 1);
        std::vector<std::string> order{c.line};
        order.insert(order.end(), c.undone.begin(), c.undone.end());
        order.insert(order.end(), {"@ReleaseInstanceMutex", "SingleInstance: released mutex"});
        ExpectInOrder(run, order);
        for (const std::string& never : c.notUndone)
            EXPECT_FALSE(run.Has(never)) << never;
        EXPECT_FALSE(run.Has("@RunMessageLoop"));
        EXPECT_FALSE(run.Has("@RestoreCrashHandler")) << "a failed start keeps the crash handler to the end";
        EXPECT_FALSE(TestLog().open);
        EXPECT_EQ(!system.errorText.empty(), c.errorText);
        if (c.errorText)
            EXPECT_EQ(system.errorText, c.line);
    }
}

TEST(StartupSequence, ExistingWindowClassCountsAsRegistered) {
    FakeStartupSystem system;
    system.classErrors[WindowClass::RemoteView] = kErrorClassAlreadyExists;
    system.classErrors[WindowClass::Main] = kErrorClassAlreadyExists;
    Outcome run = RunWith(system, u"Tessaly.exe");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_FALSE(run.Has("Register window class failed"));
    EXPECT_TRUE(run.Has("@RunMessageLoop"));
}

TEST(StartupSequence, HiddenHostKeepsItsWindowHiddenAndUserHostSignalsReady) {
    FakeStartupSystem hidden;
    Outcome run = RunWith(hidden, u"Tessaly.exe --service-host", 10);
    ExpectInOrder(run, {"[SERVICEHOST][APP] hidden LocalSystem network host startup persistent=1",
                        "@CreateInstanceMutex Global\\Tessaly.ServiceHost", "@CreateMainWindow show=0",
                        "@HideMainWindow", "[SERVICEHOST][APP] main window kept hidden on service desktop"});
    EXPECT_FALSE(run.Has("@OpenEvent(modify) Global\\MarloUserHostReady"));

    FakeStartupSystem preLogin;
    run = RunWith(preLogin, u"Tessaly.exe --prelogin-host");
    EXPECT_TRUE(run.Has("[SERVICEHOST][APP] hidden LocalSystem network host startup persistent=0"));
    EXPECT_TRUE(run.Has("@CreateMainWindow show=0"));

    FakeStartupSystem userHost;
    userHost.objects[kReadyEvent] = {};
    run = RunWith(userHost, u"Tessaly.exe --user-host", 3);
    ExpectInOrder(run, {"[SESSIONHOST][APP] user host launched by service on Default desktop",
                        "@CreateMainWindow show=3", "@OpenEvent(modify) Global\\MarloUserHostReady",
                        "@Signal Global\\MarloUserHostReady",
                        "[SESSIONHOST][READY] user host main window ready", "@StartLifecycleModules"});
    EXPECT_FALSE(run.Has("@HideMainWindow"));
    EXPECT_TRUE(userHost.openHandles.empty());

    FakeStartupSystem noReadyEvent;
    run = RunWith(noReadyEvent, u"Tessaly.exe --user-host");
    EXPECT_EQ(run.exitCode, 0);
    ExpectInOrder(run,
                  {"[SESSIONHOST][READY_WARN] ready event unavailable error=2", "@StartLifecycleModules"});

    FakeStartupSystem signalFails;
    signalFails.objects[kReadyEvent] = {};
    signalFails.signalResult = {false, 6};
    run = RunWith(signalFails, u"Tessaly.exe --user-host");
    EXPECT_EQ(run.exitCode, 0);
    ExpectInOrder(run,
                  {"@Signal Global\\MarloUserHostReady",
                   "[SESSIONHOST][READY_WARN] ready event signal failed error=6", "@StartLifecycleModules"});
    EXPECT_FALSE(run.Has("[SESSIONHOST][READY] user host main window ready"));
    EXPECT_TRUE(signalFails.openHandles.empty());
}

TEST(StartupSequence, DpiAwarenessFallsBackInOrder) {
    struct Case {
        DpiResult v2;
        DpiResult fallback;
        std::vector<std::string> lines;
    } cases[] = {
        {{DpiStatus::Failed, 5},
         {DpiStatus::Enabled, 0},
         {"DPI awareness: PER_MONITOR_AWARE_V2 failed gle=5",
          "DPI awareness: SYSTEM_DPI_AWARE fallback enabled"}},
        {{DpiStatus::Unavailable, 0},
         {DpiStatus::Enabled, 0},
         {"DPI awareness: SYSTEM_DPI_AWARE fallback enabled"}},
        {{DpiStatus::Unavailable, 0},
         {DpiStatus::Unavailable, 0},
         {"DPI awareness: fallback to default process awareness"}},
        {{DpiStatus::Failed, 5},
         {DpiStatus::Failed, 6},
         {"DPI awareness: PER_MONITOR_AWARE_V2 failed gle=5",
          "DPI awareness: fallback to default process awareness"}},
    };
    for (const Case& c : cases) {
        FakeStartupSystem system;
        system.perMonitorV2 = c.v2;
        system.systemAware = c.fallback;
        Outcome run = RunWith(system, u"Tessaly.exe");
        EXPECT_EQ(run.exitCode, 0);
        ExpectInOrder(run, c.lines);
        EXPECT_FALSE(run.Has("DPI awareness: PER_MONITOR_AWARE_V2 enabled"));
    }
}

TEST(StartupSequence, SavedAutoConnectIsRestoredAtBoot) {
    FakeStartupSystem system;
    system.autoConnectSetting = true;
    Outcome run = RunWith(system, u"Tessaly.exe");
    ExpectInOrder(run, {"@SetAutoConnectIntent 1 boot restore saved auto-connect", "@StartAutoConnect"});
}

TEST(StartupSequence, DiagnosticThreadThatCannotStartIsNotJoined) {
    FakeStartupSystem system;
    system.diagnosticThread = {false, 0, 8};
    Outcome run = RunWith(system, u"Tessaly.exe");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.Has("[DIAG][ERR] DiagnosticService CreateThread failed gle=8"));
    EXPECT_FALSE(run.Has("@JoinDiagnosticThread"));
    EXPECT_FALSE(run.Has("[DIAG] DiagnosticService stopped"));
    // The next process life can start it again.
    FakeStartupSystem again;
    run = RunWith(again, u"Tessaly.exe");
    EXPECT_TRUE(run.Has("[DIAG] DiagnosticService start tid=77"));
}

} // namespace
