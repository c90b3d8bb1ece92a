#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <atomic>
#include <string>
#include <vector>

#include "LogAssertions.h"
#include "ProgramRun.h"
#include "TestPaths.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/Utf.h"
#include "core/win/Handles.h"
#include "core/win/TextConvert.h"
#include "link/BridgeId.h"
#include "link/DevicePresence.h"
#include "link/win/DevicePresenceMonitor.h"
#include "link/win/DevicePresenceScan.h"
#include "link/win/NetDeviceParents.h"
#include "link/win/RndisAdapterWin.h"

namespace {

// Plugs or unplugs the simulated cable in this prefix: the exit code of SimulatedCable.exe.
DWORD Cable(const wchar_t* command) {
    ProgramRun tool(L"simulated-cable", L"SimulatedCable.exe");
    return tool.Run(command, 30000);
}

class CountingReactions final : public IDevicePresenceReactions {
public:
    void SessionDeviceInserted() override { ++inserted; }
    void SessionDeviceRemoved() override { ++removed; }
    std::atomic<int> inserted{0}, removed{0};
};

// Every test starts and ends with the cable unplugged: the prefix is shared with other test runs.
class DevicePresenceWine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Cable(L"remove"), 0u);
        ASSERT_TRUE(Log::Open());
    }
    void TearDown() override {
        EXPECT_EQ(Cable(L"remove"), 0u);
        Log::Close();
    }
};

TEST_F(DevicePresenceWine, TheRegisteredCableIsFoundAndLost) {
    SetupDiCableScanner scanner;
    CountingReactions reactions;
    DevicePresence presence(scanner);
    presence.SetReactions(&reactions);

    EXPECT_FALSE(presence.Refresh("wine-initial"));
    ASSERT_EQ(Cable(L"add"), 0u);
    EXPECT_TRUE(presence.Refresh("wine-add"));
    CableScan scan = scanner.FindDevice();
    EXPECT_TRUE(scan.present);
    // The tool's instance id does not carry the bridge id: the hardware ids (a multi-string) were read.
    EXPECT_EQ(WideToUtf8(AsWide(scan.instanceId).c_str()).rfind("ROOT\\TSLY_SIMULATED_CABLE\\", 0), 0u)
        << WideToUtf8(AsWide(scan.instanceId).c_str());
    EXPECT_FALSE(MatchesBridgeId(scan.instanceId));

    ASSERT_EQ(Cable(L"remove"), 0u);
    EXPECT_FALSE(presence.Refresh("wine-remove"));
    EXPECT_EQ(reactions.inserted, 1);
    EXPECT_EQ(reactions.removed, 1);

    Log::Flush();
    EXPECT_TRUE(
        InOrder(OwnLog(), {"DevicePresence: MISSING reason=wine-initial required=VID_067B&PID_27A5\r\n",
                           "DevicePresence: PRESENT reason=wine-add instance=ROOT\\TSLY_SIMULATED_CABLE\\",
                           "DevicePresence: MISSING reason=wine-remove required=VID_067B&PID_27A5\r\n",
                           "DevicePresence: device removed -> publish WaitingDevice immediately"}));
}

TEST_F(DevicePresenceWine, TheMonitorPollsAndHearsDeviceChangesAndStopsPromptly) {
    // Kept to the end of the process, as the real ones are: a detached monitor thread may outlive the test.
    auto* scanner = new SetupDiCableScanner();
    auto* presence = new DevicePresence(*scanner);
    auto* monitor = new DevicePresenceMonitor(*presence);
    RuntimeStateReset(); // program state IDLE: the present-cable poll is 15 s or more

    ASSERT_TRUE(monitor->Start());
    EXPECT_TRUE(monitor->Start()) << "a second start finds it running";
    EXPECT_TRUE(presence->HasPublished()) << "the start scans first";
    EXPECT_FALSE(presence->IsPresent());
    std::string log = WaitForOwnLog("DevicePresence: monitor thread start mode=", 5000);
    ASSERT_NE(log.find("DevicePresence: monitor thread start mode="), std::string::npos) << log;

    // No arrival message comes: the 1500 ms poll while missing finds the cable.
    ASSERT_EQ(Cable(L"add"), 0u);
    DWORD start = GetTickCount();
    while (!presence->IsPresent() && GetTickCount() - start < 8000)
        Sleep(50);
    EXPECT_TRUE(presence->IsPresent());

    // Present, the poll is 15 s or more: a device-change message to the hidden window makes the rescan.
    ASSERT_EQ(Cable(L"remove"), 0u);
    HWND notify = FindWindowW(L"Tessaly_DevicePresence_Notify", nullptr);
    ASSERT_NE(notify, nullptr);
    EXPECT_TRUE(PostMessageW(notify, WM_DEVICECHANGE, 0x0007 /* DBT_DEVNODES_CHANGED */, 0));
    start = GetTickCount();
    while (presence->IsPresent() && GetTickCount() - start < 3000)
        Sleep(20);
    EXPECT_FALSE(presence->IsPresent());

    start = GetTickCount();
    monitor->Stop();
    EXPECT_LT(GetTickCount() - start, 500u) << "Stop never waits for the thread";
    EXPECT_FALSE(monitor->IsRunning());
    log = WaitForOwnLog("DevicePresence: monitor thread exit", 5000);
    EXPECT_TRUE(InOrder(
        log, {"DevicePresence: monitor thread start mode=",
              "DevicePresence: PRESENT reason=adaptive-fallback instance=ROOT\\TSLY_SIMULATED_CABLE",
              "DevicePresence: MISSING reason=device-change", "DevicePresence: monitor thread exit"}));

    // Stop, Start, Stop while the older thread may still be on its way out: each thread ends by its own
    // event, never by a closed one.
    ASSERT_TRUE(monitor->Start());
    monitor->Stop();
    ASSERT_TRUE(monitor->Start());
    monitor->Stop();
    log = WaitForOwnLog("DevicePresence: monitor thread exit", 5000, 3);
    size_t exits = 0;
    for (size_t at = log.find("monitor thread exit"); at != std::string::npos;
         at = log.find("monitor thread exit", at + 1))
        ++exits;
    EXPECT_EQ(exits, 3u) << log;
    EXPECT_EQ(log.find("monitor wait failed"), std::string::npos) << log;
    EXPECT_EQ(log.find("[THREAD][EXCEPTION]"), std::string::npos) << log;
}

const AdapterRecord* WithAddress(const std::vector<AdapterRecord>& adapters, uint32_t address) {
    for (const AdapterRecord& adapter : adapters)
        for (const AdapterIpv4& ip : adapter.ipv4)
            if (ip.address == address)
                return &adapter;
    return nullptr;
}

// The tests run in a network namespace that has only loopback.
TEST(RndisAdapterWine, TheSimulatedNamePicksTheLoopbackAdapter) {
    std::vector<AdapterRecord> adapters = ListAdapters();
    const AdapterRecord* lo = WithAddress(adapters, 0x7F000001u);
    ASSERT_NE(lo, nullptr) << "no adapter holds 127.0.0.1; adapters: " << adapters.size();
    EXPECT_NE(lo->interfaceIndex, 0u);
    EXPECT_FALSE(lo->description.empty());
    // The key that ties an adapter to its device's PnP parent.
    ASSERT_FALSE(lo->adapterId.empty());
    EXPECT_EQ(lo->adapterId.front(), u'{') << Utf16ToUtf8(lo->adapterId);
    for (const NetDeviceParent& parent : ReadNetDeviceParents()) {
        EXPECT_FALSE(parent.adapterId.empty());
        EXPECT_FALSE(parent.parentIds.empty());
    }

    EXPECT_TRUE(SimulatedCableAdapter().empty()) << "a test run leaves TSLY_SIM_CABLE_ADAPTER unset";
    EXPECT_EQ(SelectCableAdapter(adapters, u""), nullptr) << "no cable adapter here";
    EXPECT_FALSE(FindRndisAdapter().found);
    EXPECT_FALSE(QueryCableNetwork().found);

    RndisAdapterInfo info = FindRndisAdapter(lo->description);
    ASSERT_TRUE(info.found);
    EXPECT_EQ(info.name, lo->friendlyName);
    EXPECT_EQ(info.description, lo->description);
    EXPECT_EQ(info.interfaceIndex, lo->interfaceIndex);
    EXPECT_EQ(info.ipv4, u"127.0.0.1");
    EXPECT_EQ(info.mask, u"255.0.0.0");
    EXPECT_EQ(info.mac, FormatMac(lo->physicalAddress));
    EXPECT_TRUE(IsIpUsedByOtherAdapter(adapters, u"127.0.0.1", 0));
}

size_t CountProcesses(const wchar_t* exeName) {
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return 0;
    size_t count = 0;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry))
        count += _wcsicmp(entry.szExeFile, exeName) == 0;
    return count;
}

TEST(RndisAdapterWine, HiddenRunsReportExitLaunchFailureAndTimeOut) {
    const std::wstring cmd = L"C:\\Windows\\System32\\cmd.exe";
    NetshOutcome exited = RunHiddenProcess(cmd, L"/c exit 3", 10000);
    EXPECT_EQ(exited.kind, NetshOutcome::Kind::Exited);
    EXPECT_EQ(exited.exitCode, 3u);

    NetshOutcome missing = RunHiddenProcess(L"C:\\no-such-folder\\no-such.exe", L"", 1000);
    EXPECT_EQ(missing.kind, NetshOutcome::Kind::LaunchFailed);
    EXPECT_NE(missing.error, 0u);

    // cmd.exe starts a child that would run for 30 s (the driver waits for a main window that never comes):
    // after the wait the whole tree is ended, so nothing is left to act later, and the runner returns without
    // waiting for that end.
    const size_t before = CountProcesses(L"TessalyDriver.exe");
    DWORD start = GetTickCount();
    NetshOutcome late =
        RunHiddenProcess(cmd, L"/c " + TestExeFolder() + L"TessalyDriver.exe wait-window 30000", 1500);
    EXPECT_LT(GetTickCount() - start, 1500u + 1500u);
    EXPECT_EQ(late.kind, NetshOutcome::Kind::TimedOut);
    EXPECT_EQ(late.exitCode, kStillActiveExitCode);
    EXPECT_EQ(late.exitCode, static_cast<uint32_t>(STILL_ACTIVE));
    EXPECT_TRUE(late.terminated);
    EXPECT_EQ(late.waitedMs, 1500u);
    start = GetTickCount();
    while (CountProcesses(L"TessalyDriver.exe") > before && GetTickCount() - start < 5000)
        Sleep(50);
    EXPECT_EQ(CountProcesses(L"TessalyDriver.exe"), before) << "the child of cmd.exe outlived the time-out";
}

} // namespace
