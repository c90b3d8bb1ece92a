#include "core/win/RegistryStore.h"

#include "core/win/Handles.h"

namespace {

// Value names are ASCII constants of the program.
std::wstring WideName(std::string_view name) {
    return std::wstring(name.begin(), name.end());
}

} // namespace

std::optional<StoredValue> RegistryStore::Read(std::string_view name) {
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(m_root, m_subKey.c_str(), 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS)
        return std::nullopt;
    UniqueRegKey key(raw);
    DWORD type = 0;
    BYTE data[4] = {};
    DWORD size = sizeof data;
    if (::RegQueryValueExW(key.Get(), WideName(name).c_str(), nullptr, &type, data, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return StoredValue{type, std::vector<uint8_t>(data, data + size)};
}

StoreResult RegistryStore::WriteDword(std::string_view name, uint32_t value) {
    HKEY raw = nullptr;
    LONG rc = ::RegCreateKeyExW(m_root, m_subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                nullptr, &raw, nullptr);
    if (rc != ERROR_SUCCESS)
        return StoreResult{rc, StoreResult::Step::Open};
    UniqueRegKey key(raw);
    DWORD data = value;
    rc = ::RegSetValueExW(key.Get(), WideName(name).c_str(), 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&data), sizeof data);
    return StoreResult{rc, StoreResult::Step::Value};
}

StoreResult RegistryStore::DeleteValue(std::string_view name) {
    HKEY raw = nullptr;
    LONG rc = ::RegOpenKeyExW(m_root, m_subKey.c_str(), 0, KEY_SET_VALUE, &raw);
    if (rc != ERROR_SUCCESS)
        return StoreResult{rc, StoreResult::Step::Open};
    UniqueRegKey key(raw);
    rc = ::RegDeleteValueW(key.Get(), WideName(name).c_str());
    return StoreResult{rc, StoreResult::Step::Value};
}
