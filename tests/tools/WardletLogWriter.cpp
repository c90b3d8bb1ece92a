// Appends lines to Wardlet's log, as a second process beside the service would:
//   WardletLogWriter <writer tag> <line count> <start event>
// waits (at most 10 s) for the start event, so that several writers begin together, then logs
// "writer=<tag> line=<n> " and a fixed-length payload for n = 0 .. count-1. Exit 0, or 2 on bad arguments.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "core/win/TextConvert.h"
#include "service/win/WardletLog.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: WardletLogWriter tag count startEvent\n");
        return 2;
    }
    // The lines go to the file only: the test reads the file, and a console copy would only fill its output.
    ::FreeConsole();
    const std::string tag = WideToUtf8(argv[1]);
    const unsigned long count = std::wcstoul(argv[2], nullptr, 10);
    HANDLE start = ::OpenEventW(SYNCHRONIZE, FALSE, argv[3]);
    if (start == nullptr || count == 0 || count > 100000)
        return 2;
    ::WaitForSingleObject(start, 10000);
    ::CloseHandle(start);
    const std::string payload(200, 'p');
    for (unsigned long line = 0; line < count; ++line)
        WardletLog("writer=%s line=%lu %s", tag.c_str(), line, payload.c_str());
    return 0;
}
