#include "core/win/StallWatchdog.h"

#include <windows.h>
#include <process.h>

#include <atomic>
#include <exception>
#include <string>

#include "core/Log.h"
#include "core/StallWatchdogPass.h"
#include "core/win/Handles.h"

namespace {

std::atomic<bool> g_started{false};
std::atomic<bool> g_running{false};

void LogPass() {
    try {
        for (const std::string& line : RunStallWatchdogPass(ProcessStallState(), StallNowMs()))
            Log::Write("%s", line.c_str());
    } catch (const std::exception& e) {
        Log::Write("[STALL][WATCHDOG] pass exception: %s", e.what());
    }
}

unsigned __stdcall WatchdogThread(void*) {
    Log::Write("%s", StallWatchdogStartLine().c_str());
    while (g_running.load()) {
        ::Sleep(kStallWatchdogPollMs);
        if (!g_running.load())
            break;
        LogPass();
    }
    Log::Write("[STALL][WATCHDOG] stop");
    return 0;
}

} // namespace

namespace StallWatchdog {

void Start() {
    bool expected = false;
    if (!g_started.compare_exchange_strong(expected, true))
        return;
    g_running.store(true);
    // Never joined: the handle is released at once.
    UniqueHandle thread(
        reinterpret_cast<HANDLE>(::_beginthreadex(nullptr, 0, &WatchdogThread, nullptr, 0, nullptr)));
    if (!thread) {
        Log::Write("[STALL][WATCHDOG] thread create failed");
        g_running.store(false);
        g_started.store(false);
        return;
    }
}

void Stop() {
    g_running.store(false);
    g_started.store(false);
}

} // namespace StallWatchdog
