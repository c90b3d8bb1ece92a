// Wardlet.exe run as a program: the usage text, the capture worker's stop handle and entry, and the
// service's install, update, stop and removal through the Service Control Manager of the test's Wine
// prefix. Every test removes the service it made, also when it fails.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "ProgramRun.h"
#include "TestWait.h"
#include "core/win/Handles.h"
#include "core/win/TextConvert.h"

namespace {

constexpr wchar_t kServiceName[] = L"MarloWardlet";
constexpr wchar_t kWardletLog[] = L"secure_probe.log";
constexpr DWORD kRunMs = 15000;

std::string WithoutCarriageReturns(std::string text) {
    std::erase(text, '\r');
    return text;
}

// The service's current state, or 0 when it cannot be queried.
DWORD ServiceState(SC_HANDLE service) {
    SERVICE_STATUS status = {};
    return QueryServiceStatus(service, &status) ? status.dwCurrentState : 0;
}

// Stops and deletes the service when it exists, waiting (bounded) until it has stopped, so a failed test
// leaves no service behind in the prefix.
void RemoveServiceIfPresent() {
    UniqueServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager)
        return;
    UniqueServiceHandle service(
        OpenServiceW(manager.Get(), kServiceName, SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE));
    if (!service)
        return;
    SERVICE_STATUS status = {};
    ControlService(service.Get(), SERVICE_CONTROL_STOP, &status);
    WaitUntil([&] { return ServiceState(service.Get()) == SERVICE_STOPPED; }, 10000);
    DeleteService(service.Get());
}

UniqueServiceHandle OpenWardletForQuery() {
    UniqueServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager)
        return {};
    return UniqueServiceHandle(OpenServiceW(
        manager.Get(), kServiceName, SERVICE_QUERY_CONFIG | SERVICE_QUERY_STATUS | SERVICE_CHANGE_CONFIG));
}

// The optional configuration at level; empty with error set when it cannot be read.
std::vector<BYTE> QueryConfig2(SC_HANDLE service, DWORD level, DWORD& error) {
    DWORD needed = 0;
    QueryServiceConfig2W(service, level, nullptr, 0, &needed);
    error = GetLastError();
    std::vector<BYTE> buffer(needed);
    if (needed == 0)
        return {};
    if (!QueryServiceConfig2W(service, level, buffer.data(), needed, &needed)) {
        error = GetLastError();
        buffer.clear();
    }
    return buffer;
}

// Checks every setting install makes.
void ExpectInstalledConfiguration(SC_HANDLE service, const std::wstring& exe) {
    DWORD needed = 0;
    QueryServiceConfigW(service, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    ASSERT_GT(needed, 0u);
    ASSERT_TRUE(QueryServiceConfigW(service, reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data()), needed,
                                    &needed));
    const auto* config = reinterpret_cast<const QUERY_SERVICE_CONFIGW*>(buffer.data());
    EXPECT_EQ(std::wstring(config->lpBinaryPathName), L"\"" + exe + L"\" service");
    EXPECT_EQ(config->dwServiceType, static_cast<DWORD>(SERVICE_WIN32_OWN_PROCESS));
    EXPECT_EQ(config->dwStartType, static_cast<DWORD>(SERVICE_AUTO_START));
    EXPECT_EQ(config->dwErrorControl, static_cast<DWORD>(SERVICE_ERROR_NORMAL));
    EXPECT_EQ(WideToUtf8(config->lpServiceStartName), "LocalSystem");
    EXPECT_EQ(WideToUtf8(config->lpDisplayName), "Marlo Wardlet");

    DWORD error = 0;
    std::vector<BYTE> description = QueryConfig2(service, SERVICE_CONFIG_DESCRIPTION, error);
    ASSERT_FALSE(description.empty()) << error;
    EXPECT_EQ(WideToUtf8(reinterpret_cast<const SERVICE_DESCRIPTIONW*>(description.data())->lpDescription),
              "Validates LocalSystem Desktop Duplication capture on Winlogon/lock desktop.");

    std::vector<BYTE> failure = QueryConfig2(service, SERVICE_CONFIG_FAILURE_ACTIONS, error);
    if (failure.empty()) {
        // Wine's SCM accepts failure actions but keeps none and refuses to report them; anything else is a
        // real failure.
        EXPECT_EQ(error, static_cast<DWORD>(ERROR_INVALID_LEVEL));
        return;
    }
    const auto* actions = reinterpret_cast<const SERVICE_FAILURE_ACTIONSW*>(failure.data());
    EXPECT_EQ(actions->dwResetPeriod, 86400u);
    ASSERT_EQ(actions->cActions, 2u);
    EXPECT_EQ(actions->lpsaActions[0].Type, SC_ACTION_RESTART);
    EXPECT_EQ(actions->lpsaActions[0].Delay, 2000u);
    EXPECT_EQ(actions->lpsaActions[1].Type, SC_ACTION_RESTART);
    EXPECT_EQ(actions->lpsaActions[1].Delay, 5000u);
}

class WardletProgram : public ::testing::Test {
protected:
    void SetUp() override { RemoveServiceIfPresent(); }
    void TearDown() override { RemoveServiceIfPresent(); }
};

TEST_F(WardletProgram, UsageForAMissingUnknownOrIncompleteVerb) {
    const std::string usage = "Marlo Wardlet\n"
                              "\n"
                              "  install    Install and start LocalSystem auto-start service\n"
                              "  stop       Stop service\n"
                              "  uninstall  Stop and delete service\n"
                              "  capture    Capture one frame in current process (diagnostic only)\n"
                              "  console    Continuous capture in current process (diagnostic only)\n";
    struct Case {
        const wchar_t* folder;
        const wchar_t* arguments;
    } cases[] = {
        {L"wardlet-usage-none", L""},
        {L"wardlet-usage-unknown", L"start"},
        {L"wardlet-usage-worker-short", L"worker 12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(WideToUtf8(c.arguments));
        ProgramRun wardlet(c.folder, L"Wardlet.exe");
        wardlet.CaptureOutput();
        EXPECT_EQ(wardlet.Run(c.arguments, kRunMs), 2u);
        EXPECT_EQ(WithoutCarriageReturns(wardlet.Output()), usage);
    }
}

TEST_F(WardletProgram, WorkerRefusesAStopHandleItCannotUse) {
    struct Case {
        const wchar_t* folder;
        const wchar_t* arguments;
        const char* line;
    } cases[] = {
        {L"wardlet-worker-text", L"worker x y", "worker received invalid stop handle value=0 error=6"},
        {L"wardlet-worker-zero", L"worker 0 secure", "worker received invalid stop handle value=0 error=6"},
        // The current process's pseudo-handle would pass GetHandleInformation, yet can never be signalled.
        {L"wardlet-worker-pseudo", L"worker 18446744073709551615 secure",
         "worker received invalid stop handle value=18446744073709551615 error=6"},
        {L"wardlet-worker-unknown", L"worker 1234564 default",
         "worker received invalid stop handle value=1234564 error="},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(WideToUtf8(c.arguments));
        ProgramRun wardlet(c.folder, L"Wardlet.exe");
        DeleteFileW((wardlet.Folder() + kWardletLog).c_str());
        EXPECT_EQ(wardlet.Run(c.arguments, kRunMs), 6u);
        std::string log = ReadWholeFile(wardlet.Folder() + kWardletLog);
        EXPECT_NE(log.find(c.line), std::string::npos) << log;
        EXPECT_EQ(log.find("worker entry"), std::string::npos) << log;
    }
}

// The worker runs on the inherited event: set before the start it ends at once, set later it ends then.
TEST_F(WardletProgram, WorkerEndsOnItsInheritedStopEvent) {
    struct Case {
        const wchar_t* folder;
        const wchar_t* mode;
        bool setBeforeStart;
        const char* modeName;
        bool publisherLine;
    } cases[] = {
        {L"wardlet-worker-secure", L"SECURE", true, "secure", true},
        {L"wardlet-worker-default", L"default", false, "default", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.modeName);
        SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
        UniqueHandle stop(CreateEventW(&inheritable, TRUE, c.setBeforeStart, nullptr));
        ASSERT_TRUE(stop);
        ProgramRun wardlet(c.folder, L"Wardlet.exe");
        wardlet.InheritHandles();
        std::wstring logPath = wardlet.Folder() + kWardletLog;
        DeleteFileW(logPath.c_str());
        auto handleValue = reinterpret_cast<uintptr_t>(stop.Get());
        ASSERT_TRUE(wardlet.Start(L"worker " + std::to_wstring(handleValue) + L" " + c.mode));
        if (!c.setBeforeStart) {
            EXPECT_TRUE(WaitUntil(
                [&] { return ReadWholeFile(logPath).find("worker entry") != std::string::npos; }, kRunMs));
            EXPECT_TRUE(wardlet.Running());
            SetEvent(stop.Get());
        }
        EXPECT_EQ(wardlet.WaitExit(kRunMs), 0u);
        std::string log = ReadWholeFile(logPath);
        std::string entry = std::string("worker entry probeVersion=6.23-TrayContinuousVideoLogCap identity=");
        EXPECT_NE(log.find(entry), std::string::npos) << log;
        EXPECT_NE(log.find(std::string(" mode=") + c.modeName + " bmpDiagnostics=0 output="),
                  std::string::npos)
            << log;
        EXPECT_NE(log.find(std::string("secure_probe_") + (c.publisherLine ? "winlogon" : "default") +
                           "_latest.bmp"),
                  std::string::npos)
            << log;
        EXPECT_EQ(log.find("secure shared frame publisher init=1 mapping=Global\\MarloSecureDesktopFrameV2 "
                           "event=Global\\MarloSecureDesktopFrameReadyV2 buffers=2 targetFps=10") !=
                      std::string::npos,
                  c.publisherLine)
            << log;
        EXPECT_NE(log.find("worker exit result=0"), std::string::npos) << log;
    }
}

TEST_F(WardletProgram, WorkerReadsTheBmpSwitchFromItsEnvironment) {
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    UniqueHandle stop(CreateEventW(&inheritable, TRUE, TRUE, nullptr));
    ASSERT_TRUE(stop);
    ProgramRun wardlet(L"wardlet-worker-bmp", L"Wardlet.exe");
    wardlet.InheritHandles();
    std::wstring logPath = wardlet.Folder() + kWardletLog;
    DeleteFileW(logPath.c_str());
    ASSERT_TRUE(SetEnvironmentVariableW(L"MARLO_SECURE_PROBE_WRITE_BMP", L"1-with-more-than-8-characters"));
    bool started =
        wardlet.Start(L"worker " + std::to_wstring(reinterpret_cast<uintptr_t>(stop.Get())) + L" x");
    SetEnvironmentVariableW(L"MARLO_SECURE_PROBE_WRITE_BMP", nullptr);
    ASSERT_TRUE(started);
    EXPECT_EQ(wardlet.WaitExit(kRunMs), 0u);
    std::string log = ReadWholeFile(logPath);
    EXPECT_NE(log.find(" mode=default bmpDiagnostics=1 output="), std::string::npos) << log;
}

// Wine has no desktop duplication (E_NOTIMPL), and the one-frame diagnostic reports its failed set-up
// rather than falling back to GDI.
TEST_F(WardletProgram, CaptureDiagnosticEndsWithTheDuplicationFailure) {
    ProgramRun wardlet(L"wardlet-capture", L"Wardlet.exe");
    EXPECT_EQ(wardlet.Run(L"Capture", kRunMs), 0x80004001u);
}

TEST_F(WardletProgram, ServiceControlWithoutAServiceGivesTheScmError) {
    for (const wchar_t* verb : {L"stop", L"uninstall"}) {
        SCOPED_TRACE(WideToUtf8(verb));
        ProgramRun wardlet(std::wstring(L"wardlet-absent-") + verb, L"Wardlet.exe");
        EXPECT_EQ(wardlet.Run(verb, kRunMs), static_cast<DWORD>(ERROR_SERVICE_DOES_NOT_EXIST));
    }
}

TEST_F(WardletProgram, InstallUpdateStopAndUninstall) {
    ProgramRun wardlet(L"wardlet-service", L"Wardlet.exe");
    wardlet.CaptureOutput();
    std::wstring exe = wardlet.Folder() + L"Wardlet.exe";

    ASSERT_EQ(wardlet.Run(L"INSTALL", kRunMs), 0u);
    std::string output = WithoutCarriageReturns(wardlet.Output());
    EXPECT_EQ(output.rfind("Installed/started MarloWardlet. Output directory: ", 0), 0u) << output;
    EXPECT_NE(output.find("secure_probe.log\n"), std::string::npos) << output;
    UniqueServiceHandle service = OpenWardletForQuery();
    ASSERT_TRUE(service);
    ExpectInstalledConfiguration(service.Get(), exe);
    EXPECT_TRUE(WaitUntil([&] { return ServiceState(service.Get()) == SERVICE_RUNNING; }, kRunMs));

    EXPECT_EQ(wardlet.Run(L"stop", kRunMs), 0u);
    EXPECT_TRUE(WaitUntil([&] { return ServiceState(service.Get()) == SERVICE_STOPPED; }, kRunMs));

    // A service left behind with other settings is brought back to what this executable needs, and started.
    ASSERT_TRUE(ChangeServiceConfigW(service.Get(), SERVICE_NO_CHANGE, SERVICE_DEMAND_START,
                                     SERVICE_NO_CHANGE, L"\"C:\\elsewhere\\Wardlet.exe\" service", nullptr,
                                     nullptr, nullptr, nullptr, nullptr, L"Old Wardlet"));
    wchar_t oldText[] = L"old";
    SERVICE_DESCRIPTIONW oldDescription = {oldText};
    ASSERT_TRUE(ChangeServiceConfig2W(service.Get(), SERVICE_CONFIG_DESCRIPTION, &oldDescription));
    EXPECT_EQ(wardlet.Run(L"install", kRunMs), 0u);
    ExpectInstalledConfiguration(service.Get(), exe);
    EXPECT_TRUE(WaitUntil([&] { return ServiceState(service.Get()) == SERVICE_RUNNING; }, kRunMs));

    // Installing over the running service is still a success.
    EXPECT_EQ(wardlet.Run(L"install", kRunMs), 0u);
    EXPECT_EQ(ServiceState(service.Get()), static_cast<DWORD>(SERVICE_RUNNING));

    EXPECT_EQ(wardlet.Run(L"stop", kRunMs), 0u);
    EXPECT_TRUE(WaitUntil([&] { return ServiceState(service.Get()) == SERVICE_STOPPED; }, kRunMs));
    service = {};

    // Stopping a stopped service fails; uninstall goes on and deletes it.
    EXPECT_EQ(wardlet.Run(L"uninstall", kRunMs), 0u);
    UniqueServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    ASSERT_TRUE(manager);
    UniqueServiceHandle gone(OpenServiceW(manager.Get(), kServiceName, SERVICE_QUERY_STATUS));
    DWORD openError = GetLastError();
    EXPECT_FALSE(gone);
    EXPECT_EQ(openError, static_cast<DWORD>(ERROR_SERVICE_DOES_NOT_EXIST));
}

} // namespace
