#include "input/win/HidPresence.h"

#include <windows.h>

#include <mutex>
#include <string>
#include <thread>

#include "core/Log.h"
#include "input/HidProbeRules.h"
#include "input/win/HidCableAccess.h"
#include "input/win/InputRouterState.h"

namespace {

HidPresenceCache& Cache() {
    static HidPresenceCache* cache = new HidPresenceCache();
    return *cache;
}

HidProbeGate& Gate() {
    static HidProbeGate* gate = new HidProbeGate();
    return *gate;
}

std::mutex g_resultLogMutex;
ProbeResultLog g_resultLog; // under g_resultLogMutex

void HidProbeThread(const std::string& reason) {
    if (Log::IsDebugCategoryEnabled("hid"))
        Log::Write("[HIDPROBE][START] reason=%s", reason.c_str());
    const uint32_t start = ::GetTickCount();
    const int result = HidPresence::Probe();
    const uint32_t cost = ::GetTickCount() - start;
    RouterState().hidAvailable.store(result == 1 ? 1 : -1);
    Gate().End();
    bool log = false;
    {
        std::lock_guard<std::mutex> lock(g_resultLogMutex);
        log = g_resultLog.ShouldLog(Log::IsDebugCategoryEnabled("hid"), result, cost, ::GetTickCount());
    }
    if (log)
        Log::Write("[HIDPROBE][RESULT] reason=%s ret=%d cost_ms=%lu", reason.c_str(), result,
                   static_cast<unsigned long>(cost));
}

} // namespace

namespace HidPresence {

int Probe() {
    return Cache().Probe(::GetTickCount(), [] { return SearchHidFromAccess(); });
}

int Cached() {
    return Cache().Cached();
}

} // namespace HidPresence

bool StartHidProbeAsync(const char* reason, bool force) {
    if (!Gate().TryBegin(force, ::GetTickCount()))
        return false;
    std::string why = reason != nullptr ? reason : "";
    try {
        std::thread([why] { HidProbeThread(why); }).detach();
    } catch (const std::exception& e) {
        Gate().End();
        Log::Write("[HIDPROBE][ERROR] thread start failed reason=%s what=%s", why.c_str(), e.what());
        return false;
    }
    return true;
}

bool IsHidProbeRunning() {
    return Gate().Running();
}
