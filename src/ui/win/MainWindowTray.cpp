#include <windows.h>

#include "core/CommandBus.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "input/RemoteInputRoute.h"
#include "media/ControllerSessionLive.h"
#include "media/RemoteViewCover.h"
#include "ui/SessionRoles.h"
#include "ui/TrayMenuGate.h"
#include "ui/win/MainWindow.h"
#include "ui/win/MainWindowParts.h"
#include "media/win/RemoteViewRenderer.h"
#include "ui/win/MainWindowState.h"

namespace {

void RequestTrayMenu(HWND window, const char* source) {
    TrayUiFlags& tray = TrayFlags();
    POINT at{};
    if (!::GetCursorPos(&at))
        at = POINT{0, 0};
    uint32_t now = ::GetTickCount();
    switch (DecideTrayMenuRequest(tray, now)) {
    case TrayMenuRequest::IgnoredMenuOpen:
        Log::Write("[TRAY][MENU] request ignored: menu already open source=%s", source);
        return;
    case TrayMenuRequest::Coalesced:
        Log::Write("[TRAY][MENU] request coalesced source=%s pos=%ld,%ld", source, long(at.x), long(at.y));
        return;
    case TrayMenuRequest::Post:
        break;
    }
    tray.menuRequestPending = true;
    tray.menuRequestTick = now;
    tray.menuX = at.x;
    tray.menuY = at.y;
    if (!::PostMessageW(window, WM_APP_SHOW_TRAY_MENU, 0, 0)) {
        tray.menuRequestPending = false;
        Log::Write("[TRAY][MENU] post show failed source=%s gle=%lu", source,
                   static_cast<unsigned long>(::GetLastError()));
        return;
    }
    Log::Write("[TRAY][MENU] request posted source=%s pos=%ld,%ld", source, long(at.x), long(at.y));
}

void AutoHideControlledHost(HWND window, const RuntimeSnapshot& snapshot) {
    MainWindowUi& ui = MainUi();
    if (!ui.autoHide.Update(IsControlledHostState(snapshot)))
        return;
    if (!TrayFlags().iconAdded)
        MainWindowParts().AddTrayIcon(window);
    if (ui.progressWindow != nullptr)
        ::ShowWindow(ui.progressWindow, SW_HIDE);
    RemoteInputRoute().ReleaseRemoteModifiers("AutoHideControlledHostToTray");
    RemoteInputRoute().ClearHookKeyState("AutoHideControlledHostToTray");
    ::ShowWindow(window, SW_HIDE);
    if (RuntimeSetKeyboardActive(false))
        RuntimeNotifyChanged();
    Log::Write("Controlled host auto-hidden to tray by %s", "runtime-state");
}

} // namespace

// Without a live controller session RemoteView shows black: a running renderer is stopped (it presents
// black as it stops), else the GDI cover paints it once.
void SyncBlackView() {
    MainWindowUi& ui = MainUi();
    IRemoteViewCover* cover = RemoteViewCover();
    if (IsControllerSessionLive()) {
        if (cover != nullptr)
            cover->Show(false);
        ui.blackViewPainted.store(false);
        return;
    }
    if (RemoteViewIsRendererReady()) {
        RemoteViewStopRenderer();
        ui.blackViewPainted.store(true);
    } else if (!ui.blackViewPainted.exchange(true) && cover != nullptr) {
        cover->PaintBlack();
    }
}

void MainWindowOnTrayCallback(HWND window, WPARAM wParam, LPARAM lParam) {
    uint32_t event = LOWORD(lParam);
    TrayNotifyAction action = ClassifyTrayNotify(event);
    if (action == TrayNotifyAction::Ignore)
        return;
    const TrayUiFlags& tray = TrayFlags();
    Log::Write("[TRAY][NOTIFY] event=0x%04x wParam=0x%p lParam=0x%p pending=%d open=%d", unsigned(event),
               reinterpret_cast<void*>(wParam), reinterpret_cast<void*>(lParam),
               tray.menuRequestPending ? 1 : 0, tray.menuOpen ? 1 : 0);
    if (action == TrayNotifyAction::Restore)
        MainWindowParts().RestoreFromTray(window);
    else
        RequestTrayMenu(window, "tray-notify");
}

void MainWindowOnShowTrayMenu(HWND window) {
    const TrayUiFlags& tray = TrayFlags();
    MainWindowParts().ShowTrayMenu(window, POINT{tray.menuX, tray.menuY}, "posted-tray-menu");
}

void MainWindowOnTaskbarCreated(HWND window) {
    TrayFlags().iconAdded = false;
    MainWindowParts().AddTrayIcon(window);
}

void MainWindowOnRuntimeState(HWND window) {
    // Cleared first, so that a change made while draining posts again.
    RuntimeClearNotifyPending();
    MainWindowUi& ui = MainUi();
    if (!ui.refreshGate.Admit(IsTrayMenuBusy(TrayFlags()))) {
        ::SetTimer(window, kTimerRuntimeRetry, kRuntimeRefreshRetryMs, nullptr);
        return;
    }
    // A drain that leaves messages queued raises the change notice again, so a backlog keeps moving.
    CommandBus::Instance().Drain();
    HWND control = ControlViewWindow();
    MainWindowParts().SyncControlViewVisibility(control);
    if (control != nullptr)
        ::InvalidateRect(control, nullptr, FALSE);
    RepaintStateView();
    UpdateMainWindowTitle(window);
    SyncBlackView();
    AutoHideControlledHost(window, RuntimeMakeSnapshot());
}

void MainWindowOnRuntimeRetryTimer(HWND window) {
    switch (MainUi().refreshGate.OnRetryTimer(IsTrayMenuBusy(TrayFlags()))) {
    case RuntimeRefreshGate::Retry::KeepWaiting:
        ::SetTimer(window, kTimerRuntimeRetry, kRuntimeRefreshRetryMs, nullptr);
        return;
    case RuntimeRefreshGate::Retry::Stop:
        ::KillTimer(window, kTimerRuntimeRetry);
        return;
    case RuntimeRefreshGate::Retry::StopAndRepost:
        ::KillTimer(window, kTimerRuntimeRetry);
        ::PostMessageW(window, WM_APP_RUNTIME_STATE, 0, 0);
        return;
    }
}
