#pragma once

#include <cstdint>

// Clocks shared by both session run bodies.

// Milliseconds of the high-resolution monotonic counter; for measuring durations (encode, decode times).
double NowMs();
// counter * 1000 / frequency; 0.0 when the frequency is below 1 (no usable counter).
double CounterToMs(int64_t counter, int64_t frequency);

// Rate limit on the 32-bit millisecond tick (Log::TickCount): false while fewer than intervalMs have passed
// since lastTick (unsigned difference, so the tick's wrap-around is harmless); otherwise stores the tick
// in lastTick and returns true. A lastTick of 0 means "never", so the first call always passes.
bool TickRateLimit(uint32_t& lastTick, uint32_t intervalMs);
