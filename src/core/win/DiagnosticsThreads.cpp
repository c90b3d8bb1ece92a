#include "core/win/DiagnosticsThreads.h"

#include <atomic>
#include <exception>
#include <thread>

#include "core/Log.h"
#include "core/win/LongRunGuard.h"
#include "core/win/StallWatchdog.h"

namespace {

std::atomic<bool> g_guardStarted{false};
std::atomic<bool> g_guardRunning{false};

void GuardThreadFailed() {
    g_guardRunning.store(false);
    g_guardStarted.store(false);
}

} // namespace

void StartDiagnosticsThreads() {
    bool expected = false;
    if (!g_guardStarted.compare_exchange_strong(expected, true))
        return;
    g_guardRunning.store(true);
    StallWatchdog::Start();
    try {
        std::thread([] { LongRunGuard::RunThread(g_guardRunning); }).detach();
    } catch (const std::exception& e) {
        Log::Write("LongRunGuard thread create failed: %s", e.what());
        GuardThreadFailed();
    } catch (...) {
        Log::Write("LongRunGuard thread create failed: unknown exception");
        GuardThreadFailed();
    }
}

void StopDiagnosticsThreads() {
    g_guardRunning.store(false);
    g_guardStarted.store(false);
    StallWatchdog::Stop();
}
