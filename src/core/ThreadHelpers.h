#pragma once

#include <thread>

// Logs "[THREAD][STOP] name=%s tid=%lu"; thread procedures call it as they leave.
void LogThreadStop(const char* name);
// Detaches a worker that did not stop in time, naming its owner in the log; never throws.
void DetachWorkerThread(std::thread& thread, const char* ownerName);
