#include <gtest/gtest.h>

#include <windows.h>
#include <process.h>

#include <regex>
#include <string>
#include <thread>

#include "LogAssertions.h"
#include "TestPaths.h"
#include "core/Log.h"
#include "core/StallScope.h"
#include "core/win/StallThreadEnd.h"
#include "core/win/StallWatchdog.h"

namespace {

// The text from the first begin marker up to the end marker after it; empty when either is missing.
std::string Between(const std::string& text, const std::string& begin, const std::string& end) {
    size_t from = text.find(begin);
    size_t to = from == std::string::npos ? std::string::npos : text.find(end, from);
    return to == std::string::npos ? std::string() : text.substr(from, to - from);
}

TEST(StallWatchdog, ReportsAScopeStillRunningPastItsBudgetWithAnIncidentDump) {
    ASSERT_TRUE(Log::Open());
    StallWatchdog::Start();
    StallWatchdog::Start(); // once only
    DWORD workerId = 0;
    std::thread worker([&workerId] {
        workerId = GetCurrentThreadId();
        StallScope scope("WineStallTest", "Overrun", 50);
        Sleep(600);
    });
    worker.join();
    std::string log = WaitForOwnLog("[STALL][INCIDENT] recent-events end", 5000);
    StallWatchdog::Stop();
    log = WaitForOwnLog("[STALL][WATCHDOG] stop", 5000);
    Log::Close();

    const std::string tid = std::to_string(workerId);
    EXPECT_EQ(CountOf(log, "[STALL][WATCHDOG] start poll=100ms version=20260827.3\r\n"), 1u) << log;
    // One report within the 2000 ms interval, then the slow line when the scope ended.
    EXPECT_EQ(CountOf(log, "[STALL][WATCHDOG] tid="), 1u) << log;
    EXPECT_TRUE(std::regex_search(
        log, std::regex(R"(\[STALL\]\[WATCHDOG\] tid=)" + tid +
                        R"( running=\d+ms threshold=50ms module=WineStallTest op=Overrun\r\n)")))
        << log;
    std::string active = Between(log, "[STALL][INCIDENT] active-threads begin\r\n",
                                 "[STALL][INCIDENT] active-threads end\r\n");
    EXPECT_TRUE(std::regex_search(
        active, std::regex(R"(\[STALL\]\[ACTIVE\] tid=)" + tid +
                           R"( running=\d+ms module=WineStallTest op=Overrun calls=1 slow=0\r\n)")))
        << log;
    std::string events = Between(
        log, "[STALL][INCIDENT] recent-events begin newest=", "[STALL][INCIDENT] recent-events end\r\n");
    EXPECT_TRUE(
        std::regex_search(events, std::regex(R"(\[STALL\]\[EVENT\] age=\d+ms tid=)" + tid +
                                             R"( phase=B module=WineStallTest op=Overrun cost=0ms\r\n)")))
        << log;
    EXPECT_TRUE(std::regex_search(
        log, std::regex(R"(\[STALL\]\[SLOW\] tid=)" + tid +
                        R"( module=WineStallTest op=Overrun cost=\d+ms threshold=50ms\r\n)")))
        << log;
    EXPECT_EQ(CountOf(log, "[STALL][WATCHDOG] stop\r\n"), 1u) << log;
}

// A thread's slot is freed when the thread ends, for every way this program starts threads.
struct SlotSeen {
    int slot = -1;
    uint32_t idWhileRunning = 0;
    DWORD threadId = 0;
};

void EnterScope(SlotSeen& seen) {
    StallScope scope("WineStallTest", "Release", 1000);
    seen.slot = StallScope::ClaimThreadSlot();
    seen.threadId = GetCurrentThreadId();
    if (seen.slot >= 0)
        seen.idWhileRunning = ProcessStallState().slots[seen.slot].threadId.load();
}

unsigned __stdcall BeginThreadExBody(void* seen) {
    EnterScope(*static_cast<SlotSeen*>(seen));
    return 0;
}

DWORD WINAPI CreateThreadBody(void* seen) {
    EnterScope(*static_cast<SlotSeen*>(seen));
    return 0;
}

TEST(StallScopeSlots, AreFreedWhenTheirThreadEnds) {
    InstallStallThreadEndHook();
    struct Starter {
        const char* name;
        void (*run)(SlotSeen&);
    };
    const Starter starters[] = {
        {"std::thread", [](SlotSeen& seen) { std::thread([&seen] { EnterScope(seen); }).join(); }},
        {"_beginthreadex",
         [](SlotSeen& seen) {
             auto h =
                 reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &BeginThreadExBody, &seen, 0, nullptr));
             ASSERT_NE(h, nullptr);
             WaitForSingleObject(h, INFINITE);
             CloseHandle(h);
         }},
        {"CreateThread",
         [](SlotSeen& seen) {
             HANDLE h = CreateThread(nullptr, 0, &CreateThreadBody, &seen, 0, nullptr);
             ASSERT_NE(h, nullptr);
             WaitForSingleObject(h, INFINITE);
             CloseHandle(h);
         }},
    };
    // Several rounds: thread ids and per-thread runtime data get reused between them.
    for (int round = 0; round < 5; ++round) {
        for (const Starter& s : starters) {
            SlotSeen seen;
            s.run(seen);
            ASSERT_GE(seen.slot, 0) << s.name;
            EXPECT_EQ(seen.idWhileRunning, seen.threadId) << s.name;
            EXPECT_EQ(ProcessStallState().slots[seen.slot].threadId.load(), 0u)
                << s.name << " round " << round << ": slot not freed";
        }
    }
}

} // namespace
