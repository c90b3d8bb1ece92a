#include "ui/win/TrayWindowVisibility.h"

#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "input/RemoteInputRoute.h"
#include "ui/SessionRoles.h"
#include "ui/win/MainWindowParts.h"
#include "ui/win/MainWindowState.h"

namespace {

void SetKeyboardActive(bool active) {
    if (RuntimeSetKeyboardActive(active))
        RuntimeNotifyChanged();
}

// A transfer still moving when the window goes away brings it back once it has run long enough.
void RearmLongTransfer(IMainWindowParts& parts) {
    if (!IsThisPcController(RuntimeGetRole(), RuntimeIsClientRunning(), RuntimeIsHostRunning()))
        return;
    const TransferUiSnapshot transfer = parts.TransferSnapshot();
    if (!IsTransferMoving(transfer))
        return;
    LongTransferTracking& tracking = MainUi().longTransfer;
    tracking.id = transfer.id;
    tracking.startTick = ::GetTickCount();
    tracking.shown = false;
    parts.StartLongTransferWorker(
        transfer.id,
        ClampLongTransferDelay(ConfigService::Instance().GetSnapshot().longTransferAutoShowDelayMs));
    Log::Write("[TRANSFER][LONG][REARM] id=%llu phase=%d total=%llu reason=main-window-hidden",
               static_cast<unsigned long long>(transfer.id), transfer.phase,
               static_cast<unsigned long long>(transfer.total));
}

} // namespace

void TrayHideMainWindow(HWND main, IMainWindowParts& parts) {
    parts.SetLocalVideoVisibility(true);
    RemoteInputRoute().ReleaseRemoteModifiers("HideMainWindowToTray");
    RemoteInputRoute().ClearHookKeyState("HideMainWindowToTray");
    ::ShowWindow(main, SW_HIDE);
    SetKeyboardActive(false);
    RearmLongTransfer(parts);
    Log::Write("Main window hidden to tray");
}

void TrayRestoreMainWindow(HWND main, IMainWindowParts& parts) {
    parts.SetLocalVideoVisibility(false);
    ::ShowWindow(main, SW_RESTORE);
    ::ShowWindow(main, SW_SHOW);
    if (HWND progress = MainUi().progressWindow) {
        parts.PlaceProgressWindow(main, progress);
        parts.RefreshProgressWindow(progress);
        Log::Write("[TRANSFER][VIEW] refresh now reason=main-window-restored");
    }
    ::SetForegroundWindow(main);
    if (HWND view = RemoteViewWindow())
        ::SetFocus(view);
    SetKeyboardActive(RuntimeIsClientRunning());
    Log::Write("Main window restored from tray");
}
