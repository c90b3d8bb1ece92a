#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <thread>

#include "LogAssertions.h"
#include "ProgramRun.h"
#include "TestPaths.h"
#include "TestWait.h"
#include "core/win/Handles.h"
#include "core/win/TextConvert.h"
#include "service/WardletShared.h"
#include "service/win/SessionHostLoop.h"
#include "service/win/SessionProcesses.h"
#include "service/win/WardletLog.h"

// The real service loop in-process, with the real system calls but no service control manager: the test is
// the control handler (it calls OnSessionChange) and Tessaly (it sets the named events). Stand-ins made from
// the winlogon.exe test tool play winlogon, Tessaly (host) and the capture worker. Under Wine every process
// is in session 1, Explorer runs and the lock state is unknown, so the user name decides: unlocked.

namespace {

constexpr DWORD kLogWaitMs = 15000;

class SessionHostLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = TestExeFolder() + L"runs\\SessionHost\\";
        CreateDirectoryW((TestExeFolder() + L"runs").c_str(), nullptr);
        CreateDirectoryW(m_folder.c_str(), nullptr);
        std::wstring standIn = TestExeFolder() + L"winlogon.exe";
        ASSERT_TRUE(CopyFileW(standIn.c_str(), (m_folder + L"Tessaly.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileW(standIn.c_str(), (m_folder + L"WorkerStandIn.exe").c_str(), FALSE));
        // Wardlet's data folder (the exit-policy marker) goes under this test's own "ProgramData".
        std::wstring programData = m_folder + L"ProgramData";
        CreateDirectoryW(programData.c_str(), nullptr);
        DeleteFileW((programData + L"\\Marlo\\user_host_exit_policy.bin").c_str());
        SetEnvironmentVariableW(L"ProgramData", programData.c_str());
        SetEnvironmentVariableW(L"STANDIN_HANG", nullptr);
        SetEnvironmentVariableW(L"STANDIN_WORKER_EXIT", nullptr);

        m_winlogon = std::make_unique<ProgramRun>(L"SessionHostWinlogon", L"winlogon.exe");
        ASSERT_TRUE(m_winlogon->Start(L""));
        m_logOffset = ReadWholeFile(WardletLogPath()).size();
        DWORD error = 0;
        ASSERT_TRUE(CreateSessionHostEvents(m_events, error)) << error;
    }

    void TearDown() override {
        StopLoop();
        // The loop leaves its host running, as the service does: end the stand-ins of this suite (and no
        // other Tessaly).
        for (uint32_t pid : ProcessesInSession(L"Tessaly.exe", SessionOfThisProcess())) {
            UniqueHandle process(
                OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
            if (process && ImagePath(process.Get()).find(L"\\runs\\SessionHost") != std::wstring::npos) {
                TerminateProcess(process.Get(), 1);
                WaitForSingleObject(process.Get(), 5000);
            }
        }
        SetEnvironmentVariableW(L"STANDIN_HANG", nullptr);
        SetEnvironmentVariableW(L"STANDIN_WORKER_EXIT", nullptr);
    }

    void StartLoop(bool suppressedAtStart, const wchar_t* tessaly = L"Tessaly.exe") {
        SessionProgramPaths paths{m_folder + tessaly, m_folder + L"WorkerStandIn.exe", m_folder};
        m_system = std::make_unique<SessionSystem>(paths, m_events.userHostReady.Get(),
                                                   m_events.sessionChange.Get());
        m_host = std::make_unique<SessionHost>(*m_system, suppressedAtStart);
        m_loop = std::thread([this] { ServiceLoop(m_events, *m_system, *m_host); });
    }

    void StopLoop() {
        if (!m_loop.joinable())
            return;
        SetEvent(m_events.stop.Get());
        m_loop.join();
    }

    static std::wstring ImagePath(HANDLE process) {
        wchar_t path[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        return QueryFullProcessImageNameW(process, 0, path, &size) ? std::wstring(path, size)
                                                                   : std::wstring();
    }

    static uint32_t SessionOfThisProcess() {
        DWORD session = 0;
        ProcessIdToSessionId(GetCurrentProcessId(), &session);
        return session;
    }

    std::string LogSinceStart() const {
        std::string log = ReadWholeFile(WardletLogPath());
        return m_logOffset < log.size() ? log.substr(m_logOffset) : std::string();
    }

    // Waits (bounded) until the log since the test began holds text `count` times.
    bool WaitForLog(const std::string& text, size_t count = 1) {
        return WaitUntil([&] { return CountOf(LogSinceStart(), text) >= count; }, kLogWaitMs);
    }

    static void Signal(const char16_t* name) {
        UniqueHandle event(OpenEventW(EVENT_MODIFY_STATE, FALSE, AsWide(name).c_str()));
        ASSERT_TRUE(event);
        SetEvent(event.Get());
    }

    std::wstring m_folder;
    std::unique_ptr<ProgramRun> m_winlogon;
    size_t m_logOffset = 0;
    SessionHostEvents m_events;
    std::unique_ptr<SessionSystem> m_system;
    std::unique_ptr<SessionHost> m_host;
    std::thread m_loop;
};

TEST_F(SessionHostLoopTest, StartsTheUserHostAndAcceptsARequest) {
    StartLoop(false);
    ASSERT_TRUE(WaitForLog("[SESSIONHOST][STARTED] mode=user pid=")) << LogSinceStart();
    std::string log = LogSinceStart();
    EXPECT_NE(log.find("[SESSIONHOST][INITIAL] session="), std::string::npos);
    EXPECT_NE(log.find("explorerShell=1 secure=0 desired=user logonPending=0"), std::string::npos) << log;
    EXPECT_NE(
        log.find("[SESSIONHOST][START] mode=user versionExpected=v20260725.7_TrayContinuousVideoLogCap"),
        std::string::npos);
    EXPECT_NE(log.find("desktop=winsta0\\Default exe="), std::string::npos);

    Signal(kRequestUserHostEventName);
    EXPECT_TRUE(WaitForLog("[SESSIONHOST][REQUEST_ACCEPT] interactive launch request session="))
        << LogSinceStart();
}

TEST_F(SessionHostLoopTest, FreshTrayExitIsPersistedAfterValidation) {
    StartLoop(false);
    ASSERT_TRUE(WaitForLog("[SESSIONHOST][STARTED] mode=user pid=")) << LogSinceStart();
    Signal(kUserHostExitRequestedEventName);
    ASSERT_TRUE(WaitForLog("[SESSIONHOST][USER_EXIT_PENDING] fresh service-launched UI pid="))
        << LogSinceStart();
    std::wstring marker = m_folder + L"ProgramData\\Marlo\\user_host_exit_policy.bin";
    EXPECT_EQ(GetFileAttributesW(marker.c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(WaitForLog("[SESSIONHOST][USER_EXIT_CONFIRMED] pid=")) << LogSinceStart();
    EXPECT_NE(LogSinceStart().find("Windows reboot persisted=1"), std::string::npos) << LogSinceStart();
    EXPECT_EQ(ReadWholeFile(marker).size(), 24u);
}

TEST_F(SessionHostLoopTest, CaptureRequestRunsTheWorkerAndAHungWorkerIsTerminated) {
    StartLoop(false);
    ASSERT_TRUE(WaitForLog("[SESSIONHOST][STARTED] mode=user pid=")) << LogSinceStart();
    SetEnvironmentVariableW(L"STANDIN_HANG", L"1");
    Signal(kSecureCaptureRequestEventName);
    ASSERT_TRUE(WaitForLog("[WORKER][HOST_SECURE_REQUEST] secure=0->1 runningMode=-1 workerPid=0 "
                           "action=start-on-next-pass"))
        << LogSinceStart();
    ASSERT_TRUE(WaitForLog("SYSTEM worker started pid=")) << LogSinceStart();
    std::string log = LogSinceStart();
    EXPECT_NE(log.find("duplicated winlogon SYSTEM token pid="), std::string::npos) << log;
    EXPECT_NE(log.find("starting SYSTEM worker session="), std::string::npos);
    EXPECT_NE(log.find("desktop=winsta0\\Winlogon"), std::string::npos);

    // The Default desktop returns: the worker is asked to stop, ignores it and is ended.
    m_host->OnSessionChange(kWtsSessionUnlock);
    ASSERT_TRUE(WaitForLog("worker stopped exitCode=995")) << LogSinceStart();
    EXPECT_NE(LogSinceStart().find("worker did not stop in 1500ms; terminating probe worker"),
              std::string::npos);
}

TEST_F(SessionHostLoopTest, WorkerStopsOnItsEvent) {
    StartLoop(false);
    ASSERT_TRUE(WaitForLog("[SESSIONHOST][STARTED] mode=user pid=")) << LogSinceStart();
    m_host->OnSessionChange(kWtsSessionLock);
    ASSERT_TRUE(WaitForLog("SYSTEM worker started pid=")) << LogSinceStart();
    m_host->OnSessionChange(kWtsSessionUnlock);
    ASSERT_TRUE(WaitForLog("worker stopped exitCode=0")) << LogSinceStart();
    EXPECT_EQ(LogSinceStart().find("terminating probe worker"), std::string::npos);
}

TEST_F(SessionHostLoopTest, WorkerThatFindsTheDefaultDesktopEndsTheSecurePhase) {
    StartLoop(false);
    ASSERT_TRUE(WaitForLog("[SESSIONHOST][STARTED] mode=user pid=")) << LogSinceStart();
    SetEnvironmentVariableW(L"STANDIN_WORKER_EXIT", L"0xDDE50002");
    m_host->OnSessionChange(kWtsSessionLock);
    ASSERT_TRUE(WaitForLog("worker desktop correction suggested=Default confirmed=Default action=accepted"))
        << LogSinceStart();
    EXPECT_TRUE(WaitUntil([&] { return !m_host->Secure(); }, 1000));
    // The Default desktop needs no worker: none is started again.
    Sleep(2500);
    EXPECT_EQ(CountOf(LogSinceStart(), "SYSTEM worker started pid="), 1u) << LogSinceStart();
}

TEST_F(SessionHostLoopTest, LogoffHandsTheConsoleToAPreloginHost) {
    StartLoop(false);
    ASSERT_TRUE(WaitForLog("[SESSIONHOST][STARTED] mode=user pid=")) << LogSinceStart();
    m_host->OnSessionChange(kWtsSessionLogoff);
    ASSERT_TRUE(WaitForLog("[SESSIONHOST][STOPPED] mode=user pid=")) << LogSinceStart();
    std::string log = LogSinceStart();
    EXPECT_NE(log.find("[SESSIONHOST][HANDOFF] from=user to=prelogin"), std::string::npos) << log;
    EXPECT_NE(log.find("reason=session phase handoff"), std::string::npos);
    EXPECT_NE(log.find("exitCode=995"), std::string::npos);
    ASSERT_TRUE(WaitForLog("[SESSIONHOST][STARTED] mode=prelogin pid=")) << LogSinceStart();

    Signal(kRequestUserHostEventName);
    EXPECT_TRUE(WaitForLog("[SESSIONHOST][REQUEST_REJECT] session=")) << LogSinceStart();
}

TEST_F(SessionHostLoopTest, MissingTessalyIsRetriedAfterThreeSeconds) {
    StartLoop(false, L"Missing\\Tessaly.exe");
    ASSERT_TRUE(WaitForLog("[PRELOGIN][WAIT] Tessaly.exe not found beside probe path=", 2))
        << LogSinceStart();
    std::string log = LogSinceStart();
    EXPECT_NE(log.find("runs\\SessionHost\\Missing\\Tessaly.exe"), std::string::npos) << log;
    EXPECT_EQ(log.find("[SESSIONHOST][START]"), std::string::npos) << log;
}

// The user's "StartWithWindows" under HKCU (HKU\<sid> for the service), restored when the test ends.
class StartupPreferenceValue {
public:
    StartupPreferenceValue() {
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, AsWide(kStartupPreferenceKey).c_str(), 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr);
        m_key.Reset(key);
        DWORD size = sizeof m_saved;
        m_existed = RegQueryValueExW(m_key.Get(), m_value.c_str(), nullptr, &m_savedType, m_saved, &size) ==
                    ERROR_SUCCESS;
        m_savedSize = size;
    }
    ~StartupPreferenceValue() {
        if (m_existed)
            RegSetValueExW(m_key.Get(), m_value.c_str(), 0, m_savedType, m_saved, m_savedSize);
        else
            RegDeleteValueW(m_key.Get(), m_value.c_str());
    }
    bool Set(DWORD type, const void* data, DWORD size) {
        return RegSetValueExW(m_key.Get(), m_value.c_str(), 0, type, static_cast<const BYTE*>(data), size) ==
               ERROR_SUCCESS;
    }

private:
    const std::wstring m_value = AsWide(kStartupPreferenceValue);
    UniqueRegKey m_key;
    bool m_existed = false;
    DWORD m_savedType = 0;
    BYTE m_saved[64] = {};
    DWORD m_savedSize = 0;
};

TEST_F(SessionHostLoopTest, StartWithWindowsOffStartsNoUserHost) {
    StartupPreferenceValue preference;
    DWORD off = 0;
    ASSERT_TRUE(preference.Set(REG_DWORD, &off, sizeof off));
    StartLoop(false);
    ASSERT_TRUE(WaitForLog("[SESSIONHOST][STARTUP_PREF] session=")) << LogSinceStart();
    EXPECT_NE(LogSinceStart().find(" enabled=0 source=HKU\\S-"), std::string::npos) << LogSinceStart();
    EXPECT_NE(LogSinceStart().find("\\Software\\Marlo\\Settings\\StartWithWindows"), std::string::npos);
    Sleep(2500);
    EXPECT_EQ(LogSinceStart().find("[SESSIONHOST][START]"), std::string::npos) << LogSinceStart();
}

TEST_F(SessionHostLoopTest, StartWithWindowsOfAnotherTypeCountsAsEnabled) {
    StartupPreferenceValue preference;
    const wchar_t text[] = L"0";
    ASSERT_TRUE(preference.Set(REG_SZ, text, sizeof text));
    StartLoop(false);
    ASSERT_TRUE(WaitForLog("[SESSIONHOST][STARTED] mode=user pid=")) << LogSinceStart();
    EXPECT_NE(LogSinceStart().find("[SESSIONHOST][STARTUP_PREF][QUERY_INVALID] session=1 rc=0 type=1 size=4; "
                                   "default=enabled"),
              std::string::npos)
        << LogSinceStart();
}

TEST_F(SessionHostLoopTest, AdoptsATessalyStartedByHandOnceItIsThreeSecondsOld) {
    StartLoop(true);
    ProgramRun manual(L"SessionHostManualTessaly", L"winlogon.exe");
    // The copy must be named Tessaly.exe to be found.
    std::wstring manualExe = TestExeFolder() + L"runs\\SessionHostManualTessaly\\Tessaly.exe";
    ASSERT_TRUE(CopyFileW((TestExeFolder() + L"winlogon.exe").c_str(), manualExe.c_str(), FALSE));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + manualExe + L"\"";
    ASSERT_TRUE(CreateProcessW(manualExe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &info));
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    DWORD started = GetTickCount();

    std::string adopted =
        "[SESSIONHOST][ADOPT] existing user Tessaly pid=" + std::to_string(info.dwProcessId);
    ASSERT_TRUE(WaitForLog(adopted)) << LogSinceStart();
    EXPECT_GE(GetTickCount() - started, 2900u);
    EXPECT_TRUE(WaitForLog("[SESSIONHOST][USER_REOPEN] adopted customer-started UI; autoLaunchBlocked=1"));
    EXPECT_EQ(LogSinceStart().find("[SESSIONHOST][STARTED] mode=user"), std::string::npos);
    UniqueHandle ready(OpenEventW(SYNCHRONIZE, FALSE, AsWide(kUserHostReadyEventName).c_str()));
    ASSERT_TRUE(ready);
    EXPECT_EQ(WaitForSingleObject(ready.Get(), 0), WAIT_OBJECT_0);
}

} // namespace
