#pragma once

// The thread that reports stall scopes still running past their budget (see core/StallWatchdogPass.h).
namespace StallWatchdog {
// Starts the thread once; a second call does nothing until Stop. The thread is never joined.
void Start();
// Clears the running and started flags; the thread notices within one poll, logs its stop line and ends.
// Not waited for.
void Stop();
} // namespace StallWatchdog
