// A small program that dies the ways Tessaly can, so tests see the crash handler's last report:
//   CrashProbe access-violation   writes through a null pointer
//   CrashProbe stack-overflow     recurses until the stack is gone
//   CrashProbe terminate          calls std::terminate
//   CrashProbe diagnostics        starts and stops the long-run guard and the stall watchdog, exit 0
// The log is Tessaly.log beside the executable. Exit 2 means a bad argument or that a line never came.
#include <windows.h>

#include <cwchar>
#include <exception>
#include <string>

#include "../win/TestPaths.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/win/CrashHandler.h"
#include "core/win/DiagnosticsThreads.h"
#include "core/win/StallThreadEnd.h"
#include "core/win/Win32LogPlatform.h"

namespace {

// Opaque to the optimiser, so the write is a real store and not a trap instruction.
int* volatile g_nowhere = nullptr;
// Never set: keeps the compiler from proving the recursion endless.
volatile bool g_stopRecursing = false;

// Each frame hands its buffer to the next, so no frame can be reused and the stack must run out.
int Recurse(volatile char* previous) {
    volatile char frame[4096];
    frame[0] = previous[0];
    if (g_stopRecursing)
        return 0;
    return Recurse(frame) + frame[1];
}

bool WaitForLogLine(const char* text, DWORD timeoutMs) {
    std::wstring path = TestExeFolder() + L"Tessaly.log";
    DWORD start = GetTickCount();
    while (ReadWholeFile(path).find(text) == std::string::npos) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(50);
    }
    return true;
}

int RunDiagnostics() {
    StartDiagnosticsThreads();
    StartDiagnosticsThreads(); // once only
    if (!WaitForLogLine("LongRunGuard thread start", 10000) ||
        !WaitForLogLine("[STALL][WATCHDOG] start", 10000))
        return 2;
    StopDiagnosticsThreads();
    if (!WaitForLogLine("LongRunGuard thread leave", 10000) ||
        !WaitForLogLine("[STALL][WATCHDOG] stop", 10000))
        return 2;
    Log::Close();
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    Log::InstallPlatform(&Win32LogPlatform());
    Log::Open();
    InstallStallThreadEndHook();
    CrashHandler::Install();
    // Something recognisable for the snapshot line.
    RuntimeSetMouseState(12, 34, true, false, false);
    RuntimeSetStatusMessage("probe status");

    const wchar_t* mode = argc >= 2 ? argv[1] : L"";
    if (std::wcscmp(mode, L"access-violation") == 0)
        *g_nowhere = 1;
    else if (std::wcscmp(mode, L"stack-overflow") == 0) {
        volatile char origin[2] = {1, 0};
        return Recurse(origin);
    } else if (std::wcscmp(mode, L"terminate") == 0)
        std::terminate();
    else if (std::wcscmp(mode, L"diagnostics") == 0)
        return RunDiagnostics();
    return 2;
}
