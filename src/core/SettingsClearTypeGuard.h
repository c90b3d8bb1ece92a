#pragma once

#include <cstdint>
#include <mutex>

#include "core/SettingsStore.h"

struct FontSmoothingResult {
    bool ok = true;
    unsigned long error = 0; // the system's error code when the call failed
};

// The system's font-smoothing switches; every change is saved to the user profile and broadcast.
class IFontSmoothing {
public:
    virtual ~IFontSmoothing() = default;
    virtual FontSmoothingResult SetEnabled(bool enabled) = 0;
    virtual FontSmoothingResult SetType(uint32_t type) = 0;
};

// Undoes a font-smoothing change that an earlier run left pending in the guard key ("Active", "WasEnabled",
// "OldType"). This program never arms a guard; it only restores and clears one.
class TextClearTypeGuard {
public:
    TextClearTypeGuard(ISettingsStore& store, IFontSmoothing& smoothing)
        : m_store(store), m_smoothing(smoothing) {}

    // True only when "Active" is a non-zero 4-byte REG_DWORD and "WasEnabled" and "OldType" are 4-byte
    // REG_DWORDs.
    bool ReadPending(uint32_t& wasEnabled, uint32_t& oldType);
    // Writes "Active" = 0, creating the key when needed.
    void Clear();
    // Puts back the saved font smoothing and clears the guard when every call succeeded.
    void Restore(const char* reason);
    // The same at settings load, with the start-up log lines.
    void RestoreAtStartup(const char* reason);

private:
    bool ApplySaved(uint32_t wasEnabled, uint32_t oldType);

    ISettingsStore& m_store;
    IFontSmoothing& m_smoothing;
    std::mutex m_mutex;
};
