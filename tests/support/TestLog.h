#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "core/LogPlatform.h"

// A log platform that keeps what is written in memory, with a settable clock and environment.
class MemoryLogPlatform : public ILogPlatform {
public:
    LocalTimeStamp LocalTime() override { return time; }
    uint32_t CurrentThreadId() override { return threadId; }
    uint32_t TickCount() override { return tick; }
    std::optional<std::string> Environment(const char* name) override;
    bool OpenFile() override;
    void WriteFile(const char* data, size_t size) override;
    void FlushFile() override { ++flushes; }
    void CloseFile() override { open = false; }
    void DebugOutput(const char* line) override;

    // Written lines without prefix and line ending, in order.
    std::vector<std::string> Messages();
    void Clear();
    // Appends a marker to the same list, so that calls and log lines can be checked in one order.
    void Note(const std::string& event);

    LocalTimeStamp time{2026, 8, 27, 9, 5, 7, 42};
    uint32_t threadId = 1234;
    uint32_t tick = 1000;
    bool canOpen = true;
    bool open = false;
    int opens = 0;
    int flushes = 0;
    std::map<std::string, std::string> environment;
    std::string file;                     // raw bytes written
    std::vector<std::string> debugOutput; // lines passed to the debugger

private:
    std::mutex m_mutex;
    std::vector<std::string> m_events;
};

// The platform behind the process-wide Log:: functions in the native tests.
MemoryLogPlatform& TestLog();

// How many messages of the process-wide test log hold needle.
size_t CountLogMessages(const std::string& needle);
