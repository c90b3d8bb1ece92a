#pragma once

#include <windows.h>

namespace CrashHandler {
// Installs the unhandled-exception filter and the terminate handler, saving the previous ones.
void Install();
// Puts the previous filter and, when there was one, the previous terminate handler back.
void Restore();

// The last report of a crashing process: the crash line, the runtime summary and the faulting module,
// flushed to the log. It then ends the process with the exception code as exit code; the exception is
// never handed on, since the C runtime's filter would start a debugger or an error dialog and leave the
// process hanging. Never blocks on a lock for long: the report is written within a bounded wait.
LONG WINAPI UnhandledExceptionFilter(EXCEPTION_POINTERS* info);
// Logs the terminate, a manual report and flushes, then ends the process with exit code 3.
[[noreturn]] void OnTerminate();
// "[CRASH] manual-report tid=%lu reason=%s" and "[CRASH] snapshot %s"; never blocks on the runtime lock.
void ManualReport(const char* reason);
const char* ExceptionName(unsigned long code);
} // namespace CrashHandler
