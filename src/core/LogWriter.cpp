#include "core/LogWriter.h"

#include <cstdio>
#include <cstring>

#include "core/LogLine.h"

const DebugFlags& LogWriter::Flags() {
    std::call_once(m_flagsOnce, [this] {
        m_flags = ReadDebugFlags([this](const char* name) { return m_platform.Environment(name); });
    });
    return m_flags;
}

bool LogWriter::DebugOutputOn() {
    std::call_once(m_debugOutputOnce, [this] {
        m_debugOutput = DebugOutputEnabled(m_platform.Environment("MARLO_ENABLE_OUTPUT_DEBUG_STRING"));
    });
    return m_debugOutput;
}

bool LogWriter::Open() {
    const DebugFlags& flags = Flags();
    char line[kLogLineBufferSize];
    size_t len = FormatLogPrefix(line, sizeof line, m_platform.LocalTime(), m_platform.CurrentThreadId());
    if (len != 0) {
        std::string profile = FormatProfileLine(flags);
        std::snprintf(line + len, sizeof line - len, "%s\r\n", profile.c_str());
    }
    std::lock_guard<std::mutex> lock(m_fileMutex);
    if (m_open)
        return true;
    m_open = m_platform.OpenFile();
    // The profile line goes straight to the file: Write would take this mutex again.
    if (m_open && len != 0)
        m_platform.WriteFile(line, std::strlen(line));
    return m_open;
}

void LogWriter::WriteV(const char* format, va_list args) {
    char line[kLogLineBufferSize];
    size_t prefix = FormatLogPrefix(line, sizeof line, m_platform.LocalTime(), m_platform.CurrentThreadId());
    if (prefix == 0 || prefix >= kLogLineTextLimit)
        return;

    char message[kLogLineBufferSize];
    size_t room = kLogLineTextLimit - prefix;
    int formatted = std::vsnprintf(message, room + 1, format ? format : "", args);
    if (formatted < 0)
        return;
    size_t messageLen = static_cast<size_t>(formatted) < room ? static_cast<size_t>(formatted) : room;
    // vsnprintf cuts at a byte count: drop a character that the cut left incomplete.
    if (static_cast<size_t>(formatted) > room)
        messageLen = Utf8CompleteLength(std::string_view(message, messageLen));
    std::string_view text(message, messageLen);
    if (IsBlankMessage(text))
        return;

    size_t escaped = AppendEscapedMessage(line + prefix, room, text);
    // A cut in front of an escape that does not fit can leave only blanks.
    if (IsBlankMessage(std::string_view(line + prefix, escaped)))
        return;
    size_t len = prefix + escaped;
    line[len++] = '\r';
    line[len++] = '\n';
    line[len] = '\0';
    std::string_view whole(line, len);

    bool errorText = IsErrorTextLine(whole);
    if (!ShouldSuppress(whole)) {
        if (DebugOutputOn())
            m_platform.DebugOutput(line);
        std::lock_guard<std::mutex> lock(m_fileMutex);
        if (m_open)
            m_platform.WriteFile(line, len);
    }
    if (errorText) {
        if (Log::ErrorTextSink sink = m_errorTextSink.load())
            sink(line);
    }
}

void LogWriter::Flush() {
    std::lock_guard<std::mutex> lock(m_fileMutex);
    if (m_open)
        m_platform.FlushFile();
}

void LogWriter::Close() {
    std::lock_guard<std::mutex> lock(m_fileMutex);
    if (!m_open)
        return;
    m_platform.FlushFile();
    m_platform.CloseFile();
    m_open = false;
}

void WriteThrough(LogWriter* log, const char* format, va_list args) {
    if (log != nullptr)
        log->WriteV(format, args);
    else
        Log::WriteV(format, args);
}
