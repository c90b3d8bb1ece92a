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
// Runs body on a new thread that nobody joins (short workers whose owner never waits for them). The thread
// logs "[THREAD][START] name=%s tid=%lu" and "[THREAD][STOP] ...", and catches and logs anything the body
// throws. name must live to the end of the process. False, with the reason in error when given, when the
// thread cannot be created.
bool StartDetachedWorker(const char* name, std::function<void()> body, std::string* error = nullptr);
