#pragma once

#include <cstdint>

// Which hover line the border code under the cursor earns: a line when it changes, and one "keep" line at
// most every 1500 ms while it stays. Only for the resize debug category; UI thread only.
class ResizeHoverLog {
public:
    static constexpr uint64_t kKeepIntervalMs = 1500;

    enum class Line { None, Changed, Keep };
    Line Observe(int32_t hit, uint64_t now);
    // The cursor left the window: the next code counts as a change.
    void Forget() { m_known = false; }

private:
    bool m_known = false;
    int32_t m_hit = 0;
    uint64_t m_lastLogTick = 0;
};
