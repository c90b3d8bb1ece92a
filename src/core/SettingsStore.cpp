#include "core/SettingsStore.h"

std::optional<uint32_t> ReadStoredDword(ISettingsStore& store, std::string_view name) {
    std::optional<StoredValue> value = store.Read(name);
    if (!value || value->type != kRegistryTypeDword || value->bytes.size() != 4)
        return std::nullopt;
    const std::vector<uint8_t>& b = value->bytes;
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}
