#include <windows.h>

#include <string>

#include "core/win/Handles.h"
#include "core/win/TextConvert.h"
#include "service/ExitPolicyMarker.h"
#include "service/win/WardletLog.h"
#include "service/win/WardletSupport.h"

namespace {

UserExitPolicyMarker CurrentBoot() {
    FILETIME now = {};
    ::GetSystemTimeAsFileTime(&now);
    const uint64_t systemTime = (uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
    return {ReadWindowsBootId(), BootEpoch100ns(systemTime, ::GetTickCount64())};
}

std::wstring MarkerPath() {
    return DataFolderFile(AsWide(kExitPolicyMarkerFileName).c_str());
}

std::string Utf8(const std::wstring& path) {
    return WideToUtf8(path.c_str());
}

} // namespace

uint32_t ReadWindowsBootId() {
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(
            HKEY_LOCAL_MACHINE,
            L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management\\PrefetchParameters", 0,
            KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS)
        return 0;
    const UniqueRegKey key(raw);
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (::RegQueryValueExW(key.Get(), L"BootId", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return 0;
    return value;
}

bool SaveExitPolicyMarker() {
    const std::wstring path = MarkerPath();
    if (path.empty())
        return false;
    const UserExitPolicyMarker marker = CurrentBoot();
    const ExitPolicyMarkerBytes bytes = EncodeExitPolicyMarker(marker);
    const std::wstring temporary = path + L".tmp";

    UniqueHandle file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        ::DeleteFileW(temporary.c_str());
        WardletLog("[SESSIONHOST][EXIT_POLICY][WRITE_FAIL] create error=%lu path=%s", error,
                   Utf8(temporary).c_str());
        return false;
    }
    DWORD written = 0;
    const bool wrote =
        ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    // A marker that may not reach the disk is not persisted: a flush failure counts as a failed write.
    const bool persisted = wrote && written == bytes.size() && ::FlushFileBuffers(file.Get());
    if (!persisted) {
        const DWORD error = wrote && written < bytes.size() ? DWORD{ERROR_WRITE_FAULT} : ::GetLastError();
        file.Reset();
        ::DeleteFileW(temporary.c_str());
        WardletLog("[SESSIONHOST][EXIT_POLICY][WRITE_FAIL] write error=%lu bytes=%lu", error, written);
        return false;
    }
    file.Reset();
    if (!::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = ::GetLastError();
        ::DeleteFileW(temporary.c_str());
        WardletLog("[SESSIONHOST][EXIT_POLICY][WRITE_FAIL] replace error=%lu path=%s", error,
                   Utf8(path).c_str());
        return false;
    }
    WardletLog("[SESSIONHOST][EXIT_POLICY][SAVED] windowsBootId=%lu bootEpoch100ns=%llu",
               static_cast<unsigned long>(marker.windowsBootId),
               static_cast<unsigned long long>(marker.bootEpoch100ns));
    return true;
}

bool LoadExitPolicyMarker() {
    const std::wstring path = MarkerPath();
    if (path.empty())
        return false;
    UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    ExitPolicyMarkerBytes bytes{};
    DWORD read = 0;
    const bool readOk =
        ::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    const DWORD readError = readOk ? DWORD{ERROR_INVALID_DATA} : ::GetLastError();
    file.Reset();

    const std::optional<UserExitPolicyMarker> stored =
        readOk ? DecodeExitPolicyMarker(bytes.data(), read) : std::nullopt;
    if (!stored) {
        ::DeleteFileW(path.c_str());
        WardletLog("[SESSIONHOST][EXIT_POLICY][STALE] invalid marker removed read=%lu error=%lu", read,
                   readError);
        return false;
    }
    const UserExitPolicyMarker current = CurrentBoot();
    if (IsSameWindowsBoot(*stored, current)) {
        WardletLog("[SESSIONHOST][EXIT_POLICY][RESTORED] same Windows boot; visible UI auto start remains "
                   "suppressed storedBootId=%lu currentBootId=%lu",
                   static_cast<unsigned long>(stored->windowsBootId),
                   static_cast<unsigned long>(current.windowsBootId));
        return true;
    }
    ::DeleteFileW(path.c_str());
    WardletLog("[SESSIONHOST][EXIT_POLICY][RESET_AFTER_REBOOT] storedBootId=%lu currentBootId=%lu",
               static_cast<unsigned long>(stored->windowsBootId),
               static_cast<unsigned long>(current.windowsBootId));
    return false;
}
