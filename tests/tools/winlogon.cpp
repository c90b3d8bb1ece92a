// A stand-in for the processes the Wardlet session host looks for and starts, for its Wine tests (Wine has no
// winlogon.exe, and the tests must not start the real Tessaly):
//   winlogon.exe                          waits; found by name, its token is the "winlogon SYSTEM token"
//   <copy>.exe worker <handle> <desktop>  a capture worker: waits for the inherited stop event, exit 0
//                                         (with STANDIN_HANG set: ignores it; with STANDIN_WORKER_EXIT
//                                         set: exits at once with that code)
//   <copy>.exe <anything else>            a host: waits
// Every wait ends after 120 s, so nothing is left behind when a test fails.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    constexpr DWORD kLifetimeMs = 120000;
    if (argc >= 3 && std::wcscmp(argv[1], L"worker") == 0) {
        HANDLE stop = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(std::wcstoull(argv[2], nullptr, 10)));
        // STANDIN_WORKER_EXIT=<code> ends it at once with that code, as a worker that found the other
        // desktop.
        wchar_t exitCode[16] = {};
        if (::GetEnvironmentVariableW(L"STANDIN_WORKER_EXIT", exitCode, 16) != 0)
            return static_cast<int>(std::wcstoul(exitCode, nullptr, 0));
        // With STANDIN_HANG in the environment it ignores the event, as a hung worker would.
        if (::GetEnvironmentVariableW(L"STANDIN_HANG", nullptr, 0) != 0)
            ::Sleep(kLifetimeMs);
        return ::WaitForSingleObject(stop, kLifetimeMs) == WAIT_OBJECT_0 ? 0 : 1;
    }
    ::Sleep(kLifetimeMs);
    return 0;
}
