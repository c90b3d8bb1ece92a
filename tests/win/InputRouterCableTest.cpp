// Under Wine: the HID worker's actions through the real cable link (HidCableLink.h), over the simulated cable
// of TSLY_SIM_CABLE_HID and without any cable.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "input/HidWorkerCore.h"
#include "input/RemoteInputRoute.h"
#include "input/win/HidCableLink.h"
#include "input/win/InputRouterRoute.h"

namespace {

constexpr size_t kReportBytes = 64; // the simulated cable's output report

class WinClock final : public IHidWorkerClock {
public:
    uint32_t TickMs() override { return GetTickCount(); }
    uint64_t MicrosNow() override { return GetTickCount64() * 1000; }
    void SleepMs(uint32_t ms) override { Sleep(ms); }
};

class InputRouterCableTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryW((TestExeFolder() + L"runs").c_str(), nullptr);
        CreateDirectoryW((TestExeFolder() + L"runs\\input-router").c_str(), nullptr);
        m_reports = TestExeFolder() + L"runs\\input-router\\reports.bin";
        DeleteFileW(m_reports.c_str());
    }
    void TearDown() override { SetEnvironmentVariableW(L"TSLY_SIM_CABLE_HID", nullptr); }

    // The keyboard frames written, as {modifier byte, first key usage}.
    std::vector<std::pair<int, int>> KeyboardReports() {
        const std::string bytes = ReadWholeFile(m_reports);
        std::vector<std::pair<int, int>> keys;
        for (size_t at = 0; at + kReportBytes <= bytes.size(); at += kReportBytes) {
            const unsigned char* report = reinterpret_cast<const unsigned char*>(bytes.data() + at);
            // Report id, then 55 AA 00 03 0E and the inner frame 57 AB 00 02 08 <modifiers> 00 <usage>.
            if (report[1] == 0x55 && report[4] == 0x03)
                keys.emplace_back(report[11], report[13]);
        }
        return keys;
    }

    std::wstring m_reports;
    WinClock m_clock;
};

TEST_F(InputRouterCableTest, WithoutTheCableOpenAndSearchFailFast) {
    SetEnvironmentVariableW(L"TSLY_SIM_CABLE_HID", nullptr);
    const DWORD start = GetTickCount();
    std::unique_ptr<IHidCable> cable = MakeWorkerHidCable();
    EXPECT_EQ(cable->Open(), -1);
    EXPECT_FALSE(cable->IsOpen());
    EXPECT_EQ(SearchGlobalHidContext(), -1);
    EXPECT_LT(GetTickCount() - start, 1000u);
}

TEST_F(InputRouterCableTest, InstallPutsTheRouterBehindTheWindowsRoute) {
    InstallInputRouter();
    EXPECT_EQ(&RemoteInputRoute(), &InputRouterRoute());
    SetRemoteInputRoute(nullptr);
}

TEST_F(InputRouterCableTest, TheWorkersItemsReachTheSimulatedCable) {
    ASSERT_TRUE(SetEnvironmentVariableW(L"TSLY_SIM_CABLE_HID", m_reports.c_str()));
    std::unique_ptr<IHidCable> cable = MakeWorkerHidCable();
    std::vector<bool> opens;
    HidWorkerCore core(*cable, m_clock, [&](bool available, const char*) { opens.push_back(available); });
    core.Enqueue(MakeHidSetModifiersItem(HidModifierMask::kShift));
    core.Enqueue(MakeHidKeyItem(WM_KEYDOWN, 'A'));
    core.Enqueue(MakeHidReleaseModifiersItem());
    while (core.RunOne(0)) {
    }
    EXPECT_EQ(opens, std::vector<bool>{true});
    EXPECT_EQ(core.Counters().sent, 3u);

    const std::vector<std::pair<int, int>> keys = KeyboardReports();
    ASSERT_GE(keys.size(), 3u + 11u) << "the open's keyboard reset, Shift, A and eleven releases";
    const size_t shift = keys.size() - 13;
    EXPECT_EQ(keys[shift], std::make_pair(0x02, 0)) << "Shift down: the modifier byte's Shift bit";
    EXPECT_EQ(keys[shift + 1], std::make_pair(0x02, 4)) << "A with Shift held";
    EXPECT_EQ(keys.back(), std::make_pair(0x00, 0)) << "every modifier released";
}

} // namespace
