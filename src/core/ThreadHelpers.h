#pragma once

#include <functional>
#include <optional>
#include <string>
#include <thread>

// The calling thread's id as log lines print it ("tid=%lu").
unsigned long Tid();

// Logs "[THREAD][STOP] name=%s tid=%lu"; thread procedures call it as they leave.
void LogThreadStop(const char* name);
// Detaches a worker that did not stop in time, naming its owner in the log; never throws.
void DetachWorkerThread(std::thread& thread, const char* ownerName);
// Runs start, which creates threads; what it threw, as text ("unknown exception" for a non-standard throw),
// or nothing when it did not throw.
std::optional<std::string> ThreadStartFailure(const std::function<void()>& start);
