#include "core/win/HResultText.h"

#include <windows.h>

#include "core/HResultNames.h"

const char* HResultToText(int32_t hr) {
    thread_local char buffer[256];
    char system[200] = {};
    DWORD len = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                 static_cast<DWORD>(hr), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), system,
                                 sizeof system, nullptr);
    for (DWORD i = 0; i < len && i < sizeof system; ++i)
        if (system[i] == '\r' || system[i] == '\n')
            system[i] = ' ';
    FormatHResultText(buffer, sizeof buffer, hr, len != 0 ? system : nullptr);
    return buffer;
}
