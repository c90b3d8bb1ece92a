#pragma once

#include <atomic>
#include <cstdarg>
#include <mutex>
#include <string_view>

#include "core/Log.h"
#include "core/LogFilter.h"

// The algorithm behind Log::Write: prefix, message, error text, category filter, debugger output, file.
class LogWriter {
public:
    explicit LogWriter(ILogPlatform& platform) : m_platform(platform) {}

    bool Open();
    void WriteV(const char* format, va_list args);
    void Flush();
    void Close();
    bool IsDebugCategoryEnabled(const char* name) { return IsCategoryEnabled(Flags(), name); }
    bool ShouldSuppress(std::string_view line) { return ShouldSuppressLine(line, Flags()); }
    void SetErrorTextSink(Log::ErrorTextSink sink) { m_errorTextSink.store(sink); }
    const DebugFlags& Flags();
    ILogPlatform& Platform() { return m_platform; }

private:
    bool DebugOutputOn();

    ILogPlatform& m_platform;
    std::mutex m_fileMutex;
    bool m_open = false;
    std::once_flag m_flagsOnce;
    DebugFlags m_flags;
    std::once_flag m_debugOutputOnce;
    bool m_debugOutput = false;
    std::atomic<Log::ErrorTextSink> m_errorTextSink{nullptr};
};

// Writes through log, or through the process-wide log when it is null: objects that tests give a log of their
// own write this way.
void WriteThrough(LogWriter* log, const char* format, va_list args);
