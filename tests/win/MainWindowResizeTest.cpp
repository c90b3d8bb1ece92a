// Under Wine: the main window in this process with the real resize, fullscreen and DPI handling (the rest of
// its pieces keep their defaults), a stubbed lifecycle, and the mouse and keys injected with SetCursorPos and
// SendInput. The resize category of the log is on in this test process (WinTestMain).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "LogAssertions.h"
#include "TestWait.h"
#include "WindowSnapshot.h"
#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "ui/ResizeHitTest.h"
#include "ui/win/FullscreenWindow.h"
#include "ui/win/MainWindow.h"
#include "ui/win/MainWindowParts.h"
#include "ui/win/MainWindowResize.h"
#include "ui/win/ResizeMainWindowParts.h"
#include "ui/win/StateViewVisibility.h"
#include "ui/win/WindowDpi.h"

namespace {

// The resize section as the program installs it; no hook or hotkey poll takes the shortcuts first.
class ResizeParts final : public ResizeMainWindowParts<> {
public:
    HOOKPROC KeyboardHookProc() override { return nullptr; }
    void HotkeyPoll(HWND) override {}
};

bool StubStart() {
    return true;
}
void StubStop(const char*) {}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

bool LeftDown() {
    return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
}

void SendButton(bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof(input));
}

void SendKey(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(input));
}

RECT WindowRectOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

// A window's class, rectangle and owner, for a failure message.
std::string Describe(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    const RECT r = WindowRectOf(window);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return std::string(name) + " " + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + " own process " +
           (process == GetCurrentProcessId() ? "yes" : "no") + " visible " +
           std::to_string(IsWindowVisible(window));
}

int32_t ClientWidth(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return r.right - r.left;
}

class MainWindowResizeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(Log::Open());
        HINSTANCE instance = GetModuleHandleW(nullptr);
        for (WindowClass c :
             {WindowClass::RemoteView, WindowClass::ControlView, WindowClass::StateView, WindowClass::Main})
            RegisterTessalyWindowClass(instance, c);
        SetMainWindowLifecycle({&StubStart, &StubStop});
        ConfigService::Instance().SetUiLanguageEnglish(true);
    }
    static void TearDownTestSuite() {
        SetMainWindowParts(nullptr);
        SetMainWindowLifecycle({});
    }

    void SetUp() override {
        RuntimeStateReset();
        SetMainWindowParts(&m_parts);
        Log::Flush();
        m_logStart = OwnLog().size();
        ASSERT_TRUE(CreateMainWindow(GetModuleHandleW(nullptr), SW_SHOW).ok);
        m_window = MainWindowHandle();
        ASSERT_NE(m_window, nullptr);
        // A known place and size, larger than the minimum so that a drag can shrink it.
        SetWindowPos(m_window, nullptr, 200, 150, 900, 500, SWP_NOZORDER | SWP_NOACTIVATE);
        PumpFor(50);
    }

    void TearDown() override {
        if (LeftDown()) {
            const RECT r = WindowRectOf(m_window);
            SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
            SendButton(false);
            PumpUntil([] { return !LeftDown(); }, 1000);
        }
        if (m_window != nullptr && IsWindow(m_window))
            DestroyWindow(m_window);
        Pump();
        SetMainWindowParts(nullptr);
        RuntimeStateReset();
    }

    std::string Log() {
        Log::Flush();
        return OwnLogSince(m_logStart);
    }

    // Without RemoteView the main window keeps the keyboard focus and sees the keys itself.
    void FocusMainWindow() {
        HWND view = reinterpret_cast<HWND>(RuntimeGetRemoteViewWindow());
        if (view != nullptr)
            DestroyWindow(view);
        RuntimeSetRemoteViewWindow(0);
        // StateView's visibility outlives the windows of earlier tests; here it would cover the left band.
        if (IsStateViewVisible())
            FlipStateViewVisible();
        // Above whatever earlier tests left on the display, so that the injected input reaches it.
        SetWindowPos(m_window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetForegroundWindow(m_window);
        SetFocus(m_window);
        Pump();
    }

    // Presses the left button in the left border band, just inside the client area: without a window
    // manager Wine draws no frame, and a press on the frame's pixels reaches the desktop instead. RemoteView
    // is gone, so the band's client pixels belong to the main window.
    bool PressLeftBorder(POINT& at) {
        FocusMainWindow();
        POINT client{0, 0};
        ClientToScreen(m_window, &client);
        const RECT r = WindowRectOf(m_window);
        at = {client.x + 2, (r.top + r.bottom) / 2};
        EXPECT_EQ(CustomResizeHitTest(m_window, at), kHitLeft);
        HWND under = WindowFromPoint(at);
        EXPECT_EQ(under, m_window) << Describe(under);
        SetCursorPos(at.x, at.y);
        PumpFor(30);
        SendButton(true);
        return PumpUntil([] { return LeftDown() && MainResizeShared().CustomActive(); }, 2000);
    }

    ResizeParts m_parts;
    HWND m_window = nullptr;
    size_t m_logStart = 0;
};

TEST_F(MainWindowResizeTest, LeftBorderDraggedPastTheRightEdgeStopsAt640WithTheRightEdgeFixed) {
    const RECT before = WindowRectOf(m_window);
    POINT at{};
    ASSERT_TRUE(PressLeftBorder(at)) << Log();
    for (int x = at.x + 100; x <= before.right + 200; x += 100) {
        SetCursorPos(x, at.y);
        PumpFor(40);
    }
    SendButton(false);
    ASSERT_TRUE(PumpUntil([] { return !MainResizeShared().CustomActive(); }, 2000));
    const RECT after = WindowRectOf(m_window);
    EXPECT_EQ(after.right - after.left, 640);
    EXPECT_EQ(after.right, before.right);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.bottom, before.bottom);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_TRUE(PumpUntil([] { return MainResizeShared().LayoutAllowed(); }, 3000)) << "the resize settles";
    EXPECT_NE(Log().find("[RESIZE-CUSTOM] client lbutton start hit=10"), std::string::npos);
}

TEST_F(MainWindowResizeTest, EscapeEndsTheDragAndKeepsTheLastAppliedRectangle) {
    const RECT before = WindowRectOf(m_window);
    POINT at{};
    ASSERT_TRUE(PressLeftBorder(at)) << Log();
    ASSERT_EQ(GetFocus(), m_window);
    SetCursorPos(at.x - 50, at.y);
    ASSERT_TRUE(PumpUntil([&] { return WindowRectOf(m_window).left == before.left - 50; }, 2000));

    SendKey(VK_ESCAPE, false);
    SendKey(VK_ESCAPE, true);
    ASSERT_TRUE(PumpUntil([] { return !MainResizeShared().CustomActive(); }, 2000)) << Log();
    // The button is still held: moving on changes nothing any more.
    SetCursorPos(at.x + 150, at.y);
    PumpFor(150);
    const RECT after = WindowRectOf(m_window);
    EXPECT_EQ(after.left, before.left - 50);
    EXPECT_EQ(after.right, before.right);
    EXPECT_NE(Log().find("[RESIZE-CUSTOM] end reason=WM_KEYDOWN/ESC/custom"), std::string::npos);
}

TEST_F(MainWindowResizeTest, ASizeDuringAResizeIsLaidOutOnceAfterItEnds) {
    // A system sizing loop as the keyboard drives it: enter, sizing steps with WM_SIZE, exit.
    SendMessageW(m_window, WM_ENTERSIZEMOVE, 0, 0);
    for (int width : {880, 860, 840}) {
        RECT sizing = WindowRectOf(m_window);
        sizing.right = sizing.left + width;
        SendMessageW(m_window, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&sizing));
        SetWindowPos(m_window, nullptr, 0, 0, width, 500, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    PumpFor(300);
    EXPECT_EQ(CountOf(Log(), "[RESIZE-SM] apply final LayoutChildren"), 0u) << "nothing while it runs";
    HWND view = reinterpret_cast<HWND>(RuntimeGetRemoteViewWindow());
    ASSERT_NE(view, nullptr);
    EXPECT_NE(ClientWidth(view), ClientWidth(m_window)) << "RemoteView keeps its size while the resize runs";

    SendMessageW(m_window, WM_EXITSIZEMOVE, 0, 0);
    ASSERT_TRUE(
        PumpUntil([&] { return CountOf(Log(), "[RESIZE-SM] apply final LayoutChildren") >= 1; }, 3000));
    PumpFor(400);
    const std::string log = Log();
    EXPECT_EQ(CountOf(log, "[RESIZE-SM] apply final LayoutChildren"), 1u) << log;
    EXPECT_EQ(CountOf(log, "[RESIZE-SM][SYS-WATCHDOG] start"), 0u) << "keyboard sizing is not rescued";
    EXPECT_TRUE(MainResizeShared().LayoutAllowed());
    EXPECT_EQ(ClientWidth(view), ClientWidth(m_window));
}

TEST_F(MainWindowResizeTest, CtrlAltF11GoesFullscreenWithAHintThatGoesAfterItsCountdown) {
    FocusMainWindow();
    ASSERT_EQ(GetFocus(), m_window);
    const RECT before = WindowRectOf(m_window);
    SendKey(VK_CONTROL, false);
    SendKey(VK_MENU, false);
    SendKey(VK_F11, false);
    SendKey(VK_F11, true);
    SendKey(VK_MENU, true);
    SendKey(VK_CONTROL, true);
    ASSERT_TRUE(PumpUntil([&] { return (GetWindowLongW(m_window, GWL_STYLE) & WS_POPUP) != 0; }, 3000))
        << Log();
    const DWORD shown = GetTickCount();
    EXPECT_EQ(GetWindowLongW(m_window, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
    const RECT full = WindowRectOf(m_window);
    EXPECT_EQ(full.right - full.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(full.bottom - full.top, GetSystemMetrics(SM_CYSCREEN));
    HWND hint = FullscreenHintWindow();
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(IsWindowVisible(hint));
    wchar_t text[128] = {};
    GetWindowTextW(hint, text, 128);
    EXPECT_NE(std::wstring(text).find(L"Press Ctrl+Alt+F11 to exit full screen (hint hides in"),
              std::wstring::npos);
    PumpFor(100);
    EXPECT_TRUE(MatchesReference(CaptureScreenRect(full), "main-window-fullscreen-hint"));

    ASSERT_TRUE(PumpUntil([] { return FullscreenHintWindow() == nullptr; }, 8000));
    EXPECT_GE(GetTickCount() - shown, 3500u) << "the hint stays about five seconds";
    EXPECT_FALSE(IsWindow(hint));
    EXPECT_TRUE(IsFullscreen());
    EXPECT_EQ(CountOf(Log(), "Fullscreen enter by WM_KEYDOWN Ctrl+Alt+F11"), 1u);

    // The toggle back restores the frame and the place.
    SendMessageW(m_window, WM_APP_TOGGLE_FULLSCREEN, 0, 0);
    EXPECT_FALSE(IsFullscreen());
    EXPECT_NE(GetWindowLongW(m_window, GWL_STYLE) & WS_CAPTION, 0);
    const RECT restored = WindowRectOf(m_window);
    EXPECT_EQ(restored.left, before.left);
    EXPECT_EQ(restored.right, before.right);
    EXPECT_NE(Log().find("Fullscreen exit by Ctrl+Alt+F11"), std::string::npos);
}

TEST_F(MainWindowResizeTest, TwoTogglesWithin250MsToggleOnce) {
    SendMessageW(m_window, WM_APP_TOGGLE_FULLSCREEN, 0, 0);
    SendMessageW(m_window, WM_APP_TOGGLE_FULLSCREEN, 0, 0);
    EXPECT_TRUE(IsFullscreen());
    EXPECT_EQ(CountOf(Log(), "Fullscreen toggle ignored by debounce source=Ctrl+Alt+F11"), 1u);
    // The window closing ends the hint with it.
    SendMessageW(m_window, WM_CLOSE, 0, 0);
    EXPECT_EQ(FullscreenHintWindow(), nullptr);
}

// The window is black on Xvfb's black root; the fullscreen hint, placed again after the change, is what the
// screen shows of it.
TEST_F(MainWindowResizeTest, ADpiChangeMovesToTheSuggestedRectangleAndPlacesTheHintAgain) {
    SendMessageW(m_window, WM_APP_TOGGLE_FULLSCREEN, 0, 0);
    ASSERT_NE(FullscreenHintWindow(), nullptr);
    RECT suggested{120, 90, 1080, 630};
    SendMessageW(m_window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    const RECT after = WindowRectOf(m_window);
    EXPECT_TRUE(EqualRect(&after, &suggested));
    EXPECT_NE(Log().find("WM_DPICHANGED DPI="), std::string::npos);
    const RECT hint = WindowRectOf(FullscreenHintWindow());
    EXPECT_EQ(hint.left, 120 + 480 - 280) << "centred on the moved window";
    EXPECT_EQ(hint.top, 90 + 28);
    PumpFor(100);
    EXPECT_TRUE(MatchesReference(
        CaptureScreenRect({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}),
        "main-window-dpi-changed"));
}

TEST_F(MainWindowResizeTest, ADpiChangeDuringAResizeIsSetWhenItEnds) {
    SendMessageW(m_window, WM_ENTERSIZEMOVE, 0, 0);
    RECT sizing = WindowRectOf(m_window);
    SendMessageW(m_window, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&sizing));
    RECT suggested{100, 80, 1060, 620};
    SendMessageW(m_window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    RECT during = WindowRectOf(m_window);
    EXPECT_FALSE(EqualRect(&during, &suggested)) << "not while the resize runs";
    EXPECT_NE(Log().find("WM_DPICHANGED/deferred DPI="), std::string::npos);
    SendMessageW(m_window, WM_EXITSIZEMOVE, 0, 0);
    EXPECT_TRUE(PumpUntil(
        [&] {
            RECT now = WindowRectOf(m_window);
            return EqualRect(&now, &suggested) != FALSE;
        },
        3000));
    EXPECT_NE(Log().find("WM_DPICHANGED/applied DPI="), std::string::npos);
}

} // namespace
