#include <gtest/gtest.h>

#include <windows.h>

#include "core/Log.h"
#include "core/win/Win32LogPlatform.h"
#include "core/win/WinsockStartup.h"

int wmain(int argc, wchar_t** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    Log::InstallPlatform(&Win32LogPlatform());
    // The resize lines are what the main window's resize tests read. The categories are read once, here;
    // the variable is gone again before any test starts a program of its own.
    SetEnvironmentVariableW(L"MARLO_DEBUG_RESIZE_LOG", L"1");
    Log::IsDebugCategoryEnabled("resize");
    SetEnvironmentVariableW(L"MARLO_DEBUG_RESIZE_LOG", nullptr);
    // Winsock stays started for the whole run, as it does for the program. The channels' threads are
    // detached and outlive the test that started them; a fixture's WSACleanup that brought the count to
    // zero would close their sockets under them, and the handle each such thread closes later may by then
    // be a socket of the next test (Wine hands a freed handle value out again at once).
    if (!StartWinsockOnce("[TEST]"))
        return 1;
    return RUN_ALL_TESTS();
}
