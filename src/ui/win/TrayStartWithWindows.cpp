#include "ui/win/TrayStartWithWindows.h"

#include "core/Log.h"
#include "core/win/Handles.h"
#include "ui/StartWithWindowsPreference.h"

namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\Marlo\\Settings";
constexpr wchar_t kValueName[] = L"StartWithWindows";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kLegacyRunValue[] = L"Tessaly";

StartWithWindowsCache& Cache() {
    static StartWithWindowsCache cache;
    return cache;
}

StartupValueRead ReadValue() {
    StartupValueRead read;
    HKEY raw = nullptr;
    read.openRc = ::RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, &raw);
    if (read.openRc != ERROR_SUCCESS)
        return read;
    UniqueRegKey key(raw);
    DWORD type = 0, value = 0, size = sizeof value;
    read.queryRc =
        ::RegQueryValueExW(key.Get(), kValueName, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    read.type = type;
    read.size = size;
    read.value = value;
    return read;
}

// The Run entry of older versions would start the program a second way; the service starts it now.
void DeleteLegacyRunEntry() {
    HKEY raw = nullptr;
    LONG rc = ::RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &raw);
    if (rc == ERROR_FILE_NOT_FOUND)
        return;
    if (rc != ERROR_SUCCESS) {
        Log::Write("Tray startup legacy Run open failed rc=%ld", static_cast<long>(rc));
        return;
    }
    UniqueRegKey key(raw);
    rc = ::RegDeleteValueW(key.Get(), kLegacyRunValue);
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND)
        Log::Write("Tray startup legacy Run delete failed rc=%ld", static_cast<long>(rc));
}

} // namespace

bool GetStartWithWindows(bool forceReload) {
    StartWithWindowsCache& cache = Cache();
    const uint32_t now = ::GetTickCount();
    if (!cache.IsFresh(now, forceReload))
        cache.Store(InterpretStartupValue(ReadValue()), now);
    return cache.Value();
}

bool SetStartWithWindows(bool enable) {
    HKEY raw = nullptr;
    LONG rc = ::RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw,
                                nullptr);
    if (rc != ERROR_SUCCESS) {
        Log::Write("Tray startup preference open failed rc=%ld", static_cast<long>(rc));
        return false;
    }
    UniqueRegKey key(raw);
    const DWORD value = enable ? 1 : 0;
    rc = ::RegSetValueExW(key.Get(), kValueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value);
    const bool ok = rc == ERROR_SUCCESS;
    if (ok) {
        DeleteLegacyRunEntry();
        Cache().Store(enable, ::GetTickCount());
    }
    Log::Write("Tray startup preference set enable=%d result=%d rc=%ld", enable ? 1 : 0, ok ? 1 : 0,
               static_cast<long>(rc));
    return ok;
}
