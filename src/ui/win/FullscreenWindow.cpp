#include "ui/win/FullscreenWindow.h"

#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/Utf.h"
#include "core/win/TextConvert.h"
#include "ui/FullscreenRules.h"
#include "ui/win/MainWindow.h"
#include "ui/win/MainWindowState.h"
#include "ui/win/WindowDpi.h"

namespace {

struct FullscreenState {
    HWND window = nullptr; // the main window while it is fullscreen
    WINDOWPLACEMENT placement{};
    LONG style = 0;
    LONG exStyle = 0;
    FullscreenToggleGate gate;
    HWND hint = nullptr;
    FullscreenHintCountdown countdown;
};

FullscreenState& State() {
    static FullscreenState state;
    return state;
}

bool IsFullscreenWindow(HWND window) {
    HWND current = State().window;
    return current != nullptr && current == window && ::IsWindow(current);
}

std::wstring Wide(const std::string& utf8) {
    return AsWide(Utf8ToUtf16(utf8));
}

void UpdateFullscreenHintText() {
    FullscreenState& s = State();
    if (s.hint == nullptr)
        return;
    const bool english = ConfigService::Instance().IsUiLanguageEnglish();
    ::SetWindowTextW(s.hint, Wide(FullscreenHintCountdownText(english, s.countdown.Seconds())).c_str());
}

void CreateHint(HWND window) {
    FullscreenState& s = State();
    if (s.hint != nullptr && ::IsWindow(s.hint))
        return;
    const bool english = ConfigService::Instance().IsUiLanguageEnglish();
    s.hint =
        ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_LAYERED, L"STATIC",
                          Wide(FullscreenHintBaseText(english)).c_str(),
                          WS_POPUP | WS_BORDER | SS_CENTER | SS_CENTERIMAGE, 0, 0, 0, 0, window, nullptr,
                          reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(window, GWLP_HINSTANCE)), nullptr);
    if (s.hint == nullptr) {
        Log::Write("Fullscreen hint create failed gle=%lu", static_cast<unsigned long>(::GetLastError()));
        return;
    }
    ::SetLayeredWindowAttributes(s.hint, 0, 235, LWA_ALPHA);
    ::SendMessageW(s.hint, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
}

void ShowHint(HWND window) {
    CreateHint(window);
    FullscreenState& s = State();
    if (s.hint == nullptr)
        return;
    s.countdown.Start();
    UpdateFullscreenHintText();
    PositionFullscreenHint(window);
    ::SetTimer(window, kTimerFullscreenHint, 1000, nullptr);
    Log::Write("Fullscreen hint shown seconds=%d", static_cast<int>(FullscreenHintCountdown::kStartSeconds));
}

RECT MonitorRect(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    HMONITOR monitor = ::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (monitor != nullptr && ::GetMonitorInfoW(monitor, &info))
        return info.rcMonitor;
    return RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

void Enter(HWND window, const char* source) {
    FullscreenState& s = State();
    s.placement = WINDOWPLACEMENT{};
    s.placement.length = sizeof s.placement;
    ::GetWindowPlacement(window, &s.placement);
    s.style = ::GetWindowLongW(window, GWL_STYLE);
    s.exStyle = ::GetWindowLongW(window, GWL_EXSTYLE);
    const RECT monitor = MonitorRect(window);
    const WindowStyles styles =
        FullscreenStyles({static_cast<uint32_t>(s.style), static_cast<uint32_t>(s.exStyle)});
    ::SetWindowLongW(window, GWL_STYLE, static_cast<LONG>(styles.style));
    ::SetWindowLongW(window, GWL_EXSTYLE, static_cast<LONG>(styles.exStyle));
    ::SetWindowPos(window, nullptr, monitor.left, monitor.top, monitor.right - monitor.left,
                   monitor.bottom - monitor.top,
                   SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    s.window = window;
    LayoutChildren(window);
    ShowHint(window);
    Log::Write("Fullscreen enter by %s", source);
}

void Leave(HWND window, const char* source) {
    FullscreenState& s = State();
    s.window = nullptr;
    EndFullscreenHint(window);
    ::SetWindowLongW(window, GWL_STYLE, s.style);
    ::SetWindowLongW(window, GWL_EXSTYLE, s.exStyle);
    ::SetWindowPlacement(window, &s.placement);
    ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOACTIVATE |
                       SWP_FRAMECHANGED);
    LayoutChildren(window);
    Log::Write("Fullscreen exit by %s", source);
}

} // namespace

void ToggleFullscreen(HWND window, const char* source) {
    if (source == nullptr)
        source = "Ctrl+Alt+F11";
    if (!State().gate.Admit(::GetTickCount())) {
        Log::Write("Fullscreen toggle ignored by debounce source=%s", source);
        return;
    }
    if (IsFullscreenWindow(window))
        Leave(window, source);
    else
        Enter(window, source);
    if (HWND view = RemoteViewWindow())
        ::SetFocus(view);
}

bool IsFullscreen() {
    HWND window = State().window;
    return window != nullptr && ::IsWindow(window);
}

void PositionFullscreenHint(HWND window) {
    HWND hint = State().hint;
    RECT main{};
    if (hint == nullptr || !::GetWindowRect(window, &main))
        return;
    const WindowRect r =
        FullscreenHintRect(WindowRect{main.left, main.top, main.right, main.bottom}, GetWindowDpi(window));
    ::SetWindowPos(hint, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void OnFullscreenHintTimer(HWND window) {
    FullscreenState& s = State();
    if (s.countdown.Tick()) {
        UpdateFullscreenHintText();
        return;
    }
    EndFullscreenHint(window);
}

void EndFullscreenHint(HWND window) {
    FullscreenState& s = State();
    ::KillTimer(window, kTimerFullscreenHint);
    s.countdown = FullscreenHintCountdown{};
    HWND hint = s.hint;
    s.hint = nullptr;
    if (hint != nullptr && ::IsWindow(hint)) {
        ::ShowWindow(hint, SW_HIDE);
        ::DestroyWindow(hint);
    }
}

HWND FullscreenHintWindow() {
    return State().hint;
}
