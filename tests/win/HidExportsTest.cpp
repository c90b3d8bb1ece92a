#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "PeExports.h"
#include "TestPaths.h"
#include "input/UsbHidLink.h"
#include "input/win/HidDevice.h"

namespace {

const char* const kExportNames[] = {
    "SearchHid",        "SetKBMsg",         "SetMouseMsg",         "SetMouseWheelMsg", "SetSystemKey",
    "SetUSBDiskChange", "SetUSBPORTChange", "SetUSBHardWareReset", "SetUSBKBDefault",  "SetWindosSize"};

using NoArgs = int32_t (*)();
using KeyFn = int32_t (*)(uint32_t, uint32_t);
using MouseFn = int32_t (*)(uint32_t, uint32_t, uint32_t);
using WheelFn = int32_t (*)(uint32_t, uint32_t, uint32_t, int32_t);
using SideFn = int32_t (*)(uint8_t);
using SizeFn = void (*)(uint32_t, uint32_t);

// An export of this executable, by name, as another program would find it.
template <typename Fn> Fn Export(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(nullptr), name)));
}

// One 64-byte report of the simulated cable: report id 0, the frame (hex), zeros.
std::string Report(const char* frameHex) {
    std::string report(1, '\0');
    for (const char* p = frameHex; *p != '\0'; p += (p[2] == ' ' ? 3 : 2))
        report.push_back(static_cast<char>(std::stoi(std::string(p, 2), nullptr, 16)));
    report.resize(64, '\0');
    return report;
}

class HidExportsWine : public ::testing::Test {
protected:
    void SetUp() override {
        // The exports' context is process-wide: each test starts with its handle closed.
        UsbHidLink::CloseHid(GlobalHidContext());
        CreateDirectoryW((TestExeFolder() + L"runs").c_str(), nullptr);
        CreateDirectoryW((TestExeFolder() + L"runs\\hid-exports").c_str(), nullptr);
        m_reports = TestExeFolder() + L"runs\\hid-exports\\reports.bin";
        DeleteFileW(m_reports.c_str());
    }
    void TearDown() override {
        UsbHidLink::CloseHid(GlobalHidContext());
        SetEnvironmentVariableW(L"TSLY_SIM_CABLE_HID", nullptr);
    }
    std::wstring m_reports;
};

TEST_F(HidExportsWine, TheSimulatedCableReceivesEveryExportsReportsByteForByte) {
    ASSERT_TRUE(SetEnvironmentVariableW(L"TSLY_SIM_CABLE_HID", m_reports.c_str()));
    for (const char* name : kExportNames)
        ASSERT_NE(GetProcAddress(GetModuleHandleW(nullptr), name), nullptr) << name;

    EXPECT_EQ(Export<NoArgs>("SearchHid")(), 1);
    EXPECT_EQ(Export<KeyFn>("SetKBMsg")('A', 0x100), 1); // opens: the keyboard reset comes first
    EXPECT_EQ(Export<KeyFn>("SetKBMsg")('A', 0x101), 1);
    EXPECT_EQ(Export<MouseFn>("SetMouseMsg")(0x201, 100, 200), 1);
    EXPECT_EQ(Export<MouseFn>("SetMouseMsg")(0x20A, 100, 200), -1);
    EXPECT_EQ(Export<WheelFn>("SetMouseWheelMsg")(0, 100, 200, 240), 1);
    EXPECT_EQ(Export<NoArgs>("SetSystemKey")(), 1);
    EXPECT_EQ(Export<SideFn>("SetUSBDiskChange")(1), 1);
    EXPECT_EQ(Export<SideFn>("SetUSBPORTChange")(0), 1);
    EXPECT_EQ(Export<NoArgs>("SetUSBKBDefault")(), 1);
    EXPECT_EQ(Export<NoArgs>("SetUSBHardWareReset")(), 1); // the keyboard reset again, buttons cleared
    EXPECT_EQ(Export<MouseFn>("SetMouseMsg")(0x200, 4096, 4096), 1);
    Export<SizeFn>("SetWindosSize")(1920, 1080);
    EXPECT_EQ(GlobalHidContext().windowWidth, 1920);

    const char* const winDown = "55 AA 00 03 0E 57 AB 00 02 08 08 00 00 00 00 00 00 00 14 38";
    const char* const noKey = "55 AA 00 03 0E 57 AB 00 02 08 00 00 00 00 00 00 00 00 0C 28";
    const char* const escDown = "55 AA 00 03 0E 57 AB 00 02 08 00 00 29 00 00 00 00 00 35 7A";
    const std::vector<const char*> frames = {
        winDown,
        noKey,
        escDown,
        noKey, // reset on open
        "55 AA 00 03 0E 57 AB 00 02 08 00 00 04 00 00 00 00 00 10 30",
        noKey,                                                         // A down, up
        "55 AA 00 04 0D 57 AB 00 04 07 02 01 64 00 C8 00 00 3C 88",    // left down at 100,200
        "55 AA 00 04 0D 57 AB 00 04 07 02 01 64 00 C8 00 02 3E 8C",    // wheel 2, left held
        "55 AA 00 03 0E 57 AB 00 02 08 05 00 4C 00 00 00 00 00 5D CA", // Ctrl+Alt+Del
        "55 AA 00 03 0E 57 AB 00 02 08 05 00 00 00 00 00 00 00 11 32", // Del up, Ctrl+Alt held
        noKey,                                                         // all released
        "55 AA 00 01 01 01 02",                                        // disk side 1
        "55 AA 00 02 01 00 02",                                        // port side 0
        "55 AA 00 06 01 01 07",                                        // keyboard default
        "55 AA 00 05 01 01 06",
        winDown,
        noKey,
        escDown,
        noKey,                                                      // hardware reset, then the reset
        "55 AA 00 04 0D 57 AB 00 04 07 02 00 00 10 00 10 00 2F 6E", // move to 4096,4096, no button
    };
    std::string expected;
    for (const char* frame : frames)
        expected += Report(frame);
    const std::string written = ReadWholeFile(m_reports);
    ASSERT_EQ(written.size(), expected.size()) << "64 bytes per report";
    for (size_t i = 0; i < expected.size(); i += 64)
        EXPECT_EQ(written.substr(i, 64), expected.substr(i, 64)) << "report " << i / 64;
}

TEST_F(HidExportsWine, WithoutTheVariableNoCableIsFoundAndNothingIsWritten) {
    SetEnvironmentVariableW(L"TSLY_SIM_CABLE_HID", nullptr);
    EXPECT_EQ(Export<NoArgs>("SearchHid")(), -1);
    EXPECT_EQ(Export<KeyFn>("SetKBMsg")('A', 0x100), -1);
    EXPECT_EQ(Export<NoArgs>("SetUSBKBDefault")(), -1);
    EXPECT_FALSE(UsbHidLink::IsOpen(GlobalHidContext())) << "nothing opened, so no reply wait and no pause";
    EXPECT_EQ(GetFileAttributesW(m_reports.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(HidExportTable, TessalyExeExportsTheTenUndecoratedNames) {
    wchar_t configured[MAX_PATH] = {};
    const std::wstring exe = GetEnvironmentVariableW(L"TSLY_TESSALY_EXE", configured, MAX_PATH) > 0
                                 ? std::wstring(configured)
                                 : TestExeFolder() + L"..\\Tessaly.exe";
    const std::vector<std::string> names = PeExportNames(exe);
    ASSERT_FALSE(names.empty()) << "no export table in Tessaly.exe";
    for (const char* name : kExportNames)
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
}

} // namespace
