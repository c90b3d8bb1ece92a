#pragma once

#include <cstdint>

// The start-with-Windows preference: REG_DWORD "StartWithWindows" under HKCU "Software\Marlo\Settings",
// which the service reads from the logged-on user's hive. A missing key or value means enabled.

// What one read of the value found: the Win32 codes of opening the key and of querying the value (0 =
// success; the query is not made when the open failed), and the value's type, size and content.
struct StartupValueRead {
    long openRc = 0;
    long queryRc = 0;
    uint32_t type = 0;
    uint32_t size = 0;
    uint32_t value = 0;
};

// The preference a read stands for. A read that fails for another reason than a missing key or value, or
// finds a value of another type or size, falls back to enabled with a log line.
bool InterpretStartupValue(const StartupValueRead& read);

// The value with the tick it was read at; a read younger than 60 s is used again unless a reload is
// forced. UI thread only.
class StartWithWindowsCache {
public:
    static constexpr uint32_t kMaxAgeMs = 60000;

    // True when the cached value may be used now. Ticks wrap: only the difference counts.
    bool IsFresh(uint32_t now, bool forceReload) const {
        return !forceReload && m_read && now - m_tick < kMaxAgeMs;
    }
    bool Value() const { return m_value; }
    void Store(bool value, uint32_t now) {
        m_value = value;
        m_tick = now;
        m_read = true;
    }

private:
    bool m_read = false;
    bool m_value = true;
    uint32_t m_tick = 0;
};
