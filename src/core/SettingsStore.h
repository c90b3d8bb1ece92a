#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// The registry's own codes, as the settings code decides on them.
constexpr uint32_t kRegistryTypeDword = 4; // REG_DWORD
constexpr long kRegistryNotFound = 2;      // ERROR_FILE_NOT_FOUND

// A value as the registry holds it.
struct StoredValue {
    uint32_t type = 0;
    std::vector<uint8_t> bytes;
};

// Outcome of a write or delete: rc 0 is success, else the Win32 code of the call that failed.
struct StoreResult {
    enum class Step { Open, Value };
    long rc = 0;
    Step step = Step::Value;
    bool Ok() const { return rc == 0; }
};

// One registry key of named values; every call opens and closes the key on its own.
class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    // The value as stored, or nothing when the key or the value cannot be read.
    virtual std::optional<StoredValue> Read(std::string_view name) = 0;
    // Creates the key when it is missing and stores a REG_DWORD.
    virtual StoreResult WriteDword(std::string_view name, uint32_t value) = 0;
    // Opens the existing key for writing and deletes the value.
    virtual StoreResult DeleteValue(std::string_view name) = 0;
};

// The value when it is stored as a REG_DWORD of exactly 4 bytes; anything else counts as not stored.
std::optional<uint32_t> ReadStoredDword(ISettingsStore& store, std::string_view name);
