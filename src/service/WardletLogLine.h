#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/LogPlatform.h"

// One line of "secure_probe.log": local time, the writing process, its session and the console's session,
// then the message, cut to a bounded length.
inline constexpr char16_t kWardletLogFileName[] = u"secure_probe.log";
inline constexpr size_t kWardletLogMessageLimit = 2048;
// The log never grows past this: a line that would take it further starts the file afresh.
inline constexpr uint64_t kWardletLogCapBytes = 10'485'760;

std::string FormatWardletLogLine(const LocalTimeStamp& time, uint32_t processId, uint32_t processSession,
                                 uint32_t activeSession, std::string_view message);

// True when the file must be emptied before lineSize more bytes are appended (a file that reaches the cap
// exactly is still fine).
bool WardletLogMustTruncate(uint64_t fileSize, uint64_t lineSize);
