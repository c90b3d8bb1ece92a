#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

struct LocalTimeStamp {
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t day = 0;
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
    uint16_t milliseconds = 0;
};

// What the log writer needs from the operating system. Windows supplies the real one; tests a fake.
class ILogPlatform {
public:
    virtual ~ILogPlatform() = default;
    virtual LocalTimeStamp LocalTime() = 0;
    virtual uint32_t CurrentThreadId() = 0;
    virtual uint32_t TickCount() = 0;
    virtual std::optional<std::string> Environment(const char* name) = 0;
    // Creates the log file, truncating an old one. Called under the log mutex.
    virtual bool OpenFile() = 0;
    virtual void WriteFile(const char* data, size_t size) = 0;
    virtual void FlushFile() = 0;
    virtual void CloseFile() = 0;
    virtual void DebugOutput(const char* line) = 0;
};
