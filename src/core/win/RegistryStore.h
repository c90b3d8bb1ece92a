#pragma once

#include <windows.h>

#include <string>

#include "core/SettingsStore.h"

// One key under a registry root, read and written value by value with its own open of the key each time.
class RegistryStore : public ISettingsStore {
public:
    RegistryStore(HKEY root, std::wstring subKey) : m_root(root), m_subKey(std::move(subKey)) {}

    // Only values of up to 4 bytes are read whole; a longer one fails as ERROR_MORE_DATA.
    std::optional<StoredValue> Read(std::string_view name) override;
    StoreResult WriteDword(std::string_view name, uint32_t value) override;
    StoreResult DeleteValue(std::string_view name) override;

private:
    HKEY m_root;
    std::wstring m_subKey;
};
