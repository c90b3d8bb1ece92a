// Runs the start-up firewall check worker once, with the start-up log category on so that every "[FW]"
// line reaches Tessaly.log beside this executable. Exit 0 when the worker finished within 30 s, else 1.
#include <windows.h>

#include "app/win/FirewallWorker.h"
#include "core/Log.h"
#include "core/win/Win32LogPlatform.h"

int wmain() {
    ::SetEnvironmentVariableW(L"MARLO_DEBUG_STARTUP_LOG", L"1");
    Log::InstallPlatform(&Win32LogPlatform());
    Log::Open();
    ScheduleFirewallCheck();
    DWORD start = ::GetTickCount();
    while (FirewallCheckRunning() && ::GetTickCount() - start < 30000)
        ::Sleep(20);
    bool finished = !FirewallCheckRunning();
    // The worker clears its flag just before its last line.
    ::Sleep(200);
    Log::Close();
    return finished ? 0 : 1;
}
