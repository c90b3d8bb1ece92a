#include "core/win/LongRunGuard.h"

#include "core/win/Handles.h"

#include <psapi.h>
#include <tlhelp32.h>

#include "core/Log.h"
#include "core/RuntimeState.h"

namespace {

constexpr DWORD kWakeMs = 1000;
constexpr unsigned kWakesPerSample = 60;

uint32_t CountThreadsOfThisProcess() {
    UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot.Valid())
        return 0;
    DWORD pid = ::GetCurrentProcessId();
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    uint32_t count = 0;
    for (BOOL more = ::Thread32First(snapshot.Get(), &entry); more;
         more = ::Thread32Next(snapshot.Get(), &entry))
        if (entry.th32OwnerProcessID == pid)
            ++count;
    return count;
}

} // namespace

namespace LongRunGuard {

ProcessResourceCounters ReadProcessCounters() {
    ProcessResourceCounters counters;
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    if (::K32GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                                  sizeof memory)) {
        counters.workingSetBytes = memory.WorkingSetSize;
        counters.privateBytes = memory.PrivateUsage;
    }
    DWORD handles = 0;
    if (::GetProcessHandleCount(::GetCurrentProcess(), &handles))
        counters.handles = handles;
    counters.threads = CountThreadsOfThisProcess();
    return counters;
}

void Sample(const char* reason) {
    std::string line = FormatLongRunGuardLine(reason, ReadProcessCounters(), RuntimeMakeSnapshot());
    Log::Write("%s", line.c_str());
}

void RunThread(const std::atomic<bool>& running) {
    Log::Write("LongRunGuard thread start intervalSec=%lu",
               static_cast<unsigned long>(kWakesPerSample * kWakeMs / 1000));
    Sample("start");
    unsigned wakes = 0;
    while (running.load()) {
        ::Sleep(kWakeMs);
        if (!running.load())
            break;
        if (++wakes % kWakesPerSample == 0)
            Sample("periodic");
    }
    Sample("stop");
    Log::Write("LongRunGuard thread leave");
}

} // namespace LongRunGuard
