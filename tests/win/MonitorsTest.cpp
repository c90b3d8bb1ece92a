#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "ClassedTestWindow.h"
#include "LogAssertions.h"
#include "PeExports.h"
#include "TestPaths.h"
#include "TestWait.h"
#include "core/Log.h"
#include "core/EventBus.h"
#include "core/RuntimeState.h"
#include "core/win/TextConvert.h"
#include "input/MonitorThread.h"
#include "input/win/MonitorExports.h"
#include "input/win/CursorPathMonitor.h"
#include "input/win/MouseMonitor.h"

namespace {

const char* const kMonitorExports[] = {
    "MouseMonitorDllStart",           "MouseMonitorDllStop",        "MouseMonitorDllGetPosition",
    "MouseMonitorDllGetButtonState",  "ScreenScaleMonitorDllStart", "ScreenScaleMonitorDllStop",
    "ScreenScaleMonitorDllGetState",  "CursorPathMonitorDllStart",  "CursorPathMonitorDllStop",
    "CursorPathMonitorDllRefreshNow", "CursorPathMonitorDllGetPath"};

// An export of this executable, by name, as another program would find it.
template <typename Fn> Fn Export(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(nullptr), name)));
}

std::wstring OwnExePath() {
    wchar_t path[MAX_PATH] = {};
    return std::wstring(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
}

std::wstring DesktopDirectoryForTest() {
    wchar_t path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path))
               ? path
               : L"";
}

std::wstring CursorPath() {
    wchar_t buffer[1024] = {};
    CursorPathMonitorDllGetPath(buffer, 1024);
    return buffer;
}

// The monitors are process-wide: every test leaves them stopped, the runtime state reset and the drag off.
class MonitorsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Log::Open());
        RuntimeStateReset();
    }
    void TearDown() override {
        MouseMonitorDllStop();
        ScreenScaleMonitorDllStop();
        CursorPathMonitorDllStop();
        RuntimeStateReset();
    }
};

TEST_F(MonitorsTest, EveryMonitorFunctionIsInTheExportTableAndCallable) {
    const std::vector<std::string> names = PeExportNames(OwnExePath());
    for (const char* name : kMonitorExports) {
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
        EXPECT_NE(GetProcAddress(GetModuleHandleW(nullptr), name), nullptr) << name;
    }
    using GetPosition = bool (*)(MouseMonitorPoint*);
    MouseMonitorPoint point{-1, -1};
    ASSERT_TRUE(SetCursorPos(40, 50));
    ASSERT_TRUE(Export<bool (*)()>("MouseMonitorDllStart")());
    EXPECT_TRUE(Export<GetPosition>("MouseMonitorDllGetPosition")(&point));
    EXPECT_EQ(point.x, 40) << "the first reading is taken as the monitor starts";
    EXPECT_EQ(point.y, 50);
    Export<void (*)()>("MouseMonitorDllStop")();
}

TEST_F(MonitorsTest, NullPointersAndATooSmallBufferGetTheirAnswers) {
    EXPECT_FALSE(MouseMonitorDllGetPosition(nullptr));
    EXPECT_TRUE(MouseMonitorDllGetButtonState(nullptr, nullptr, nullptr));
    uint8_t left = 7, middle = 7;
    EXPECT_TRUE(MouseMonitorDllGetButtonState(&left, nullptr, &middle));
    EXPECT_LE(left, 1);
    EXPECT_LE(middle, 1);
    EXPECT_TRUE(ScreenScaleMonitorDllGetState(nullptr, nullptr, nullptr, nullptr, nullptr));
    uint32_t dpi = 0;
    EXPECT_TRUE(ScreenScaleMonitorDllGetState(nullptr, nullptr, &dpi, nullptr, nullptr));
    EXPECT_GE(dpi, 1u);

    wchar_t buffer[4] = {L'x', L'x', L'x', L'x'};
    EXPECT_FALSE(CursorPathMonitorDllGetPath(nullptr, 16));
    EXPECT_FALSE(CursorPathMonitorDllGetPath(buffer, 0));
    EXPECT_EQ(buffer[0], L'x');
}

TEST_F(MonitorsTest, MouseMonitorFollowsTheCursorIntoItsValuesAndTheRuntimeState) {
    EventBus events;
    std::atomic<int> notices{0};
    events.Subscribe(1, [&](const TslyEvent&) { ++notices; });
    const RuntimeBindings previous = RuntimeBind(RuntimeBindings{&events, nullptr, nullptr});
    ASSERT_TRUE(SetCursorPos(100, 100));
    ASSERT_TRUE(MouseMonitorDllStart());
    ASSERT_TRUE(SetCursorPos(321, 234));
    MouseMonitorPoint point{};
    EXPECT_TRUE(WaitUntil(
        [&] { return MouseMonitorDllGetPosition(&point) && point.x == 321 && point.y == 234; }, 3000))
        << point.x << "," << point.y;
    EXPECT_TRUE(WaitUntil(
        [] {
            const RuntimeSnapshot snapshot = RuntimeMakeSnapshot();
            return snapshot.mouseX == 321 && snapshot.mouseY == 234;
        },
        3000));
    MouseMonitorDllStop();
    ASSERT_TRUE(WaitUntil([] { return MouseMonitor::Thread().LiveThreads() == 0; }, 3000));
    RuntimeBind(previous);
    EXPECT_GE(notices.load(), 1) << "a new position raises the change notice";
}

TEST_F(MonitorsTest, StartingTwiceOrStoppingAndStartingAtOnceLeavesOnePollingThread) {
    const MonitorThread& thread = MouseMonitor::Thread();
    ASSERT_TRUE(WaitUntil([&] { return thread.LiveThreads() == 0; }, 3000)) << "earlier runs have left";
    ASSERT_TRUE(MouseMonitorDllStart());
    ASSERT_TRUE(MouseMonitorDllStart());
    ASSERT_TRUE(WaitUntil([&] { return thread.LiveThreads() >= 1; }, 3000));
    Sleep(100);
    EXPECT_EQ(thread.LiveThreads(), 1);

    // The old thread is in its 20 ms sleep when the new start comes.
    MouseMonitorDllStop();
    ASSERT_TRUE(MouseMonitorDllStart());
    EXPECT_TRUE(WaitUntil([&] { return thread.LiveThreads() == 1; }, 3000));
    Sleep(200);
    EXPECT_EQ(thread.LiveThreads(), 1);
    EXPECT_TRUE(thread.Running());

    MouseMonitorDllStop();
    EXPECT_TRUE(WaitUntil([&] { return thread.LiveThreads() == 0; }, 3000));
    EXPECT_NE(OwnLog().find("MouseMonitorDllStop wasRunning=1"), std::string::npos);
}

TEST_F(MonitorsTest, ScreenScaleMonitorMeasuresTheScreenUnderTheCursorWithoutAMainWindow) {
    ASSERT_TRUE(ScreenScaleMonitorDllStart());
    const uint32_t width = static_cast<uint32_t>(GetSystemMetrics(SM_CXSCREEN));
    const uint32_t height = static_cast<uint32_t>(GetSystemMetrics(SM_CYSCREEN));
    uint32_t w = 0, h = 0, dpi = 0, dpiScale = 0, uiScale = 0;
    EXPECT_TRUE(WaitUntil(
        [&] {
            return ScreenScaleMonitorDllGetState(&w, &h, &dpi, &dpiScale, &uiScale) && w == width &&
                   h == height;
        },
        3000))
        << w << "x" << h;
    EXPECT_EQ(dpiScale, (dpi * 100 + 48) / 96);
    EXPECT_EQ(uiScale, std::clamp<uint32_t>((height * 100 + 1080) / 2160, 65, 100));
    const RuntimeSnapshot snapshot = RuntimeMakeSnapshot();
    EXPECT_EQ(snapshot.screenWidth, width);
    EXPECT_EQ(snapshot.screenHeight, height);
    EXPECT_EQ(snapshot.dpi, dpi);
    EXPECT_EQ(snapshot.controlUiScalePercent, uiScale);
}

TEST_F(MonitorsTest, RefreshNowOverTheDesktopGivesTheDesktopDirectoryCutToTheBuffer) {
    const std::wstring desktop = DesktopDirectoryForTest();
    ASSERT_GT(desktop.size(), 3u);
    ClassedTestWindow progman(L"Progman", RECT{500, 300, 700, 450});
    ASSERT_NE(progman.Handle(), nullptr);
    ASSERT_TRUE(SetCursorPos(600, 375));

    EXPECT_TRUE(CursorPathMonitorDllRefreshNow());
    EXPECT_EQ(CursorPath(), desktop);
    EXPECT_EQ(RuntimeMakeSnapshot().cursorPath, WideToUtf8(desktop.c_str()));
    EXPECT_NE(OwnLog().find("CursorPathMonitorDllRefreshNow pt=(600,375) path="), std::string::npos);

    wchar_t small[4] = {L'#', L'#', L'#', L'#'};
    EXPECT_TRUE(CursorPathMonitorDllGetPath(small, 3));
    EXPECT_EQ(std::wstring(small), desktop.substr(0, 2));
    EXPECT_EQ(small[3], L'#');
}

TEST_F(MonitorsTest, DuringADragThePathIsTheDesktopAndItEmptiesWhenTheDragEnds) {
    const std::wstring desktop = DesktopDirectoryForTest();
    ClassedTestWindow progman(L"Progman", RECT{500, 300, 700, 450});
    ASSERT_NE(progman.Handle(), nullptr);
    ASSERT_TRUE(SetCursorPos(650, 400));
    CursorPathMonitor::StorePath(L"");
    RuntimeSetLocalDrag(1, true, 10, 0, "C:\\x.txt");
    ASSERT_TRUE(CursorPathMonitorDllStart());
    // The idle poll is 1 s: the first drag poll comes within it. The look-up asks the test window (hit
    // testing), so this thread serves its messages while it waits, as a UI thread would.
    EXPECT_TRUE(WaitUntil(
        [&] {
            ClassedTestWindow::Pump();
            return CursorPath() == desktop;
        },
        5000))
        << CursorPath();
    RuntimeSetLocalDrag(0, false, 0, 0, "");
    EXPECT_TRUE(WaitUntil(
        [] {
            ClassedTestWindow::Pump();
            return CursorPath().empty();
        },
        5000))
        << CursorPath();
    EXPECT_TRUE(RuntimeMakeSnapshot().cursorPath.empty());
}

} // namespace
