#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "LogAssertions.h"
#include "ProgramRun.h"

namespace {

constexpr DWORD kStartMs = 20000;
constexpr DWORD kExitMs = 20000;

const std::vector<std::string> kShutdownLines = {
    "[DIAG] DiagnosticService stopped", "[HW][STOP]", "[STATE] StateManager shutdown",
    "SingleInstance: released mutex",   "App exit",   "CrashHandler uninstalled",
};

struct ModeCase {
    const wchar_t* folder;
    const wchar_t* arguments;
    const char* buildMode;
    const char* instanceLine;
    bool hidden;
};

class Mode : public ::testing::TestWithParam<ModeCase> {};

TEST_P(Mode, StartsLogsItsBuildLineAndShutsDownInOrderOnQuit) {
    const ModeCase& c = GetParam();
    ProgramRun tessaly(c.folder);
    ASSERT_TRUE(tessaly.Start(c.arguments));
    HWND window = tessaly.WaitMainWindow(kStartMs);
    ASSERT_NE(window, nullptr) << tessaly.Log();
    // The window exists before it is shown: judge its visibility once start-up has run to its end.
    ASSERT_TRUE(tessaly.WaitForLog("[DIAG] DiagnosticService start tid=", kStartMs)) << tessaly.Log();
    EXPECT_EQ(IsWindowVisible(window) != FALSE, !c.hidden);

    ASSERT_TRUE(PostMessageW(window, WM_QUIT, 0, 0));
    EXPECT_EQ(tessaly.WaitExit(kExitMs), 0u);
    std::string log = tessaly.Log();
    std::vector<std::string> expected = {"[LOG][PROFILE] runtime-slim",
                                         "CrashHandler installed mainLogOnly=1",
                                         std::string("[BUILD] component=Tessaly version=20260827.3 flavor="
                                                     "StallWatchdogDiagnostic compiled="),
                                         std::string(" arch=x64 pid="),
                                         std::string(" mode=") + c.buildMode + " exeCommand=",
                                         "Administrator elevation: OK",
                                         c.instanceLine,
                                         "App start",
                                         "[HW][START]",
                                         "[DIAG] DiagnosticService start tid="};
    expected.insert(expected.end(), kShutdownLines.begin(), kShutdownLines.end());
    EXPECT_TRUE(InOrder(log, expected));
    EXPECT_EQ(log.find("[SESSIONHOST][REQUEST]"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    AllModes, Mode,
    ::testing::Values(ModeCase{L"mode-user", L"", "user", "SingleInstance: acquired mutex mode=user", false},
                      ModeCase{L"mode-service-host", L"--service-host", "prelogin-host",
                               "SingleInstance: acquired mutex mode=prelogin-host", true},
                      ModeCase{L"mode-prelogin", L"--prelogin-host", "prelogin",
                               "SingleInstance: acquired mutex mode=prelogin", true},
                      ModeCase{L"mode-user-host", L"--user-host", "user-host",
                               "SingleInstance: acquired mutex mode=user-host", false},
                      ModeCase{L"mode-embedded", L"/opt=x--service-host", "prelogin-host",
                               "SingleInstance: acquired mutex mode=prelogin-host", true}),
    [](const auto& info) {
        std::string name;
        for (const wchar_t* p = info.param.folder; *p; ++p)
            name += *p == L'-' ? '_' : static_cast<char>(*p);
        return name;
    });

// A service host and its events, as the service creates them.
struct ServiceHostStandIn {
    ServiceHostStandIn() {
        hostMutex = CreateMutexW(nullptr, TRUE, L"Global\\Tessaly.ServiceHost");
        request = CreateEventW(nullptr, FALSE, FALSE, L"Global\\MarloRequestUserHost");
        ready = CreateEventW(nullptr, TRUE, FALSE, L"Global\\MarloUserHostReady");
    }
    ~ServiceHostStandIn() {
        for (HANDLE h : {ready, request, hostMutex})
            if (h)
                CloseHandle(h);
    }
    HANDLE hostMutex, request, ready;
};

TEST(Startup, NormalStartHandsOverToARunningServiceHost) {
    ServiceHostStandIn service;
    ASSERT_TRUE(service.hostMutex && service.request && service.ready);
    // The service answers a request by reporting its user host ready.
    std::thread serviceLoop([&] {
        if (WaitForSingleObject(service.request, 15000) == WAIT_OBJECT_0)
            SetEvent(service.ready);
    });

    ProgramRun tessaly(L"handoff");
    ASSERT_TRUE(tessaly.Start(L""));
    bool windowSeen = false;
    DWORD start = GetTickCount();
    while (tessaly.Running() && GetTickCount() - start < 10000) {
        windowSeen = windowSeen || tessaly.WaitMainWindow(0) != nullptr;
        Sleep(20);
    }
    DWORD exitCode = tessaly.WaitExit(kExitMs);
    SetEvent(service.request); // lets the stand-in end if the request never came
    serviceLoop.join();

    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(windowSeen);
    std::string log = tessaly.Log();
    EXPECT_TRUE(InOrder(log, {"mode=user",
                              "[SESSIONHOST][REQUEST] normal launch found prelogin host request=1 "
                              "requestError=0; wait user host ready",
                              "[SESSIONHOST][REQUEST] ready wait result=0", "CrashHandler uninstalled"}));
    EXPECT_EQ(log.find("App start"), std::string::npos);
    EXPECT_EQ(log.find("SingleInstance:"), std::string::npos);
}

TEST(Startup, NormalStartWaitsAtMostFiveSecondsForAPreLoginHost) {
    HANDLE preLogin = CreateMutexW(nullptr, TRUE, L"Local\\Tessaly.PreLoginHost");
    ASSERT_NE(preLogin, nullptr);
    ProgramRun tessaly(L"prelogin-wait");
    DWORD start = GetTickCount();
    ASSERT_TRUE(tessaly.Start(L""));
    HWND window = tessaly.WaitMainWindow(kStartMs);
    DWORD elapsed = GetTickCount() - start;
    ReleaseMutex(preLogin);
    CloseHandle(preLogin);
    ASSERT_NE(window, nullptr) << tessaly.Log();
    EXPECT_GE(elapsed, 4900u);
    PostMessageW(window, WM_QUIT, 0, 0);
    EXPECT_EQ(tessaly.WaitExit(kExitMs), 0u);
    EXPECT_TRUE(InOrder(tessaly.Log(), {"[PRELOGIN][APP] user startup waits for pre-login host handoff",
                                        "[PRELOGIN][APP] handoff wait result=258", "App start", "App exit"}));
}

TEST(Startup, SecondNormalStartIsRefusedAndTheFirstKeepsRunning) {
    ProgramRun first(L"instance-first");
    ASSERT_TRUE(first.Start(L""));
    HWND window = first.WaitMainWindow(kStartMs);
    ASSERT_NE(window, nullptr) << first.Log();
    ASSERT_TRUE(first.WaitForLog("[DIAG] DiagnosticService start tid=", kStartMs)) << first.Log();

    ProgramRun second(L"instance-second");
    ASSERT_TRUE(second.Start(L""));
    EXPECT_EQ(second.WaitExit(kExitMs), 0u);
    EXPECT_TRUE(
        InOrder(second.Log(), {"SingleInstance: restored existing main window hwnd=",
                               "App start blocked: existing instance restored", "CrashHandler uninstalled"}));
    EXPECT_EQ(second.Log().find("App start\r\n"), std::string::npos);

    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(IsWindowVisible(window));
    PostMessageW(window, WM_QUIT, 0, 0);
    EXPECT_EQ(first.WaitExit(kExitMs), 0u);
}

TEST(Startup, FinalDestroyMessageEndsTheRunThroughTheWindow) {
    ProgramRun tessaly(L"final-destroy");
    ASSERT_TRUE(tessaly.Start(L""));
    HWND window = tessaly.WaitMainWindow(kStartMs);
    ASSERT_NE(window, nullptr);
    PostMessageW(window, 0x8410, 0, 0);
    EXPECT_EQ(tessaly.WaitExit(kExitMs), 0u);
    std::vector<std::string> expected = {"MainWindow final destroy after async shutdown",
                                         "MainWindow WM_DESTROY"};
    expected.insert(expected.end(), kShutdownLines.begin(), kShutdownLines.end());
    EXPECT_TRUE(InOrder(tessaly.Log(), expected));
}

} // namespace

namespace {

TEST(Startup, CategorySwitchesComeFromTheEnvironment) {
    SetEnvironmentVariableW(L"MARLO_DEBUG_STATE_LOG", L"yes");
    SetEnvironmentVariableW(L"MARLO_DEBUG_UI_LOG", L"off");
    ProgramRun tessaly(L"categories");
    bool started = tessaly.Start(L"");
    SetEnvironmentVariableW(L"MARLO_DEBUG_STATE_LOG", nullptr);
    SetEnvironmentVariableW(L"MARLO_DEBUG_UI_LOG", nullptr);
    ASSERT_TRUE(started);
    HWND window = tessaly.WaitMainWindow(kStartMs);
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_QUIT, 0, 0);
    EXPECT_EQ(tessaly.WaitExit(kExitMs), 0u);
    EXPECT_NE(
        tessaly.Log().find("[LOG][PROFILE] runtime-slim all=0 input=0 hid=0 drag=0 resize=0 ui=0 timeline=0 "
                           "media=0 visibility=0 state=1 startup=0 transfer=0\r\n"),
        std::string::npos)
        << tessaly.Log();
}

} // namespace
