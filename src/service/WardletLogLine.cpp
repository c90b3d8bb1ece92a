#include "service/WardletLogLine.h"

#include <cstdio>

#include "core/Utf.h"

std::string FormatWardletLogLine(const LocalTimeStamp& time, uint32_t processId, uint32_t processSession,
                                 uint32_t activeSession, std::string_view message) {
    char prefix[160];
    const int length =
        std::snprintf(prefix, sizeof prefix,
                      "%04u-%02u-%02u %02u:%02u:%02u.%03u pid=%lu processSession=%lu "
                      "activeSession=%lu ",
                      unsigned{time.year}, unsigned{time.month}, unsigned{time.day}, unsigned{time.hour},
                      unsigned{time.minute}, unsigned{time.second}, unsigned{time.milliseconds},
                      static_cast<unsigned long>(processId), static_cast<unsigned long>(processSession),
                      static_cast<unsigned long>(activeSession));
    std::string line(prefix, length > 0 ? static_cast<size_t>(length) : 0);
    line += CutUtf8(message, kWardletLogMessageLimit);
    line += "\r\n";
    return line;
}

bool WardletLogMustTruncate(uint64_t fileSize, uint64_t lineSize) {
    return fileSize > kWardletLogCapBytes || lineSize > kWardletLogCapBytes - fileSize;
}
