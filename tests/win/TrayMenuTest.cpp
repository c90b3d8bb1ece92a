// Under Wine: the tray menu of a main window that runs on a UI thread of its own, driven like a user would
// drive it: 0x8411 posted as the shell would, entries clicked with SendInput at the places the core layout
// gives, and the registry, the log and the named exit event checked afterwards. The lifecycle is a stub.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "LogAssertions.h"
#include "TestWait.h"
#include "WindowSnapshot.h"
#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/win/Handles.h"
#include "core/win/RegistrySettingsPlatform.h"
#include "ui/TrayMenuGate.h"
#include "ui/TrayMenuModel.h"
#include "ui/TrayPopupLayout.h"
#include "ui/win/MainWindow.h"
#include "ui/win/MainWindowParts.h"
#include "ui/win/MainWindowState.h"
#include "ui/win/TransferProgressView.h"
#include "ui/win/TrayExit.h"
#include "ui/win/TrayIcon.h"
#include "ui/win/TrayMenu.h"
#include "ui/win/TrayNativeMenu.h"
#include "ui/win/TrayPopup.h"
#include "ui/win/TrayStartWithWindows.h"
#include "ui/win/TrayWindowVisibility.h"

namespace {

constexpr DWORD kWaitMs = 5000;
constexpr wchar_t kSettingsKey[] = L"Software\\Marlo\\TrayMenuTest";
constexpr wchar_t kStartupKey[] = L"Software\\Marlo\\Settings";
constexpr UINT kProbeMessage = WM_APP + 91; // answered on the UI thread: what the thread looks like there

// The tray as the program installs it, with a virtual screen that only remembers its mode and no discovery.
class TrayTestParts final : public IMainWindowParts {
public:
    void AddTrayIcon(HWND main) override { TrayAddIcon(main); }
    void RemoveTrayIcon(HWND main) override { TrayRemoveIcon(main); }
    void ShowTrayBalloon(HWND main, const std::wstring& text, uint32_t flags, uint32_t timeoutMs) override {
        TrayShowBalloon(main, text, flags, timeoutMs);
    }
    void HideTrayBalloon(HWND main) override { TrayHideBalloon(main); }
    void ShowTrayMenu(HWND main, POINT at, const char* source) override {
        TrayShowMenu(main, at, source, *this);
    }
    void RestoreFromTray(HWND main) override { TrayRestoreMainWindow(main, *this); }
    void HideMainWindowToTray(HWND main) override { TrayHideMainWindow(main, *this); }
    void QueryStartWithWindows(bool forceReload) override { GetStartWithWindows(forceReload); }
    bool HandleMenuItemMessage(UINT message, LPARAM lParam) override {
        return HandleNativeTrayMenuItem(message, lParam);
    }
    HOOKPROC KeyboardHookProc() override { return nullptr; }
    void HotkeyPoll(HWND) override {}
    // The window registers the progress window's class once per process: with the real procedure, as the
    // program does, so that later suites get a working class.
    WNDPROC ProgressWindowProc() override { return TransferProgressWindowProc(); }
    void SetVirtualScreenMode(int32_t mode) override { virtualScreenMode = mode; }
    int32_t VirtualScreenMode() override { return virtualScreenMode; }
    void SetLocalVideoVisibility(bool) override {}

    std::atomic<int32_t> virtualScreenMode{0};
};

std::atomic<int> g_stops{0};
HANDLE g_releaseStop = nullptr; // the stub stop holds until the test sets it

bool StubStart() {
    return true;
}

void StubStop(const char*) {
    ++g_stops;
    WaitForSingleObject(g_releaseStop, kWaitMs);
}

struct ProbeAnswer {
    bool menuOpen = true;
    bool menuPending = true;
    DPI_AWARENESS_CONTEXT dpiContext = nullptr;
};
ProbeAnswer g_probeAnswer; // written on the UI thread inside a SendMessage the test waits for

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kProbeMessage)
        return DefWindowProcW(window, message, wParam, lParam);
    using GetContextFn = DPI_AWARENESS_CONTEXT(WINAPI*)();
    static const auto getContext = reinterpret_cast<GetContextFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetThreadDpiAwarenessContext")));
    g_probeAnswer.menuOpen = TrayFlags().menuOpen;
    g_probeAnswer.menuPending = TrayFlags().menuRequestPending;
    g_probeAnswer.dpiContext = getContext != nullptr ? getContext() : nullptr;
    return 1;
}

// A thread of its own for the main window and a probe window; it only pumps messages, so the menu's modal
// loop runs there while the test drives it from here. One thread serves the whole suite (as the program's
// one UI thread would); each test makes and destroys its own main window on it.
class UiThread {
public:
    bool Start() {
        m_done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        m_thread = std::thread([this] { Run(); });
        return WaitForSingleObject(m_done, kWaitMs) == WAIT_OBJECT_0;
    }
    void Stop() {
        if (!m_thread.joinable())
            return;
        PostThreadMessageW(m_threadId, kQuit, 0, 0);
        m_thread.join();
        CloseHandle(m_done);
    }
    // Creates the main window on the thread; null when it could not be made.
    HWND CreateMain() {
        m_main = nullptr;
        PostThreadMessageW(m_threadId, kCreateMain, 0, 0);
        WaitForSingleObject(m_done, kWaitMs);
        return m_main;
    }
    // Destroys the main window when it still exists (WM_DESTROY posts a quit the thread swallows).
    void DestroyMain() {
        PostThreadMessageW(m_threadId, kDestroyMain, 0, 0);
        WaitForSingleObject(m_done, 3 * kWaitMs);
    }
    HWND Main() const { return m_main; }
    DWORD ThreadId() const { return m_threadId; }
    ProbeAnswer Probe() {
        SendMessageW(m_probe, kProbeMessage, 0, 0);
        return g_probeAnswer;
    }

private:
    static constexpr UINT kQuit = WM_APP + 92;
    static constexpr UINT kCreateMain = WM_APP + 93;
    static constexpr UINT kDestroyMain = WM_APP + 94;

    void Run() {
        m_threadId = GetCurrentThreadId();
        HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSW wc{};
        wc.lpfnWndProc = ProbeProc;
        wc.hInstance = instance;
        wc.lpszClassName = L"TslyTrayMenuTestProbe";
        RegisterClassW(&wc);
        m_probe = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                                  nullptr);
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE); // the thread's queue exists before Start returns
        SetEvent(m_done);
        for (;;) {
            const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
            if (got == 0)
                continue; // the quit of a destroyed main window
            if (got < 0)
                break;
            if (msg.hwnd == nullptr && msg.message == kQuit)
                break;
            if (msg.hwnd == nullptr && msg.message == kCreateMain) {
                if (CreateMainWindow(instance, SW_SHOW).ok)
                    m_main = MainWindowHandle();
                SetEvent(m_done);
                continue;
            }
            if (msg.hwnd == nullptr && msg.message == kDestroyMain) {
                if (m_main != nullptr && IsWindow(m_main))
                    DestroyWindow(m_main);
                SetEvent(m_done);
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        DestroyWindow(m_probe);
    }

    std::thread m_thread;
    HANDLE m_done = nullptr;
    DWORD m_threadId = 0;
    std::atomic<HWND> m_main{nullptr};
    HWND m_probe = nullptr;
};

struct ThreadWindows {
    std::vector<HWND> found;
};

BOOL CALLBACK CollectPopup(HWND window, LPARAM lParam) {
    wchar_t name[64] = {};
    if (IsWindowVisible(window) && GetClassNameW(window, name, 64) > 0 &&
        std::wstring(name) == kTrayPopupClass)
        reinterpret_cast<ThreadWindows*>(lParam)->found.push_back(window);
    return TRUE;
}

RECT WindowRectOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

void SendMouse(DWORD flags, POINT at) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    in.mi.dx = MulDiv(at.x, 65535, w - 1);
    in.mi.dy = MulDiv(at.y, 65535, h - 1);
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &in, sizeof in);
}

void PressKey(WORD vk) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

std::optional<DWORD> ReadDword(const wchar_t* key, const wchar_t* name) {
    DWORD value = 0, size = sizeof value, type = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY, &type, &value, &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        return std::nullopt;
    return value;
}

class TrayMenuTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(::Log::Open());
        HINSTANCE instance = GetModuleHandleW(nullptr);
        for (WindowClass c :
             {WindowClass::RemoteView, WindowClass::ControlView, WindowClass::StateView, WindowClass::Main})
            RegisterTessalyWindowClass(instance, c);
        // The settings are saved under a key of the tests' own; the start-with-Windows value has its fixed
        // key.
        static RegistrySettingsPlatform platform(kSettingsKey, std::wstring(kSettingsKey) + L"\\Guard");
        ConfigService::Instance().Attach(platform, nullptr);
        g_releaseStop = CreateEventW(nullptr, TRUE, TRUE, nullptr);
        ASSERT_TRUE(s_ui.Start());
    }
    static void TearDownTestSuite() {
        s_ui.Stop();
        RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
        CloseHandle(g_releaseStop);
    }

    void SetUp() override {
        RuntimeStateReset();
        TrayFlags() = TrayUiFlags{};
        ConfigService::Instance().SetUiLanguageEnglish(true);
        SetMainWindowParts(&m_parts);
        SetMainWindowLifecycle({&StubStart, &StubStop});
        m_logStart = OwnLog().size();
        ASSERT_NE(m_ui.CreateMain(), nullptr);
        m_root = LayoutTrayPopup(BuildTrayMenu(TrayMenuInputs{}), {}, 96);
    }

    void TearDown() override {
        if (!Popups().empty())
            PressKey(VK_ESCAPE);
        WaitUntil([&] { return Popups().empty(); }, kWaitMs);
        m_ui.DestroyMain();
        SetMainWindowParts(nullptr);
        SetMainWindowLifecycle({});
        MainUi().asyncShutdownDone.store(false);
        ResetTrayAsyncClose();
        RuntimeStateReset();
    }

    std::string Log() { return OwnLogSince(m_logStart); }
    bool WaitLog(const std::string& text, size_t count = 1) {
        return WaitUntil([&] { return CountOf(Log(), text) >= count; }, kWaitMs);
    }

    std::vector<HWND> Popups() {
        ThreadWindows windows;
        EnumThreadWindows(m_ui.ThreadId(), CollectPopup, reinterpret_cast<LPARAM>(&windows));
        return windows.found;
    }

    // Opens the menu as a right click on the icon does, with the cursor (where it opens) at `at`.
    HWND OpenMenu(POINT at = {300, 120}) {
        SendMouse(0, at);
        WaitUntil(
            [&] {
                POINT p{};
                return GetCursorPos(&p) && std::abs(p.x - at.x) <= 1 && std::abs(p.y - at.y) <= 1;
            },
            kWaitMs);
        PostMessageW(m_ui.Main(), WM_APP_TRAY_CALLBACK, 1, 0x205);
        std::vector<HWND> popups;
        WaitUntil([&] { return (popups = Popups()).size() == 1; }, kWaitMs);
        return popups.size() == 1 ? popups[0] : nullptr;
    }

    // The middle of entry `index` of a popup whose entries are laid out like `layout`.
    static POINT EntryPoint(HWND popup, const TrayPopupLayout& layout, size_t index) {
        const RECT r = WindowRectOf(popup);
        const TrayRect& entry = layout.itemRects[index];
        return {r.left + 60, r.top + (entry.top + entry.bottom) / 2};
    }

    // Hovers submenu header `index` of the root and returns the submenu once it is open.
    HWND OpenSubmenu(HWND root, size_t index) {
        SendMouse(0, EntryPoint(root, m_root, index));
        std::vector<HWND> popups;
        WaitUntil([&] { return (popups = Popups()).size() == 2; }, kWaitMs);
        for (HWND popup : popups)
            if (popup != root)
                return popup;
        return nullptr;
    }

    // The popup as the screen shows it, once it has painted: its background colour just inside the top edge
    // and its last separator in place.
    WindowSnapshot PaintedPopup(HWND popup) {
        WindowSnapshot shot;
        const TrayRect& lastSeparator = m_root.itemRects[13];
        const int32_t separatorY = (lastSeparator.top + lastSeparator.bottom) / 2;
        WaitUntil(
            [&] {
                shot = CaptureWindow(popup);
                return shot.width > 40 && shot.height > separatorY &&
                       shot.Pixel(shot.width / 2, 3) == 0xFAFAFA &&
                       shot.Pixel(shot.width / 2, separatorY) == 0xE2E2E2;
            },
            kWaitMs);
        return shot;
    }

    void Click(POINT at) {
        SendMouse(0, at);
        SendMouse(MOUSEEVENTF_LEFTDOWN, at);
        SendMouse(MOUSEEVENTF_LEFTUP, at);
    }

    // Chooses entry `entry` of the submenu under root entry `header`.
    void ChooseFromSubmenu(size_t header, size_t entry) {
        HWND root = OpenMenu();
        ASSERT_NE(root, nullptr);
        HWND submenu = OpenSubmenu(root, header);
        ASSERT_NE(submenu, nullptr);
        const std::vector<TrayMenuItem> menu = BuildTrayMenu(TrayMenuInputs{});
        Click(EntryPoint(submenu, LayoutTrayPopup(menu[header].children, {}, 96), entry));
        ASSERT_TRUE(WaitUntil([&] { return Popups().empty(); }, kWaitMs));
    }

    static UiThread s_ui;
    TrayTestParts m_parts;
    UiThread& m_ui = s_ui;
    TrayPopupLayout m_root;
    size_t m_logStart = 0;
};

UiThread TrayMenuTest::s_ui;

// Root entries: 0 auto connect, 1 disconnect, 2 separator, 3 virtual screen, 4 quality, 5 file transfer,
// 6 language, 7 start with system, 8 audio, 9 disk, 10 other devices, 11 Ctrl+Alt+Del, 12 reset, 13
// separator, 14 exit.
constexpr size_t kVirtualScreen = 3, kLanguage = 6, kStartup = 7, kCtrlAltDel = 11, kExit = 14;

TEST_F(TrayMenuTest, StartWithSystemOffAndOnAreWrittenToTheSettingsKey) {
    ChooseFromSubmenu(kStartup, 1);
    EXPECT_TRUE(WaitLog("Tray startup set enable=0 ok=1"));
    EXPECT_EQ(ReadDword(kStartupKey, L"StartWithWindows"), std::optional<DWORD>(0));
    EXPECT_TRUE(InOrder(Log(), {"[TRAY][MENU][CUSTOM] popup hwnd=", "[TRAY][MENU] closed cmd=40014",
                                "Tray startup preference set enable=0 result=1 rc=0"}));

    ChooseFromSubmenu(kStartup, 0);
    EXPECT_TRUE(WaitLog("Tray startup set enable=1 ok=1"));
    EXPECT_EQ(ReadDword(kStartupKey, L"StartWithWindows"), std::optional<DWORD>(1));
}

TEST_F(TrayMenuTest, LanguageChoiceIsSavedAndLogged) {
    ChooseFromSubmenu(kLanguage, 0);
    EXPECT_TRUE(WaitLog("Tray language switched to Chinese"));
    EXPECT_FALSE(ConfigService::Instance().IsUiLanguageEnglish());
    EXPECT_EQ(ReadDword(kSettingsKey, L"UiLanguageEnglish"), std::optional<DWORD>(0));
    EXPECT_TRUE(InOrder(Log(), {"[TRAY][MENU] closed cmd=40007",
                                "[CONFIG][SERVICE] uiLanguageEnglish=0 reason=tray language"}));
}

TEST_F(TrayMenuTest, VirtualScreenEdgeIsSwitchedAndItsResultStored) {
    ChooseFromSubmenu(kVirtualScreen, 2);
    EXPECT_TRUE(WaitLog("Tray virtual screen mode=2 saved"));
    EXPECT_EQ(m_parts.virtualScreenMode.load(), 2);
    EXPECT_EQ(ReadDword(kSettingsKey, L"VirtualScreenMode"), std::optional<DWORD>(2));
}

TEST_F(TrayMenuTest, MenuStateAndThreadDpiContextComeBackWhenTheMenuCloses) {
    const ProbeAnswer before = m_ui.Probe();
    HWND root = OpenMenu();
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(m_ui.Probe().menuOpen);
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return Popups().empty(); }, kWaitMs));
    ASSERT_TRUE(WaitLog("[TRAY][MENU] closed cmd=0"));
    const ProbeAnswer after = m_ui.Probe();
    EXPECT_FALSE(after.menuOpen);
    EXPECT_FALSE(after.menuPending);
    EXPECT_EQ(after.dpiContext, before.dpiContext);
}

TEST_F(TrayMenuTest, ClickOutsideClosesWithoutACommand) {
    HWND root = OpenMenu();
    ASSERT_NE(root, nullptr);
    const RECT r = WindowRectOf(root);
    Click({r.right + 300, r.top + 20});
    EXPECT_TRUE(WaitUntil([&] { return Popups().empty(); }, kWaitMs));
    EXPECT_TRUE(WaitLog("[TRAY][MENU] closed cmd=0"));
}

TEST_F(TrayMenuTest, GreyedEntryTakesNoClick) {
    HWND root = OpenMenu();
    ASSERT_NE(root, nullptr);
    Click(EntryPoint(root, m_root, kCtrlAltDel)); // no cable in the test: greyed
    // The click is over; a chosen entry would have closed the menu by the time Escape is handled.
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return Popups().empty(); }, kWaitMs));
    EXPECT_TRUE(WaitLog("[TRAY][MENU] closed cmd=0"));
    EXPECT_EQ(CountOf(Log(), "Tray send Ctrl+Alt+Del"), 0u);
}

TEST_F(TrayMenuTest, ExitSignalsTheServiceAndASecondExitStartsNoSecondShutdown) {
    UniqueHandle exitEvent(CreateEventW(nullptr, TRUE, FALSE, L"Global\\MarloUserHostExitRequested"));
    ASSERT_TRUE(exitEvent.Valid());
    ResetEvent(g_releaseStop); // the first shutdown stays in its stop until the second exit is in
    const int stopsBefore = g_stops.load();

    HWND root = OpenMenu();
    ASSERT_NE(root, nullptr);
    Click(EntryPoint(root, m_root, kExit));
    EXPECT_EQ(WaitForSingleObject(exitEvent.Get(), kWaitMs), WAIT_OBJECT_0);
    ASSERT_TRUE(WaitUntil([&] { return g_stops.load() == stopsBefore + 1; }, kWaitMs));

    ResetEvent(exitEvent.Get());
    root = OpenMenu();
    ASSERT_NE(root, nullptr);
    Click(EntryPoint(root, m_root, kExit));
    EXPECT_EQ(WaitForSingleObject(exitEvent.Get(), kWaitMs), WAIT_OBJECT_0) << "the service hears every exit";
    EXPECT_TRUE(WaitLog("BeginAsyncClose ignored, already closing reason=tray menu exit"));

    SetEvent(g_releaseStop);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(m_ui.Main()); }, kWaitMs)) << "0x8410 destroys the window";
    EXPECT_EQ(g_stops.load(), stopsBefore + 1);
    const std::string log = Log();
    EXPECT_EQ(CountOf(log, "BeginAsyncClose reason=tray menu exit"), 1u);
    EXPECT_EQ(CountOf(log, "[SESSIONHOST][USER_EXIT_EXPLICIT] signaled=1 gle=0 reason=tray menu exit"), 2u);
    EXPECT_TRUE(InOrder(
        log, {"BeginAsyncClose reason=tray menu exit", "MainWindow final destroy after async shutdown"}));
}

TEST_F(TrayMenuTest, ExitWithoutTheServiceSaysSo) {
    HWND root = OpenMenu();
    ASSERT_NE(root, nullptr);
    Click(EntryPoint(root, m_root, kExit));
    EXPECT_TRUE(
        WaitLog("[SESSIONHOST][USER_EXIT_EXPLICIT] service event unavailable gle=2 reason=tray menu exit"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(m_ui.Main()); }, kWaitMs));
}

// The menu as drawn, compared with kept pictures of it.
TEST_F(TrayMenuTest, MenuIsDrawnInEnglish) {
    HWND root = OpenMenu({200, 100});
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(MatchesReference(PaintedPopup(root), "tray-menu-english"));
}

TEST_F(TrayMenuTest, MenuIsDrawnInChinese) {
    ConfigService::Instance().SetUiLanguageEnglish(false);
    HWND root = OpenMenu({200, 100});
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(MatchesReference(PaintedPopup(root), "tray-menu-chinese"));
}

} // namespace
