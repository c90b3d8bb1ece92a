#include "ui/win/MainWindowParts.h"

#include <atomic>

#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "input/win/KeyboardHook.h"
#include "link/VideoSync.h"
#include "ui/SessionRoles.h"
#include "ui/TrayMenuGate.h"
#include "ui/win/MainWindow.h"
#include "ui/win/MainWindowState.h"
#include "ui/win/StateViewVisibility.h"

namespace {

std::atomic<IMainWindowParts*> g_parts{nullptr};

static_assert(WM_APP_TOGGLE_FULLSCREEN == kWmAppToggleFullscreen &&
                  WM_APP_TOGGLE_STATEVIEW == kWmAppToggleStateView,
              "the hook posts the main window's own toggle messages");

} // namespace

void IMainWindowParts::ShowTrayMenu(HWND main, POINT at, const char* source) {
    (void)main, (void)at, (void)source;
    TrayFlags().menuRequestPending = false;
}

void IMainWindowParts::RestoreFromTray(HWND main) {
    SetLocalVideoVisibility(false);
    ::ShowWindow(main, SW_RESTORE);
    ::ShowWindow(main, SW_SHOW);
    ::SetForegroundWindow(main);
}

void IMainWindowParts::HideMainWindowToTray(HWND main) {
    SetLocalVideoVisibility(true);
    ::ShowWindow(main, SW_HIDE);
}

void IMainWindowParts::LogDpiLine(HWND main, const char* text) {
    (void)main;
    Log::Write("%s", text);
}

void IMainWindowParts::SyncControlViewVisibility(HWND controlView) {
    if (controlView == nullptr)
        return;
    bool show = ControlViewShouldShow(RuntimeGetProgramState());
    if ((::IsWindowVisible(controlView) != FALSE) != show)
        ::ShowWindow(controlView, show ? SW_SHOWNA : SW_HIDE);
}

void IMainWindowParts::LayoutStateView(HWND main, HWND stateView) {
    (void)main;
    if (stateView == nullptr)
        return;
    bool show = IsStateViewVisible();
    if ((::IsWindowVisible(stateView) != FALSE) != show)
        ::ShowWindow(stateView, show ? SW_SHOWNA : SW_HIDE);
}

HOOKPROC IMainWindowParts::KeyboardHookProc() {
    return &KeyboardHook::LowLevelKeyboardProc;
}

void IMainWindowParts::HotkeyPoll(HWND main) {
    KeyboardHook::PollHotkeys(main, {[this, main](const char* source) { ToggleFullscreen(main, source); },
                                     [](const char* source) { MainWindowToggleStateView(source); }});
}

bool IMainWindowParts::IsClipboardServiceEnabled() {
    return ConfigService::Instance().GetSnapshot().clipboardEnable != 0;
}

void IMainWindowParts::SetLocalVideoVisibility(bool hidden) {
    Discovery::SetLocalVideoVisibility(hidden);
}

void SetMainWindowParts(IMainWindowParts* parts) {
    g_parts.store(parts);
}

IMainWindowParts& MainWindowParts() {
    static IMainWindowParts defaults;
    IMainWindowParts* parts = g_parts.load();
    return parts != nullptr ? *parts : defaults;
}
