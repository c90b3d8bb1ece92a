#include "service/win/SessionProcesses.h"

#include <tlhelp32.h>

#include "core/Utf.h"
#include "core/win/TextConvert.h"
#include "service/win/WardletLog.h"

std::vector<uint32_t> ProcessesInSession(const wchar_t* exeName, uint32_t session) {
    std::vector<uint32_t> found;
    UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return found;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more;
         more = ::Process32NextW(snapshot.Get(), &entry)) {
        if (!EqualsIgnoringCase(AsUtf16(entry.szExeFile), AsUtf16(exeName)))
            continue;
        DWORD processSession = 0;
        if (::ProcessIdToSessionId(entry.th32ProcessID, &processSession) && processSession == session)
            found.push_back(entry.th32ProcessID);
    }
    return found;
}

bool EnablePrivilege(const wchar_t* name) {
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw))
        return false;
    UniqueHandle token(raw);
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!::LookupPrivilegeValueW(nullptr, name, &privileges.Privileges[0].Luid))
        return false;
    // AdjustTokenPrivileges succeeds even when the token lacks the privilege; only the last error tells.
    if (!::AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr))
        return false;
    return ::GetLastError() == ERROR_SUCCESS;
}

UniqueHandle WinlogonSystemToken(uint32_t session, DWORD& error) {
    error = ERROR_NOT_FOUND;
    for (uint32_t pid : ProcessesInSession(L"winlogon.exe", session)) {
        UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
        HANDLE raw = nullptr;
        if (!process ||
            !::OpenProcessToken(process.Get(), TOKEN_DUPLICATE | TOKEN_ASSIGN_PRIMARY | TOKEN_QUERY, &raw)) {
            error = ::GetLastError();
            return {};
        }
        UniqueHandle token(raw);
        HANDLE duplicate = nullptr;
        if (!::DuplicateTokenEx(token.Get(), MAXIMUM_ALLOWED, nullptr, SecurityImpersonation, TokenPrimary,
                                &duplicate)) {
            error = ::GetLastError();
            return {};
        }
        WardletLog("duplicated winlogon SYSTEM token pid=%lu session=%lu", static_cast<unsigned long>(pid),
                   static_cast<unsigned long>(session));
        error = ERROR_SUCCESS;
        return UniqueHandle(duplicate);
    }
    return {};
}

std::optional<uint64_t> ProcessAgeMs(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user))
        return std::nullopt;
    FILETIME nowTime{};
    ::GetSystemTimeAsFileTime(&nowTime);
    auto ticks = [](const FILETIME& t) {
        return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    int64_t age100ns = static_cast<int64_t>(ticks(nowTime) - ticks(created));
    return age100ns > 0 ? static_cast<uint64_t>(age100ns) / 10000 : 0;
}
