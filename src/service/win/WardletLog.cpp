#include "service/win/WardletLog.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

#include "core/win/Handles.h"
#include "core/win/TextConvert.h"
#include "service/WardletLogLine.h"
#include "service/win/WardletDataFolder.h"

namespace {

// Serialises the threads of this process; the file lock below serialises the processes (service, capture
// worker, hand-run diagnostics) that share the file.
SRWLOCK g_logLock = SRWLOCK_INIT;

// The executable's folder; empty when the module path cannot be read. The buffer grows, as a path under a
// long-path prefix passes 260 characters and a cut path would name a wrong folder.
std::wstring ExecutableFolder() {
    constexpr DWORD kLongestPath = 32768;
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        if (path.size() >= kLongestPath)
            return {};
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return {};
    path.resize(slash + 1);
    return path;
}

std::wstring FindLogPath() {
    const std::wstring fileName = AsWide(kWardletLogFileName);
    if (std::wstring folder = ExecutableFolder(); !folder.empty())
        return folder + fileName;
    // Quiet: the refusal line would be logged through this very path.
    if (std::wstring inDataFolder = QuietDataFolderFile(fileName.c_str()); !inDataFolder.empty())
        return inDataFolder;
    return fileName;
}

void AppendToLogFile(const std::string& line) {
    UniqueHandle file(::CreateFileW(WardletLogPath().c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return;
    OVERLAPPED whole = {};
    if (!::LockFileEx(file.Get(), LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole))
        return;
    LARGE_INTEGER size = {};
    if (::GetFileSizeEx(file.Get(), &size) &&
        WardletLogMustTruncate(static_cast<uint64_t>(size.QuadPart), line.size())) {
        LARGE_INTEGER start = {};
        if (::SetFilePointerEx(file.Get(), start, nullptr, FILE_BEGIN))
            ::SetEndOfFile(file.Get());
    }
    LARGE_INTEGER end = {};
    if (::SetFilePointerEx(file.Get(), end, nullptr, FILE_END)) {
        DWORD written = 0;
        ::WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
    ::UnlockFileEx(file.Get(), 0, MAXDWORD, MAXDWORD, &whole);
}

} // namespace

std::wstring WardletLogPath() {
    static const std::wstring path = FindLogPath();
    return path;
}

void WardletLog(const char* format, ...) {
    const DWORD lastError = ::GetLastError();
    // Room past the limit, so a character that vsnprintf cuts lies beyond it and the line's UTF-8 cut drops
    // it.
    char message[kWardletLogMessageLimit + 8];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    if (length < 0)
        message[0] = '\0';

    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    const DWORD processId = ::GetCurrentProcessId();
    DWORD processSession = 0;
    ::ProcessIdToSessionId(processId, &processSession);
    const LocalTimeStamp time{now.wYear,   now.wMonth,  now.wDay,         now.wHour,
                              now.wMinute, now.wSecond, now.wMilliseconds};
    const std::string line =
        FormatWardletLogLine(time, processId, processSession, ::WTSGetActiveConsoleSessionId(), message);

    ::AcquireSRWLockExclusive(&g_logLock);
    AppendToLogFile(line);
    if (::GetConsoleOutputCP() != 0) {
        // stdout is in text mode: its own "\n" becomes the line end.
        std::fwrite(line.data(), 1, line.size() - 2, stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
    ::ReleaseSRWLockExclusive(&g_logLock);
    // Callers log a failure and then read its error.
    ::SetLastError(lastError);
}
