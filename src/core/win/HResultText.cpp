#include "core/win/HResultText.h"

#include <algorithm>
#include <string>

#include "core/HResultNames.h"
#include "core/win/SystemMessageText.h"

const char* HResultToText(int32_t hr) {
    thread_local char buffer[256];
    // A log line stays one line even when the system's text has several.
    std::string system = SystemMessageText(static_cast<uint32_t>(hr));
    std::replace_if(
        system.begin(), system.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    FormatHResultText(buffer, sizeof buffer, hr, system.c_str());
    return buffer;
}
