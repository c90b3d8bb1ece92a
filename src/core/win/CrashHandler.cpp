#include "core/win/CrashHandler.h"

#include <windows.h>

#include <exception>

#include "core/Log.h"
#include "core/win/TextConvert.h"

namespace {

LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = nullptr;
std::terminate_handler g_previousTerminate = nullptr;
bool g_installed = false;

LONG WINAPI UnhandledExceptionFilterProc(EXCEPTION_POINTERS* info) {
    SYSTEMTIME st;
    ::GetLocalTime(&st);
    const EXCEPTION_RECORD* record = info ? info->ExceptionRecord : nullptr;
    unsigned long code = record ? record->ExceptionCode : 0;
    void* address = record ? record->ExceptionAddress : nullptr;
    Log::Write("[CRASH] Tessaly crash %04u-%02u-%02u %02u:%02u:%02u.%03u tid=%lu code=0x%08lX %s addr=%p",
               st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds,
               ::GetCurrentThreadId(), code, CrashHandler::ExceptionName(code), address);
    HMODULE module = nullptr;
    if (::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                             static_cast<LPCWSTR>(address), &module)) {
        wchar_t path[MAX_PATH] = {};
        ::GetModuleFileNameW(module, path, MAX_PATH);
        Log::Write("[CRASH] module=%s", WideToUtf8Bounded(path).c_str());
    }
    Log::Flush();
    // End here with the report on disk. Handing the exception on to the C runtime's filter starts a
    // debugger or an error dialog that can keep a hidden host hanging.
    ::TerminateProcess(::GetCurrentProcess(), code != 0 ? static_cast<UINT>(code) : 1u);
    return EXCEPTION_EXECUTE_HANDLER;
}

[[noreturn]] void OnTerminate() {
    unsigned long tid = ::GetCurrentThreadId();
    Log::Write("[CRASH] std::terminate tid=%lu", tid);
    Log::Write("[CRASH] manual-report tid=%lu reason=%s", tid, "std::terminate");
    Log::Flush();
    // The runtime's own terminate handler is abort(), whose message box would hang a hidden host.
    ::ExitProcess(3);
}

} // namespace

namespace CrashHandler {

void Install() {
    g_previousFilter = ::SetUnhandledExceptionFilter(UnhandledExceptionFilterProc);
    g_previousTerminate = std::set_terminate(OnTerminate);
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
    case 0xC0000005: return "EXCEPTION_ACCESS_VIOLATION";
    case 0xC0000006: return "EXCEPTION_IN_PAGE_ERROR";
    case 0xC000001D: return "EXCEPTION_ILLEGAL_INSTRUCTION";
    case 0xC000008C: return "EXCEPTION_ARRAY_BOUNDS_EXCEEDED";
    case 0xC000008E: return "EXCEPTION_FLT_DIVIDE_BY_ZERO";
    case 0xC0000094: return "EXCEPTION_INT_DIVIDE_BY_ZERO";
    case 0xC00000FD: return "EXCEPTION_STACK_OVERFLOW";
    case 0x80000002: return "EXCEPTION_DATATYPE_MISALIGNMENT";
    case 0x80000003: return "EXCEPTION_BREAKPOINT";
    default: return "UNKNOWN_EXCEPTION";
    }
}

} // namespace CrashHandler
