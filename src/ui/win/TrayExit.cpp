#include "ui/win/TrayExit.h"

#include <atomic>
#include <string>

#include "core/Log.h"
#include "core/ThreadHelpers.h"
#include "core/win/Handles.h"
#include "ui/win/MainWindow.h"
#include "ui/win/MainWindowState.h"

namespace {

constexpr char kExitReason[] = "tray menu exit";

std::atomic<bool> g_closing{false};

void SignalServiceExit() {
    UniqueHandle event(::OpenEventW(EVENT_MODIFY_STATE, FALSE, L"Global\\MarloUserHostExitRequested"));
    if (!event.Valid()) {
        Log::Write("[SESSIONHOST][USER_EXIT_EXPLICIT] service event unavailable gle=%lu reason=%s",
                   static_cast<unsigned long>(::GetLastError()), kExitReason);
        return;
    }
    const bool signaled = ::SetEvent(event.Get()) != FALSE;
    Log::Write("[SESSIONHOST][USER_EXIT_EXPLICIT] signaled=%d gle=%lu reason=%s", signaled ? 1 : 0,
               static_cast<unsigned long>(signaled ? 0 : ::GetLastError()), kExitReason);
}

} // namespace

void TrayExitProgram(HWND main) {
    SignalServiceExit();
    if (g_closing.exchange(true)) {
        Log::Write("BeginAsyncClose ignored, already closing reason=%s", kExitReason);
        return;
    }
    Log::Write("BeginAsyncClose reason=%s", kExitReason);
    std::string error;
    const bool started = StartDetachedWorker(
        "TrayAsyncClose",
        [main] {
            MainWindowStopLifecycle(kExitReason);
            MainWindowMarkAsyncShutdownDone();
            ::PostMessageW(main, WM_APP_FINAL_DESTROY, 0, 0);
        },
        &error);
    if (started)
        return;
    // Without the worker the window's own destruction stops the modules.
    Log::Write("BeginAsyncClose worker create failed: %s", error.c_str());
    ::PostMessageW(main, WM_APP_FINAL_DESTROY, 0, 0);
}

void ResetTrayAsyncClose() {
    g_closing.store(false);
}
