#include <windows.h>
#include <sddl.h>

#include <memory>
#include <mutex>
#include <vector>

#include "core/win/ModuleFileName.h"
#include "core/win/TextConvert.h"
#include "service/win/SessionProcesses.h"
#include "service/win/SessionSystem.h"
#include "service/win/WardletLog.h"
#include "service/win/WardletSupport.h"

// The queries of the session host: which console session is active, whether it is locked, who is logged on
// and whether that user wants Tessaly at logon.

namespace {

// Debian's mingw-w64 headers lack the WTSSessionInfoEx level; its layout is the documented one.
constexpr WTS_INFO_CLASS kWtsSessionInfoEx = static_cast<WTS_INFO_CLASS>(25);
constexpr LONG kWtsSessionStateLock = 0;
constexpr LONG kWtsSessionStateUnlock = 1;

struct WtsInfoExLevel1 {
    ULONG SessionId;
    WTS_CONNECTSTATE_CLASS SessionState;
    LONG SessionFlags;
    WCHAR WinStationName[33];
    WCHAR UserName[21];
    WCHAR DomainName[18];
    LARGE_INTEGER LogonTime;
    LARGE_INTEGER ConnectTime;
    LARGE_INTEGER DisconnectTime;
    LARGE_INTEGER LastInputTime;
    LARGE_INTEGER CurrentTime;
    DWORD IncomingBytes;
    DWORD OutgoingBytes;
    DWORD IncomingFrames;
    DWORD OutgoingFrames;
    DWORD IncomingCompressedBytes;
    DWORD OutgoingCompressedBytes;
};
struct WtsInfoEx {
    DWORD Level;
    WtsInfoExLevel1 Data;
};

std::wstring StartupPreferenceKeyPath(const std::wstring& sid) {
    return sid + L"\\" + AsWide(kStartupPreferenceKey);
}

} // namespace

SessionProgramPaths DefaultSessionProgramPaths() {
    SessionProgramPaths paths;
    paths.wardletExe = OwnExecutablePath();
    size_t slash = paths.wardletExe.find_last_of(L"\\/");
    if (slash != std::wstring::npos) {
        paths.workingFolder = paths.wardletExe.substr(0, slash);
        paths.tessalyExe = paths.workingFolder + L"\\Tessaly.exe";
    }
    return paths;
}

SessionSystem::SessionSystem(SessionProgramPaths paths, HANDLE userHostReady, HANDLE sessionChange)
    : m_paths(std::move(paths)), m_userHostReady(userHostReady), m_sessionChange(sessionChange) {}

uint64_t SessionSystem::Now() {
    return ::GetTickCount64();
}

void SessionSystem::Log(std::string_view line) {
    WardletLog("%.*s", static_cast<int>(line.size()), line.data());
}

std::optional<uint32_t> SessionSystem::ConsoleSession() {
    DWORD session = ::WTSGetActiveConsoleSessionId();
    if (session == 0xFFFFFFFF)
        return std::nullopt;
    return session;
}

bool SessionSystem::ExplorerRunning(uint32_t session) {
    return !ProcessesInSession(L"explorer.exe", session).empty();
}

WtsLock SessionSystem::QueryWtsLock(uint32_t session) {
    LPWSTR raw = nullptr;
    DWORD bytes = 0;
    if (!::WTSQuerySessionInformationW(WTS_CURRENT_SERVER_HANDLE, session, kWtsSessionInfoEx, &raw, &bytes))
        return WtsLock::Unknown;
    std::unique_ptr<void, WtsFreeDeleter> owned(raw);
    if (bytes < sizeof(WtsInfoEx))
        return WtsLock::Unknown;
    const auto* info = reinterpret_cast<const WtsInfoEx*>(raw);
    if (info->Level != 1)
        return WtsLock::Unknown;
    LONG flags = info->Data.SessionFlags;
    WtsLock lock = flags == kWtsSessionStateLock     ? WtsLock::Locked
                   : flags == kWtsSessionStateUnlock ? WtsLock::Unlocked
                                                     : WtsLock::Unknown;
    // Reconcile asks every pass: the line is written when the answer changes, not every two seconds.
    std::lock_guard<std::mutex> guard(m_wtsLogMutex);
    if (!m_lastWtsState || m_lastWtsState->first != session || m_lastWtsState->second != flags) {
        m_lastWtsState = std::make_pair(session, flags);
        WardletLog("WTS session state session=%lu connectState=%u sessionFlags=%ld known=%u secure=%u",
                   static_cast<unsigned long>(session), static_cast<unsigned>(info->Data.SessionState),
                   static_cast<long>(flags), lock != WtsLock::Unknown ? 1u : 0u,
                   lock == WtsLock::Locked ? 1u : 0u);
    }
    return lock;
}

bool SessionSystem::UserNameEmpty(uint32_t session) {
    LPWSTR raw = nullptr;
    DWORD bytes = 0;
    if (!::WTSQuerySessionInformationW(WTS_CURRENT_SERVER_HANDLE, session, WTSUserName, &raw, &bytes))
        return true;
    std::unique_ptr<void, WtsFreeDeleter> owned(raw);
    return raw == nullptr || raw[0] == L'\0';
}

uint32_t SessionSystem::ProcessHandleCount() {
    DWORD count = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &count);
    return count;
}

std::optional<SessionHostPlatform::StartupPreference> SessionSystem::ReadStartupPreference(uint32_t session) {
    HANDLE rawToken = nullptr;
    if (!::WTSQueryUserToken(session, &rawToken)) {
        WardletLog("[SESSIONHOST][STARTUP_PREF][TOKEN_WAIT] session=%lu error=%lu",
                   static_cast<unsigned long>(session), ::GetLastError());
        return std::nullopt;
    }
    UniqueHandle token(rawToken);
    DWORD bytes = 0;
    if (!::GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &bytes) &&
        ::GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        WardletLog("[SESSIONHOST][STARTUP_PREF][SID_SIZE_FAIL] session=%lu error=%lu bytes=%lu",
                   static_cast<unsigned long>(session), ::GetLastError(), bytes);
        return std::nullopt;
    }
    std::vector<BYTE> user(bytes);
    if (bytes == 0 || !::GetTokenInformation(token.Get(), TokenUser, user.data(), bytes, &bytes)) {
        WardletLog("[SESSIONHOST][STARTUP_PREF][SID_FAIL] session=%lu error=%lu",
                   static_cast<unsigned long>(session), ::GetLastError());
        return std::nullopt;
    }
    LPWSTR rawSid = nullptr;
    if (!::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &rawSid)) {
        WardletLog("[SESSIONHOST][STARTUP_PREF][SID_TEXT_FAIL] session=%lu error=%lu",
                   static_cast<unsigned long>(session), ::GetLastError());
        return std::nullopt;
    }
    std::unique_ptr<void, LocalFreeDeleter> ownedSid(rawSid);
    std::wstring sid = rawSid;
    std::wstring keyPath = StartupPreferenceKeyPath(sid);

    StartupPreferenceQuery query;
    HKEY rawKey = nullptr;
    query.openResult = ::RegOpenKeyExW(HKEY_USERS, keyPath.c_str(), 0, KEY_QUERY_VALUE, &rawKey);
    UniqueRegKey key(query.openResult == ERROR_SUCCESS ? rawKey : nullptr);
    if (query.openResult == ERROR_SUCCESS) {
        DWORD type = 0;
        DWORD value = 0;
        DWORD size = sizeof value;
        query.queryResult = ::RegQueryValueExW(key.Get(), AsWide(kStartupPreferenceValue).c_str(), nullptr,
                                               &type, reinterpret_cast<BYTE*>(&value), &size);
        query.type = type;
        query.size = size;
        query.value = value;
    }
    StartupPreferenceOutcome outcome = ClassifyStartupPreference(query);
    if (outcome == StartupPreferenceOutcome::OpenFailed) {
        WardletLog("[SESSIONHOST][STARTUP_PREF][OPEN_FAIL] session=%lu rc=%ld key=%s",
                   static_cast<unsigned long>(session), query.openResult,
                   WideToUtf8(keyPath.c_str()).c_str());
        return std::nullopt;
    }
    if (outcome == StartupPreferenceOutcome::InvalidEnabled)
        WardletLog("[SESSIONHOST][STARTUP_PREF][QUERY_INVALID] session=%lu rc=%ld type=%lu size=%lu; "
                   "default=enabled",
                   static_cast<unsigned long>(session), query.queryResult,
                   static_cast<unsigned long>(query.type), static_cast<unsigned long>(query.size));
    StartupPreference preference;
    preference.enabled = outcome != StartupPreferenceOutcome::Disabled;
    preference.source = "HKU\\" + WideToUtf8(sid.c_str()) + "\\" +
                        WideToUtf8(AsWide(kStartupPreferenceKey).c_str()) + "\\" +
                        WideToUtf8(AsWide(kStartupPreferenceValue).c_str());
    return preference;
}

void SessionSystem::ResetUserHostReady() {
    ::ResetEvent(m_userHostReady);
}
void SessionSystem::SetSessionChange() {
    ::SetEvent(m_sessionChange);
}
void SessionSystem::ResetSessionChange() {
    ::ResetEvent(m_sessionChange);
}
bool SessionSystem::PersistExitMarker() {
    return SaveExitPolicyMarker();
}
