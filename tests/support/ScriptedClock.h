#pragma once

#include <cstdint>
#include <functional>
#include <map>

#include "support/TestLog.h"

// A fake of a session loop's clock (Now, Wait) that advances only when the loop waits, and drives the test
// log's tick so rate limits follow it: a test runs seconds of streaming in milliseconds. Scripted changes
// hang on the clock: each runs once, as soon as the clock reaches its tick.
template <typename ClockPort> class ScriptedClock final : public ClockPort {
public:
    ScriptedClock() { TestLog().tick = m_now; }
    uint32_t Now() override { return m_now; }
    void Wait(uint32_t ms) override { Advance(ms == 0 ? 1 : ms); }
    void Advance(uint32_t ms) {
        m_now += ms;
        TestLog().tick = m_now;
        while (!m_script.empty() && m_script.begin()->first <= m_now) {
            std::function<void()> change = std::move(m_script.begin()->second);
            m_script.erase(m_script.begin());
            change();
        }
    }
    void At(uint32_t tick, std::function<void()> change) { m_script.emplace(tick, std::move(change)); }

private:
    uint32_t m_now = 1000;
    std::multimap<uint32_t, std::function<void()>> m_script;
};
