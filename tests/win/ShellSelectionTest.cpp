#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ClassedTestWindow.h"
#include "LogAssertions.h"
#include "TestWait.h"
#include "core/Log.h"
#include "core/win/TextConvert.h"
#include "dragdrop/win/ShellSelection.h"

namespace {

std::string Hex(const char* format, HRESULT hr) {
    char text[16] = {};
    std::snprintf(text, sizeof text, format, static_cast<unsigned long>(hr));
    return text;
}

std::wstring DesktopDirectoryForTest() {
    wchar_t path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path))
               ? path
               : L"";
}

// Runs work on a thread of its own that never enters COM, while this thread serves the messages of its test
// windows (the look-ups hit-test them). Creating the shell's open-windows collection then fails, which is
// the failure path under test. The tests never activate the real collection: under Wine its activation
// upsets the input desktop that other tests of this process check.
template <typename Work> void OnThreadWithoutCom(Work work) {
    std::atomic<bool> done{false};
    std::thread worker([&] {
        work();
        done.store(true);
    });
    WaitUntil(
        [&] {
            ClassedTestWindow::Pump();
            return done.load();
        },
        30000);
    worker.join();
}

class ShellSelectionTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Log::Open()); }
};

TEST_F(ShellSelectionTest, WithoutTheShellObjectEveryQueryAnswersEmptyWithItsLogLine) {
    ClassedTestWindow plain(L"TslyPlainTestWindow", RECT{100, 100, 300, 250});
    const POINT point{200, 175};
    HRESULT apartment = S_OK;
    bool selection = true;
    bool desktopSelection = true;
    std::vector<std::wstring> paths = {L"stale"};
    std::wstring explorerFolder = L"unset";
    const size_t logAt = OwnLog().size();
    OnThreadWithoutCom([&] {
        APTTYPE type{};
        APTTYPEQUALIFIER qualifier{};
        apartment = CoGetApartmentType(&type, &qualifier);
        if (apartment != CO_E_NOTINITIALIZED)
            return;
        selection = ShellSelection::GetSelectionAtPoint(point, paths);
        desktopSelection = ShellSelection::GetDesktopSelection(paths);
        explorerFolder = ShellTargetResolver::FindExplorerFolder(point);
    });
    // A multithreaded apartment of another test would let the thread in, and with it the real collection.
    if (apartment != CO_E_NOTINITIALIZED)
        GTEST_SKIP() << "the process holds a multithreaded apartment";

    EXPECT_FALSE(selection);
    EXPECT_TRUE(paths.empty());
    EXPECT_FALSE(desktopSelection);
    EXPECT_TRUE(explorerFolder.empty());
    const std::string log = OwnLogSince(logAt);
    EXPECT_NE(log.find("FileTransfer CoCreateInstance(IShellWindows) failed hr=" +
                       Hex("0x%08X", CO_E_NOTINITIALIZED)),
              std::string::npos)
        << log;
    // The selection's lines are drag-category lines.
    if (Log::IsDebugCategoryEnabled("drag")) {
        EXPECT_TRUE(InOrder(
            log, {"[RDRAG][SEL][ERR] ShellWindows create failed hr=" + Hex("0x%08lx", CO_E_NOTINITIALIZED),
                  "[RDRAG][SEL][DESKTOP][ERR] ShellWindows create failed hr=" +
                      Hex("0x%08lx", CO_E_NOTINITIALIZED)}));
    }
}

TEST_F(ShellSelectionTest, SelectedPathsFromViewRefusesWhatIsNoShellView) {
    std::vector<std::wstring> paths = {L"stale"};
    EXPECT_FALSE(ShellSelection::SelectedPathsFromView(nullptr, paths));
    EXPECT_TRUE(paths.empty());
}

struct DesktopCase {
    const wchar_t* topClass;
    const wchar_t* childClass; // under the point when set
    bool desktop;
};

class FolderUnderCursorTest : public ShellSelectionTest, public ::testing::WithParamInterface<DesktopCase> {};

TEST_P(FolderUnderCursorTest, ADesktopWindowUnderTheCursorGivesTheDesktopDirectory) {
    const DesktopCase& c = GetParam();
    const std::wstring desktop = DesktopDirectoryForTest();
    ASSERT_FALSE(desktop.empty());
    ClassedTestWindow top(c.topClass, RECT{400, 200, 700, 500});
    ASSERT_NE(top.Handle(), nullptr);
    HWND child = nullptr;
    if (c.childClass != nullptr) {
        WNDCLASSW childClass{};
        childClass.lpfnWndProc = DefWindowProcW;
        childClass.hInstance = GetModuleHandleW(nullptr);
        childClass.lpszClassName = c.childClass;
        RegisterClassW(&childClass);
        child = CreateWindowExW(0, c.childClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 300, 300, top.Handle(),
                                nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(child, nullptr);
        ClassedTestWindow::Pump();
    }
    ASSERT_TRUE(SetCursorPos(550, 350));
    ASSERT_EQ(GetAncestor(WindowFromPoint(POINT{550, 350}), GA_ROOT), top.Handle());
    const size_t logAt = OwnLog().size();

    std::wstring folder;
    // The Explorer look-up fails without COM; the desktop needs none.
    OnThreadWithoutCom([&] { folder = ShellTargetResolver::FolderUnderCursor(); });
    if (child != nullptr) {
        DestroyWindow(child);
        UnregisterClassW(c.childClass, GetModuleHandleW(nullptr));
    }
    if (c.desktop) {
        EXPECT_EQ(folder, desktop);
        EXPECT_NE(OwnLogSince(logAt).find("FileTransfer target desktop from shell window: " +
                                          WideToUtf8(desktop.c_str())),
                  std::string::npos);
    } else {
        EXPECT_TRUE(folder.empty()) << WideToUtf8(folder.c_str());
    }
}

INSTANTIATE_TEST_SUITE_P(Table, FolderUnderCursorTest,
                         ::testing::Values(DesktopCase{L"Progman", nullptr, true},
                                           DesktopCase{L"WorkerW", nullptr, true},
                                           DesktopCase{L"Progman", L"TslyDesktopItem", true},
                                           DesktopCase{L"TslyDesktopHost", L"SHELLDLL_DefView", true},
                                           DesktopCase{L"TslyPlainTestWindow", nullptr, false}));

// A frame of Explorer's class with a rename box in it, in the foreground with the box focused.
class TextEditGuardTest : public ShellSelectionTest {
protected:
    void SetUp() override {
        ShellSelectionTest::SetUp();
        m_frame = std::make_unique<ClassedTestWindow>(L"CabinetWClass", RECT{200, 150, 600, 450});
        ASSERT_NE(m_frame->Handle(), nullptr);
        m_edit = CreateWindowExW(0, L"Edit", L"name.txt", WS_CHILD | WS_VISIBLE | WS_BORDER, 50, 50, 200, 30,
                                 m_frame->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(m_edit, nullptr);
        BringForward();
    }
    void BringForward() {
        SetForegroundWindow(m_frame->Handle());
        SetFocus(m_edit);
        ASSERT_TRUE(WaitUntil(
            [&] {
                ClassedTestWindow::Pump();
                return GetForegroundWindow() == m_frame->Handle() && GetFocus() == m_edit;
            },
            3000));
    }
    std::unique_ptr<ClassedTestWindow> m_frame;
    HWND m_edit = nullptr;
};

TEST_F(TextEditGuardTest, APointInTheFocusedEditBoxIsTextAndOneBesideItIsNot) {
    RECT edit{};
    ASSERT_TRUE(GetWindowRect(m_edit, &edit));
    const POINT inside{edit.left + 20, edit.top + 10};
    const size_t logAt = OwnLog().size();
    EXPECT_TRUE(ShellSelection::IsTextEditAtPoint(inside, nullptr));
    EXPECT_TRUE(ShellSelection::IsTextEditAtPoint(inside, m_frame->Handle()));
    const POINT outside{edit.left + 20, edit.bottom + 60};
    EXPECT_FALSE(ShellSelection::IsTextEditAtPoint(outside, nullptr));
    // Drag-category lines.
    if (Log::IsDebugCategoryEnabled("drag")) {
        EXPECT_TRUE(
            InOrder(OwnLogSince(logAt), {"[RDRAG][SEL][TEXT_EDIT_GUARD] pt=" + std::to_string(inside.x) +
                                             "," + std::to_string(inside.y) + " reason=focus-point",
                                         "reason=focus-outside"}));
    }
}

TEST_F(TextEditGuardTest, AnotherExpectedShellRootMeansNoText) {
    RECT edit{};
    ASSERT_TRUE(GetWindowRect(m_edit, &edit));
    ClassedTestWindow other(L"TslyOtherRoot", RECT{900, 600, 950, 650});
    BringForward();
    ASSERT_TRUE(ShellSelection::IsTextEditAtPoint(POINT{edit.left + 20, edit.top + 10}, nullptr));
    EXPECT_FALSE(ShellSelection::IsTextEditAtPoint(POINT{edit.left + 20, edit.top + 10}, other.Handle()));
}

} // namespace
