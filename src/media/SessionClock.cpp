#include "media/SessionClock.h"

#include <chrono>

#include "core/Log.h"

namespace {

using Counter = std::chrono::steady_clock;

// Counter ticks per second; steady_clock is QueryPerformanceCounter on Windows.
int64_t CounterFrequency() {
    return static_cast<int64_t>(Counter::period::den / Counter::period::num);
}

} // namespace

double CounterToMs(int64_t counter, int64_t frequency) {
    if (frequency < 1)
        return 0.0;
    return static_cast<double>(counter) * 1000.0 / static_cast<double>(frequency);
}

double NowMs() {
    static const int64_t frequency = CounterFrequency(); // read once, thread-safe initialisation
    return CounterToMs(static_cast<int64_t>(Counter::now().time_since_epoch().count()), frequency);
}

bool TickRateLimit(uint32_t& lastTick, uint32_t intervalMs) {
    const uint32_t now = Log::TickCount();
    if (lastTick != 0 && static_cast<uint32_t>(now - lastTick) < intervalMs)
        return false;
    lastTick = now;
    return true;
}
