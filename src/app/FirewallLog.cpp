#include "app/FirewallLog.h"

#include <cstdarg>
#include <cstdio>

#include "core/Log.h"

void FirewallLog::Line(const char* format, ...) {
    va_list args;
    va_start(args, format);
    if (!m_sink) {
        Log::WriteV(format, args);
        va_end(args);
        return;
    }
    char text[2048];
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    m_sink(text);
}
