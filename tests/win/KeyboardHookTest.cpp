// Under Wine: the controller's low-level keyboard hook installed in this process, keys injected with
// SendInput into a focused window, and a recording input route standing in for the router. The hook does not
// look at LLKHF_INJECTED, so injected keys take the same path as typed ones.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "RecordingInputRoute.h"
#include "TestWait.h"
#include "core/ConfigService.h"
#include "core/RuntimeState.h"
#include "core/StateManager.h"
#include "core/win/Handles.h"
#include "input/KeyboardHookRules.h"
#include "input/win/KeyboardHook.h"
#include "ui/win/MainWindowParts.h"

namespace {

struct SeenMessage {
    UINT message;
    WPARAM wParam;
};

std::vector<SeenMessage> g_seen; // UI thread only
std::atomic<int> g_hookCalls{0};
HOOKPROC g_hookProc = nullptr; // the procedure the main window installs

LRESULT CALLBACK RecordingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case kWmAppToggleFullscreen:
    case kWmAppToggleStateView:
        g_seen.push_back({message, wParam});
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

// Runs the hook under test and counts its calls, so the typist knows when an event has been decided.
LRESULT CALLBACK CountingHook(int code, WPARAM wParam, LPARAM lParam) {
    LRESULT result = g_hookProc(code, wParam, lParam);
    if (code == HC_ACTION)
        ++g_hookCalls;
    return result;
}

POINT Center(const RECT& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// One scripted action of the typist: a key, or a cursor move.
struct Action {
    enum Kind { Key, Move } kind;
    WORD vk = 0;
    bool up = false;
    POINT to{};
};

Action Down(WORD vk) {
    return {Action::Key, vk, false, {}};
}
Action Up(WORD vk) {
    return {Action::Key, vk, true, {}};
}
Action MoveTo(POINT to) {
    return {Action::Move, 0, false, to};
}

class KeyboardHookTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = RecordingWindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TslyKeyboardHookTest";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        RegisterClassW(&wc);
    }

    void SetUp() override {
        ASSERT_EQ(ConfigService::Instance().GetSnapshot().remoteInputEnable, 1u);
        ASSERT_FALSE(StateManager::Instance().IsHidForced());
        HINSTANCE instance = GetModuleHandleW(nullptr);
        m_main = CreateWindowExW(0, L"TslyKeyboardHookTest", L"hook test", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 100, 100, 500, 400, nullptr, nullptr, instance, nullptr);
        ASSERT_NE(m_main, nullptr);
        m_view = CreateWindowExW(0, L"TslyKeyboardHookTest", L"", WS_CHILD | WS_VISIBLE, 0, 0, 240, 180,
                                 m_main, nullptr, instance, nullptr);
        ASSERT_NE(m_view, nullptr);
        SetForegroundWindow(m_main);
        SetFocus(m_view);
        PumpUntil([] { return false; }, 100);
        ASSERT_EQ(GetFocus(), m_view);

        RuntimeStateReset();
        RuntimeSetMainWindow(reinterpret_cast<RuntimeWindow>(m_main));
        RuntimeSetRemoteViewWindow(reinterpret_cast<RuntimeWindow>(m_view));
        RuntimeSetKeyboardActive(true);
        m_route.tcpReady = true;
        SetRemoteInputRoute(&m_route);

        RECT view{}, main{};
        GetWindowRect(m_view, &view);
        GetWindowRect(m_main, &main);
        m_inside = Center(view);
        m_outside = {main.right - 40, main.bottom - 40}; // the main window, not RemoteView
        ASSERT_TRUE(SetCursorPos(m_inside.x, m_inside.y));
        ASSERT_TRUE(KeyboardHook::IsCursorOverRemoteView());
        ASSERT_TRUE(KeyboardHook::IsRemoteInputScopeActive());

        SetMainWindowParts(nullptr);
        g_hookProc = MainWindowParts().KeyboardHookProc();
        ASSERT_EQ(g_hookProc, &KeyboardHook::LowLevelKeyboardProc) << "the main window installs this hook";
        m_hook.Reset(SetWindowsHookExW(WH_KEYBOARD_LL, CountingHook, instance, 0));
        ASSERT_TRUE(m_hook);
        g_seen.clear();
    }

    void TearDown() override {
        m_hook.Reset();
        KeyboardHook::ClearHookKeyState("test-end");
        SetRemoteInputRoute(nullptr);
        SetMainWindowParts(nullptr);
        RuntimeStateReset();
        DestroyWindow(m_main);
        PumpUntil([] { return false; }, 50);
    }

    // Plays the actions from another thread, each key only once the hook has decided the one before, while
    // this thread pumps the hook's calls and the window's messages.
    void Play(const std::vector<Action>& actions) {
        std::atomic<bool> done{false};
        std::atomic<bool> stalled{false};
        std::thread typist([&] {
            for (const Action& a : actions) {
                if (a.kind == Action::Move) {
                    SetCursorPos(a.to.x, a.to.y);
                    continue;
                }
                const int before = g_hookCalls.load();
                INPUT in{};
                in.type = INPUT_KEYBOARD;
                in.ki.wVk = a.vk;
                in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(a.vk, MAPVK_VK_TO_VSC));
                in.ki.dwFlags = a.up ? KEYEVENTF_KEYUP : 0;
                SendInput(1, &in, sizeof in);
                const DWORD start = GetTickCount();
                while (g_hookCalls.load() == before) {
                    if (GetTickCount() - start > 3000) {
                        stalled = true;
                        done = true;
                        return;
                    }
                    Sleep(2);
                }
            }
            done = true;
        });
        const bool finished = PumpUntil([&] { return done.load(); }, 15000);
        typist.join();
        ASSERT_TRUE(finished);
        ASSERT_FALSE(stalled) << "the hook did not see a key";
        PumpUntil([] { return false; }, 150); // the window messages of passed keys
    }

    // What the window got, as "down 65", "up 65", "0x8412".
    static std::vector<std::string> Seen() {
        std::vector<std::string> out;
        for (const SeenMessage& m : g_seen) {
            if (m.message == kWmAppToggleFullscreen || m.message == kWmAppToggleStateView) {
                char text[16];
                snprintf(text, sizeof text, "0x%04X", m.message);
                out.push_back(text);
            } else {
                const bool down = m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN;
                out.push_back((down ? "down " : "up ") + std::to_string(m.wParam));
            }
        }
        return out;
    }

    RecordingInputRoute m_route;
    HWND m_main = nullptr;
    HWND m_view = nullptr;
    POINT m_inside{}, m_outside{};
    UniqueHook m_hook;
};

TEST_F(KeyboardHookTest, InsideTheScopeKeysGoToThePeerAndNotToTheWindow) {
    Play({Down('A'), Up('A'), Down(VK_LWIN), Up(VK_LWIN)});
    EXPECT_EQ(m_route.Calls(),
              (std::vector<std::string>{"hook 65 down", "hook 65 up", "hook 91 down", "hook 91 up"}));
    EXPECT_TRUE(Seen().empty());
}

TEST_F(KeyboardHookTest, OutsideTheScopeKeysReachTheWindow) {
    Play({MoveTo(m_outside), Down('A'), Up('A')});
    EXPECT_FALSE(KeyboardHook::IsCursorOverRemoteView());
    EXPECT_TRUE(m_route.Calls().empty());
    EXPECT_EQ(Seen(), (std::vector<std::string>{"down 65", "up 65"}));
}

TEST_F(KeyboardHookTest, KeyPressedInsideAndReleasedOutsideIsReleasedOnThePeerOnly) {
    Play({Down('B'), MoveTo(m_outside), Up('B'), Down('C'), Up('C')});
    EXPECT_EQ(m_route.Calls(), (std::vector<std::string>{"hook 66 down", "hook 66 up"}));
    EXPECT_EQ(Seen(), (std::vector<std::string>{"down 67", "up 67"}))
        << "B's up is swallowed; later keys are the window's again";
}

TEST_F(KeyboardHookTest, CtrlAltF11InsideTogglesFullscreenThroughTheMainWindowAndIsNotSent) {
    Play({Down(VK_LCONTROL), Down(VK_LMENU), Down(VK_F11), Up(VK_F11), Up(VK_LMENU), Up(VK_LCONTROL)});
    EXPECT_EQ(m_route.Calls(),
              (std::vector<std::string>{"hook 162 down", "hook 164 down", "hook 164 up", "hook 162 up"}));
    // F11's down was taken for the toggle; its up is not the hook's and reaches the window.
    EXPECT_EQ(Seen(), (std::vector<std::string>{"0x8412", "up 122"}));
}

class FullscreenRecordingParts final : public IMainWindowParts {
public:
    void ToggleFullscreen(HWND, const char* source) override { sources.push_back(source); }
    std::vector<std::string> sources;
};

void Inject(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

TEST_F(KeyboardHookTest, PollTogglesFullscreenOnceForACtrlAltF11HeldAcrossPolls) {
    // Without the hook the keys reach the system, as when the hook missed them, and only the poll sees them.
    m_hook.Reset();
    FullscreenRecordingParts parts;
    SetMainWindowParts(&parts);
    for (WORD vk : {VK_LCONTROL, VK_LMENU, VK_F11})
        Inject(vk, false);
    const bool held = PumpUntil([] { return (GetAsyncKeyState(VK_F11) & 0x8000) != 0; }, 2000);
    for (int i = 0; i < 5 && held; ++i) {
        MainWindowParts().HotkeyPoll(m_main);
        PumpUntil([] { return false; }, 20);
    }
    for (WORD vk : {VK_F11, VK_LMENU, VK_LCONTROL})
        Inject(vk, true);
    PumpUntil([] { return (GetAsyncKeyState(VK_F11) & 0x8000) == 0; }, 2000);
    MainWindowParts().HotkeyPoll(m_main);
    ASSERT_TRUE(held);
    EXPECT_EQ(parts.sources, std::vector<std::string>{"poll Ctrl+Alt+F11"});
}

} // namespace
