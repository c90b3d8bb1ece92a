#include "input/win/HidDebugPrint.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

#include "core/LogFilter.h"
#include "core/win/Win32LogPlatform.h"

void HidDebugPrint(const char* format, ...) {
    if (!DebugOutputEnabled(Win32LogPlatform().Environment("MARLO_ENABLE_OUTPUT_DEBUG_STRING")))
        return;
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    char line[1200];
    std::snprintf(line, sizeof line, "[HKAPP]-%s", text);
    OutputDebugStringA(line);
}
