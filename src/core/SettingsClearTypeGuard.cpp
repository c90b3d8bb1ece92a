#include "core/SettingsClearTypeGuard.h"

#include "core/Log.h"

namespace {
constexpr const char* kActive = "Active";
} // namespace

bool TextClearTypeGuard::ReadPending(uint32_t& wasEnabled, uint32_t& oldType) {
    std::optional<uint32_t> active = ReadStoredDword(m_store, kActive);
    if (!active || *active == 0)
        return false;
    std::optional<uint32_t> enabled = ReadStoredDword(m_store, "WasEnabled");
    std::optional<uint32_t> type = ReadStoredDword(m_store, "OldType");
    if (!enabled || !type)
        return false;
    wasEnabled = *enabled;
    oldType = *type;
    return true;
}

void TextClearTypeGuard::Clear() {
    StoreResult r = m_store.WriteDword(kActive, 0);
    if (r.Ok())
        return;
    if (r.step == StoreResult::Step::Open)
        Log::Write("[TEXT][CLEARTYPE][REG][FAIL] open rc=%ld name=%s", r.rc, kActive);
    else
        Log::Write("[TEXT][CLEARTYPE][REG][FAIL] write rc=%ld name=%s", r.rc, kActive);
}

bool TextClearTypeGuard::ApplySaved(uint32_t wasEnabled, uint32_t oldType) {
    bool ok = true;
    FontSmoothingResult r = m_smoothing.SetEnabled(wasEnabled != 0);
    if (!r.ok) {
        Log::Write("[TEXT][CLEARTYPE][SET_ENABLE][FAIL] enabled=%d err=%lu", wasEnabled != 0 ? 1 : 0,
                   r.error);
        ok = false;
    }
    if (wasEnabled != 0) {
        r = m_smoothing.SetType(oldType);
        if (!r.ok) {
            Log::Write("[TEXT][CLEARTYPE][SET_TYPE][FAIL] type=%u err=%lu", static_cast<unsigned>(oldType),
                       r.error);
            ok = false;
        }
    }
    return ok;
}

void TextClearTypeGuard::Restore(const char* reason) {
    std::lock_guard<std::mutex> lock(m_mutex);
    uint32_t wasEnabled = 0;
    uint32_t oldType = 0;
    if (!ReadPending(wasEnabled, oldType)) {
        Log::Write("[TEXT][CLEARTYPE][RESTORE] no active guard reason=%s", reason);
        return;
    }
    if (ApplySaved(wasEnabled, oldType)) {
        Clear();
        Log::Write("[TEXT][CLEARTYPE][RESTORE] ok=1 wasEnabled=%u oldType=%u reason=%s",
                   static_cast<unsigned>(wasEnabled), static_cast<unsigned>(oldType), reason);
    } else {
        Log::Write("[TEXT][CLEARTYPE][RESTORE][FAIL] wasEnabled=%u oldType=%u reason=%s",
                   static_cast<unsigned>(wasEnabled), static_cast<unsigned>(oldType), reason);
    }
}

void TextClearTypeGuard::RestoreAtStartup(const char* reason) {
    std::lock_guard<std::mutex> lock(m_mutex);
    uint32_t wasEnabled = 0;
    uint32_t oldType = 0;
    if (!ReadPending(wasEnabled, oldType)) {
        Log::Write("[TEXT][CLEARTYPE][STARTUP] no pending restore reason=%s", reason);
        return;
    }
    Log::Write("[TEXT][CLEARTYPE][STARTUP_RESTORE] wasEnabled=%u oldType=%u reason=%s",
               static_cast<unsigned>(wasEnabled), static_cast<unsigned>(oldType), reason);
    if (ApplySaved(wasEnabled, oldType)) {
        Clear();
        Log::Write("[TEXT][CLEARTYPE][RESTORE] ok=1 source=startup reason=%s", reason);
    } else {
        Log::Write("[TEXT][CLEARTYPE][RESTORE][FAIL] source=startup reason=%s", reason);
    }
}
