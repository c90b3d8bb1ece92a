#include "input/HidProbeRules.h"

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StateManager.h"

int HidPresenceCache::Probe(uint32_t now, const std::function<int()>& search) {
    std::lock_guard<std::mutex> lock(m_probeMutex);
    const int cached = m_cached.load();
    if (cached != -1 && now - m_tick < kFreshMs)
        return cached;
    const int result = search() == 1 ? 1 : -1;
    m_cached.store(result);
    m_tick = now;
    RuntimeStateManager().SetHidPresent(result == 1, result == 1 ? "HidProbePresent" : "HidProbeMissing");
    if (result != m_lastLogged) {
        m_lastLogged = result;
        Log::Write("[HW][HID] present=%d", result);
    }
    return result;
}

bool HidProbeGate::TryBegin(bool force, uint32_t now) {
    if (!force && m_hasStarted.load() && now - m_lastStart.load() < kMinIntervalMs)
        return false;
    bool idle = false;
    if (!m_running.compare_exchange_strong(idle, true))
        return false;
    m_lastStart.store(now);
    m_hasStarted.store(true);
    return true;
}

void HidProbeGate::End() {
    m_running.store(false);
}

bool ProbeResultLog::ShouldLog(bool hidCategoryOn, int result, uint32_t costMs, uint32_t now) {
    const bool quietRepeat = !hidCategoryOn && hasLogged && result == lastResult && costMs < kSlowProbeMs &&
                             now - lastTick < kRepeatMs;
    if (quietRepeat)
        return false;
    hasLogged = true;
    lastResult = result;
    lastTick = now;
    return true;
}
