#include <windows.h>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/WorkerThread.h"
#include "ui/TrayMenuGate.h"
#include "ui/win/MainWindow.h"
#include "ui/win/MainWindowParts.h"
#include "ui/win/MainWindowState.h"

namespace {

// Lifecycle stop can take seconds (discovery join, the control-stop connect and its fallback). It runs on
// a worker while this thread keeps pumping, so the window stays responsive and the thread's hooks are not
// dropped by Windows for stalling. Past this bound the worker is left to finish on its own.
constexpr DWORD kLifecycleStopWaitMs = 15000;

void StopLifecycleWhilePumping(const char* reason) {
    WorkerThread worker;
    std::string error;
    if (!worker.Start(
            "MainWindowLifecycleStop", [reason](const StopSignal&) { MainWindowStopLifecycle(reason); },
            &error)) {
        Log::Write("MainWindow lifecycle stop worker failed (%s): stopping inline", error.c_str());
        MainWindowStopLifecycle(reason);
        return;
    }
    bool quitSeen = false;
    int quitCode = 0;
    DWORD start = ::GetTickCount();
    while (!worker.WaitEnded(0) && ::GetTickCount() - start < kLifecycleStopWaitMs) {
        ::MsgWaitForMultipleObjectsEx(0, nullptr, 20, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quitSeen = true;
                quitCode = static_cast<int>(msg.wParam);
                continue;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    if (!worker.Stop(0, "MainWindow"))
        Log::Write("MainWindow lifecycle stop still running after %lu ms",
                   static_cast<unsigned long>(kLifecycleStopWaitMs));
    if (quitSeen)
        ::PostQuitMessage(quitCode);
}

void DestroyChild(HWND& child) {
    if (child != nullptr && ::IsWindow(child))
        ::DestroyWindow(child);
    child = nullptr;
}

} // namespace

void MainWindowOnDestroy(HWND window) {
    MainWindowUi& ui = MainUi();
    IMainWindowParts& parts = MainWindowParts();
    parts.EndResize(window, "WM_DESTROY", true);
    for (UINT_PTR id : {kTimerResizeWatchdog, kTimerResizeFinalLayout, kTimerBalloonHide, kTimerRuntimeRetry,
                        kTimerHotkeyPoll})
        ::KillTimer(window, id);
    Log::Write("MainWindow WM_DESTROY");
    ui.destroying.store(true);

    if (uint64_t id = ResetLongTransferTracking(ui.longTransfer))
        Log::Write("[TRANSFER][LONG][RESET] id=%llu reason=%s", static_cast<unsigned long long>(id),
                   "WM_DESTROY");
    ::KillTimer(window, kTimerResizeFinalLayout);
    ::KillTimer(window, kTimerFullscreenHint);
    parts.EndFullscreenHint(window);
    parts.HideTrayBalloon(window);
    if (TrayFlags().iconAdded) {
        parts.RemoveTrayIcon(window);
        TrayFlags().iconAdded = false;
        Log::Write("Tray icon removed");
    }
    parts.StopVirtualScreen();
    UninstallKeyboardGrabHook();
    if (ui.clipboardListening) {
        ::RemoveClipboardFormatListener(window);
        ui.clipboardListening = false;
    }
    ::DragAcceptFiles(window, FALSE);
    // The bus keeps its handlers: with the destroying flag set they post nothing.

    HWND control = ControlViewWindow();
    if (control != nullptr) {
        DestroyChild(control);
        RuntimeSetControlViewWindow(0);
        Log::Write("ControlView destroyed");
    }
    DestroyChild(ui.progressWindow);
    HWND state = StateViewWindow();
    if (state != nullptr) {
        DestroyChild(state);
        RuntimeSetStateViewWindow(0);
        Log::Write("StateView destroyed");
    }
    if (!ui.asyncShutdownDone.load())
        StopLifecycleWhilePumping("WM_DESTROY");
    RuntimeSetRemoteViewWindow(0);
    RuntimeSetMainWindow(0);
    ui.window.store(nullptr);
    ::PostQuitMessage(0);
}
