#pragma once

#include <cstdarg>
#include <string_view>

#include "core/LogPlatform.h"
#include "core/Printf.h"

// The one log writer of the process.
//
// Locks: Log::Write holds the log mutex only around the file write, and calls nothing outside the writer
// while it holds it. The error-text sink runs after the line is written, with no writer lock held; it must
// not block on a lock that a caller of Log::Write may hold (callers may log under any of their own locks).
namespace Log {

using ErrorTextSink = void (*)(const char* line);

// Installs the platform once, before anything is logged; the writer is kept to the end of the process.
void InstallPlatform(ILogPlatform* platform);
bool Open();
void Write(const char* format, ...) TSLY_PRINTF(1, 2);
void WriteV(const char* format, va_list args);
bool IsDebugCategoryEnabled(const char* name);
bool ShouldSuppress(std::string_view line);
void Flush();
void Close();
// Lines that name a failure become the runtime error text through this sink.
void SetErrorTextSink(ErrorTextSink sink);
uint32_t CurrentThreadId();
uint32_t TickCount();

} // namespace Log
