#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>

#include "TestPaths.h"
#include "app/DiagnosticService.h"
#include "core/Log.h"

namespace {

DWORD WINAPI RunDiagnostic(void* param) {
    DiagnosticService::ThreadProc(*static_cast<std::atomic<bool>*>(param));
    return 0;
}

TEST(DiagnosticServiceThread, StopsWithinTheShutdownJoinOnceItsFlagIsCleared) {
    ASSERT_TRUE(Log::Open());
    // Static: a thread that failed to stop must not be left reading a dead local.
    static std::atomic<bool> running;
    running.store(true);
    HANDLE thread = CreateThread(nullptr, 0, RunDiagnostic, &running, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    Sleep(1500);
    EXPECT_EQ(WaitForSingleObject(thread, 0), static_cast<DWORD>(WAIT_TIMEOUT))
        << "ended while still running";

    running.store(false);
    DWORD start = GetTickCount();
    DWORD wait = WaitForSingleObject(thread, 3000);
    DWORD tookMs = GetTickCount() - start;
    CloseHandle(thread);
    Log::Close();

    EXPECT_EQ(wait, static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_LT(tookMs, 3000u);
    std::string log = ReadWholeFile(TestExeFolder() + L"Tessaly.log");
    size_t threadStart = log.find("[DIAG] DiagnosticService thread start");
    size_t first = log.find("[DIAG][SNAPSHOT] reason=startup ", threadStart);
    size_t last = log.find("[DIAG][SNAPSHOT] reason=shutdown ", first);
    size_t stop = log.find("[DIAG] DiagnosticService thread stop", last);
    EXPECT_NE(threadStart, std::string::npos) << log;
    EXPECT_NE(first, std::string::npos) << log;
    EXPECT_NE(last, std::string::npos) << log;
    EXPECT_NE(stop, std::string::npos) << log;
}

} // namespace
