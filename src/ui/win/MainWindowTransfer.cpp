#include <windows.h>

#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "ui/LongTransferDecisions.h"
#include "ui/SessionRoles.h"
#include "ui/win/MainWindow.h"
#include "ui/win/MainWindowParts.h"
#include "ui/win/MainWindowState.h"

namespace {

unsigned long long ULL(uint64_t v) {
    return static_cast<unsigned long long>(v);
}

bool IsMainWindowOnTop(HWND window) {
    if (!::IsWindowVisible(window) || ::IsIconic(window))
        return false;
    HWND foreground = ::GetForegroundWindow();
    if (foreground == nullptr)
        return false;
    return foreground == window || ::IsChild(window, foreground) ||
           ::GetAncestor(foreground, GA_ROOT) == window;
}

void RefreshProgressNow() {
    HWND progress = MainUi().progressWindow;
    if (progress == nullptr)
        return;
    MainWindowParts().RefreshProgressWindow(progress);
    Log::Write("[TRANSFER][VIEW] refresh now reason=main-window-restored");
}

} // namespace

void MainWindowOnTransferEvent(HWND window) {
    (void)window;
    MainWindowUi& ui = MainUi();
    IMainWindowParts& parts = MainWindowParts();
    if (ui.progressWindow != nullptr && parts.MarkProgressRefreshPending())
        ::PostMessageW(ui.progressWindow, WM_APP_PROGRESS_RELAYOUT, 0, 0);

    TransferUiSnapshot transfer = parts.TransferSnapshot();
    bool controller = IsThisPcController(RuntimeMakeSnapshot());
    TransferEventOutcome out = OnTransferEvent(ui.longTransfer, controller, transfer, ::GetTickCount());
    if (out.started)
        Log::Write("[TRANSFER][LONG][START] id=%llu phase=%d total=%llu reason=%s", ULL(transfer.id),
                   int(transfer.phase), ULL(transfer.total), "file-transfer-event-ui");
    if (out.arm) {
        uint32_t delay =
            ClampLongTransferDelay(ConfigService::Instance().GetSnapshot().longTransferAutoShowDelayMs);
        Log::Write("[TRANSFER][LONG][WORKER][ARM] id=%llu delayMs=%lu reason=%s", ULL(transfer.id),
                   static_cast<unsigned long>(delay), "file-transfer-event-ui");
        parts.StartLongTransferWorker(transfer.id, delay);
    }
    if (out.resetId != 0)
        Log::Write("[TRANSFER][LONG][RESET] id=%llu reason=%s", ULL(out.resetId), "file-transfer-event-ui");
}

void MainWindowOnLongTransferShow(HWND window, uint64_t id, uint32_t ageMs) {
    MainWindowUi& ui = MainUi();
    IMainWindowParts& parts = MainWindowParts();
    TransferUiSnapshot transfer = parts.TransferSnapshot();
    bool controller = IsThisPcController(RuntimeMakeSnapshot());
    switch (DecideLongTransferShow(ui.longTransfer, controller, transfer, id, IsMainWindowOnTop(window))) {
    case LongShowAction::SkipNotController:
        Log::Write("[TRANSFER][LONG][WORKER][UI_SKIP] reason=not-running postedId=%llu", ULL(id));
        return;
    case LongShowAction::SkipIdChanged:
        Log::Write("[TRANSFER][LONG][WORKER][UI_SKIP] reason=id-changed postedId=%llu currentId=%llu",
                   ULL(id), ULL(transfer.id));
        return;
    case LongShowAction::RefreshOnly:
        RefreshProgressNow();
        Log::Write("[TRANSFER][LONG][WORKER][UI_SKIP] id=%llu ageMs=%lu reason=window-already-top", ULL(id),
                   static_cast<unsigned long>(ageMs));
        return;
    case LongShowAction::BringForward:
        parts.BringForwardForLongTransfer(window, id, ageMs);
        RefreshProgressNow();
        Log::Write("[TRANSFER][LONG][WORKER][UI_SHOW] id=%llu ageMs=%lu", ULL(id),
                   static_cast<unsigned long>(ageMs));
        return;
    }
}
