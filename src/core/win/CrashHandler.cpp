#include "core/win/CrashHandler.h"

#include <atomic>
#include <cstdio>
#include <exception>
#include <string>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/win/Handles.h"
#include "core/win/TextConvert.h"

namespace {

// Longest wait for the report; after it the process ends with whatever reached the file.
constexpr DWORD kReportWaitMs = 5000;
// The reporter needs little stack; the crashing thread may have none left (stack overflow).
constexpr SIZE_T kReporterStackBytes = 256 * 1024;
// Stack kept back on the main thread for the filter when that thread overflows.
constexpr ULONG kStackGuaranteeBytes = 64 * 1024;

LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = nullptr;
std::terminate_handler g_previousTerminate = nullptr;
bool g_installed = false;
std::atomic<bool> g_crashing{false};

struct CrashFacts {
    SYSTEMTIME time;
    unsigned long threadId;
    unsigned long code;
    void* address;
};

std::string SnapshotSummary() {
    RuntimeSnapshot snapshot;
    RuntimeTryMakeSnapshot(snapshot);
    return RuntimeFormatSummary(snapshot);
}

std::string ModulePath(void* address) {
    HMODULE module = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              static_cast<LPCWSTR>(address), &module))
        return "?";
    wchar_t path[MAX_PATH] = {};
    if (::GetModuleFileNameW(module, path, MAX_PATH) == 0)
        return "?";
    return WideToUtf8Bounded(path);
}

void WriteCrashReport(const CrashFacts& f) {
    const char* name = CrashHandler::ExceptionName(f.code);
    Log::Write("[CRASH] Tessaly crash %04u-%02u-%02u %02u:%02u:%02u.%03u tid=%lu code=0x%08lX %s addr=%p",
               f.time.wYear, f.time.wMonth, f.time.wDay, f.time.wHour, f.time.wMinute, f.time.wSecond,
               f.time.wMilliseconds, f.threadId, f.code, name, f.address);
    Log::Write("[CRASH] snapshot %s", SnapshotSummary().c_str());
    Log::Write("[CRASH] module=%s", ModulePath(f.address).c_str());
    char errorText[256];
    std::snprintf(errorText, sizeof errorText, "Crash tid=%lu code=0x%08lX %s", f.threadId, f.code, name);
    RuntimeSetErrorTextNoWait(errorText);
    Log::Flush();
}

[[noreturn]] void EndProcess(unsigned long code) {
    ::TerminateProcess(::GetCurrentProcess(), code != 0 ? static_cast<UINT>(code) : 1u);
    for (;;)
        ::Sleep(INFINITE);
}

// Only the first crashing thread writes it; it lives outside that thread's stack, which may be gone
// before the reporter reads it.
CrashFacts g_facts;

DWORD WINAPI ReporterThread(void*) {
    WriteCrashReport(g_facts);
    EndProcess(g_facts.code);
}

} // namespace

namespace CrashHandler {

LONG WINAPI UnhandledExceptionFilter(EXCEPTION_POINTERS* info) {
    // A second crash (another thread, or the reporter itself) leaves the report to the first and waits
    // for it to end the process.
    if (g_crashing.exchange(true)) {
        ::Sleep(kReportWaitMs + 1000);
        EndProcess(info && info->ExceptionRecord ? info->ExceptionRecord->ExceptionCode : 0);
    }
    ::GetLocalTime(&g_facts.time);
    const EXCEPTION_RECORD* record = info ? info->ExceptionRecord : nullptr;
    g_facts.threadId = ::GetCurrentThreadId();
    g_facts.code = record ? record->ExceptionCode : 0;
    g_facts.address = record ? record->ExceptionAddress : nullptr;
    RuntimeEnterCrashPath();

    // The report is written, and the process ended, by a fresh thread: it has stack even when this one
    // overflowed (and may die of it in here), and a lock this thread left held (heap, log) can only
    // delay the end, since this thread ends the process itself after a bounded wait.
    UniqueHandle reporter(::CreateThread(nullptr, kReporterStackBytes, &ReporterThread, nullptr,
                                         STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
    if (reporter.Valid())
        ::WaitForSingleObject(reporter.Get(), kReportWaitMs);
    else
        WriteCrashReport(g_facts);
    EndProcess(g_facts.code);
}

void ManualReport(const char* reason) {
    Log::Write("[CRASH] manual-report tid=%lu reason=%s", ::GetCurrentThreadId(), reason ? reason : "?");
    Log::Write("[CRASH] snapshot %s", SnapshotSummary().c_str());
}

void OnTerminate() {
    RuntimeEnterCrashPath();
    Log::Write("[CRASH] std::terminate tid=%lu", ::GetCurrentThreadId());
    RuntimeSetErrorTextNoWait("std::terminate called");
    ManualReport("std::terminate");
    Log::Flush();
    // The runtime's own terminate handler is abort(), whose message box would hang a hidden host.
    ::ExitProcess(3);
}

void Install() {
    ULONG guarantee = kStackGuaranteeBytes;
    ::SetThreadStackGuarantee(&guarantee);
    g_previousFilter = ::SetUnhandledExceptionFilter(&CrashHandler::UnhandledExceptionFilter);
    g_previousTerminate = std::set_terminate(&CrashHandler::OnTerminate);
    g_installed = true;
}

void Restore() {
    if (!g_installed)
        return;
    ::SetUnhandledExceptionFilter(g_previousFilter);
    if (g_previousTerminate != nullptr)
        std::set_terminate(g_previousTerminate);
    g_installed = false;
}

const char* ExceptionName(unsigned long code) {
    switch (code) {
    case 0xC0000005:
        return "EXCEPTION_ACCESS_VIOLATION";
    case 0xC0000006:
        return "EXCEPTION_IN_PAGE_ERROR";
    case 0xC000001D:
        return "EXCEPTION_ILLEGAL_INSTRUCTION";
    case 0xC000008C:
        return "EXCEPTION_ARRAY_BOUNDS_EXCEEDED";
    case 0xC000008E:
        return "EXCEPTION_FLT_DIVIDE_BY_ZERO";
    case 0xC0000094:
        return "EXCEPTION_INT_DIVIDE_BY_ZERO";
    case 0xC00000FD:
        return "EXCEPTION_STACK_OVERFLOW";
    case 0x80000002:
        return "EXCEPTION_DATATYPE_MISALIGNMENT";
    case 0x80000003:
        return "EXCEPTION_BREAKPOINT";
    default:
        return "UNKNOWN_EXCEPTION";
    }
}

} // namespace CrashHandler
