#pragma once

#include <atomic>

#include "core/LongRunGuardLine.h"

// A resource and state sample of the process in the log, at start, every 60 s and at stop, so a long run
// shows its trend (memory, handles, threads). The sample line belongs to the media log category.
namespace LongRunGuard {
// Working set, private bytes, handle count and thread count of this process; 0 for each query that fails.
ProcessResourceCounters ReadProcessCounters();
// Logs one sample line with the counters and a runtime snapshot.
void Sample(const char* reason);
// The guard thread's body: a start sample, a periodic one every 60th one-second wake while running is
// set, and a stop sample once it is cleared.
void RunThread(const std::atomic<bool>& running);
} // namespace LongRunGuard
