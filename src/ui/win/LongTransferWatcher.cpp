#include "ui/win/LongTransferWatcher.h"

#include <atomic>
#include <string>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/ThreadHelpers.h"
#include "ui/LongTransferWatch.h"
#include "ui/SessionRoles.h"
#include "ui/win/MainWindow.h"
#include "ui/win/MainWindowState.h"
#include "ui/win/TransferProgressView.h"

namespace {

constexpr DWORD kWatchIntervalMs = 500;
constexpr char kThreadName[] = "LongTransferWatcher";

std::atomic<bool> g_running{false};
std::atomic<uint32_t> g_delayMs{kLongTransferDelayMinMs};

unsigned long long ULL(uint64_t v) {
    return static_cast<unsigned long long>(v);
}

bool ShouldStop(HWND main) {
    if (!::IsWindow(main))
        return true;
    return main == MainWindowHandle() && MainWindowIsDestroying();
}

void Watch(HWND main) {
    Log::Write("[TRANSFER][LONG][WORKER] start hwnd=%p", static_cast<void*>(main));
    LongTransferWatch watch;
    while (!ShouldStop(main)) {
        bool controller =
            IsThisPcController(RuntimeGetRole(), RuntimeIsClientRunning(), RuntimeIsHostRunning());
        TransferUiSnapshot snapshot = TransferUiSnapshotForMainWindow();
        LongTransferWatchStep step =
            StepLongTransferWatch(watch, controller, snapshot, ::GetTickCount(), g_delayMs.load());
        if (step.startedTracking)
            Log::Write("[TRANSFER][LONG][WORKER][TRACK] id=%llu phase=%d total=%llu", ULL(snapshot.id),
                       int(snapshot.phase), ULL(snapshot.total));
        if (step.post) {
            BOOL ok = ::PostMessageW(main, WM_APP_LONG_TRANSFER_SHOW, static_cast<WPARAM>(snapshot.id),
                                     static_cast<LPARAM>(step.ageMs));
            Log::Write("[TRANSFER][LONG][WORKER][POST] id=%llu ageMs=%lu ok=%d", ULL(snapshot.id),
                       static_cast<unsigned long>(step.ageMs), ok ? 1 : 0);
        }
        ::Sleep(kWatchIntervalMs);
    }
    Log::Write("[TRANSFER][LONG][WORKER] stop");
    g_running.store(false);
}

} // namespace

void StartLongTransferWorker(HWND main, uint32_t delayMs) {
    if (main == nullptr || !::IsWindow(main))
        return;
    g_delayMs.store(ClampLongTransferDelay(delayMs));
    bool idle = false;
    if (!g_running.compare_exchange_strong(idle, true))
        return;
    std::string error;
    if (!StartDetachedWorker(
            kThreadName, [main] { Watch(main); }, &error)) {
        g_running.store(false);
        Log::Write("[TRANSFER][LONG][WORKER] thread create failed: %s", error.c_str());
    }
}

void ShowMainWindowForLongTransfer(HWND main, uint64_t transferId, uint32_t ageMs) {
    if (main == nullptr || !::IsWindow(main))
        return;
    const bool wasVisible = ::IsWindowVisible(main) != FALSE;
    const bool wasIconic = ::IsIconic(main) != FALSE;
    HWND oldForeground = ::GetForegroundWindow();
    ::ShowWindow(main, wasIconic ? SW_RESTORE : wasVisible ? SW_SHOW : SW_SHOWNORMAL);
    if (HWND progress = MainUi().progressWindow; progress != nullptr) {
        PositionTransferProgressWindow(main, progress);
        RefreshTransferProgressWindow(progress);
        Log::Write("[TRANSFER][VIEW] refresh now reason=main-window-restored");
    }
    ::UpdateWindow(main);
    // A background process may not take the foreground on its own: joining the foreground thread's input
    // for the moment of the switch, and a topmost flash, let the window come up above it.
    const UINT keep = SWP_NOMOVE | SWP_NOSIZE;
    ::SetWindowPos(main, HWND_TOPMOST, 0, 0, 0, 0, keep);
    ::BringWindowToTop(main);
    ::SetActiveWindow(main);
    DWORD thisThread = ::GetCurrentThreadId();
    DWORD foregroundThread =
        oldForeground != nullptr ? ::GetWindowThreadProcessId(oldForeground, nullptr) : 0;
    bool attached = foregroundThread != 0 && foregroundThread != thisThread &&
                    ::AttachThreadInput(thisThread, foregroundThread, TRUE) != FALSE;
    ::SetForegroundWindow(main);
    if (attached)
        ::AttachThreadInput(thisThread, foregroundThread, FALSE);
    ::SetWindowPos(main, HWND_NOTOPMOST, 0, 0, 0, 0, keep);
    Log::Write("[TRANSFER][LONG][SHOW] id=%llu ageMs=%lu wasVisible=%d wasIconic=%d oldFg=%p "
               "reason=long-transfer-progress",
               ULL(transferId), static_cast<unsigned long>(ageMs), wasVisible ? 1 : 0, wasIconic ? 1 : 0,
               static_cast<void*>(oldForeground));
}
