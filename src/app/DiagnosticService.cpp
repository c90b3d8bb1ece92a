#include "app/DiagnosticService.h"

#include <chrono>
#include <exception>
#include <string>
#include <thread>

#include "app/DiagnosticServiceFormat.h"
#include "core/Log.h"
#include "core/StateManager.h"

namespace DiagnosticService {

namespace {

void RunPasses(std::atomic<bool>& running, StateManager& state, const std::function<void()>& sleepOneSecond) {
    LogSnapshot("startup", state);
    uint32_t seconds = 0;
    while (running.load()) {
        sleepOneSecond();
        if (!running.load())
            break;
        ++seconds;
        if (seconds % DiagnosticPeriodSeconds(Log::IsDebugCategoryEnabled("state")) == 0)
            LogSnapshot("periodic", state);
    }
    LogSnapshot("shutdown", state);
}

} // namespace

void LogSnapshot(const char* reason) {
    LogSnapshot(reason, StateManager::Instance());
}

void LogSnapshot(const char* reason, StateManager& state) {
    StateSnapshot snapshot = state.Snapshot();
    // The StateManager logs the route line and its transition when the route changes.
    if (NeedsTcpRouteRestore(snapshot) && state.SetInputRoute(InputRoute::Tcp, "DiagnosticTcpRouteRestore"))
        snapshot = state.Snapshot();

    for (const std::string& line :
         FormatSnapshotLines(snapshot, reason, Log::IsDebugCategoryEnabled("state")))
        Log::Write("%s", line.c_str());
    if (IsSuspiciousState(snapshot))
        Log::Write("%s", FormatSuspiciousStateLine(snapshot).c_str());
}

void ThreadProc(std::atomic<bool>& running) {
    ThreadProc(running, StateManager::Instance(),
               [] { std::this_thread::sleep_for(std::chrono::seconds(1)); });
}

void ThreadProc(std::atomic<bool>& running, StateManager& state,
                const std::function<void()>& sleepOneSecond) {
    Log::Write("[DIAG] DiagnosticService thread start");
    try {
        RunPasses(running, state, sleepOneSecond);
    } catch (const std::exception& e) {
        Log::Write("[THREAD][EXCEPTION] name=DiagnosticService tid=%lu what=%s",
                   static_cast<unsigned long>(Log::CurrentThreadId()), e.what());
    }
    Log::Write("[DIAG] DiagnosticService thread stop");
}

} // namespace DiagnosticService
