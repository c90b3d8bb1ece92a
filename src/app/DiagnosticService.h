#pragma once

#include <atomic>
#include <functional>

class StateManager;

// The diagnostic service: a thread that logs the StateManager's view of the system from time to time,
// puts the input route back on TCP where it was left on HID, and warns about flags that contradict each
// other.
namespace DiagnosticService {

// One pass over the process-wide StateManager: route repair, the snapshot lines, the warning.
void LogSnapshot(const char* reason);
void LogSnapshot(const char* reason, StateManager& state);

// The thread body: a pass at start, a periodic pass every 60 s (10 s with the "state" category) while
// running is set, and a last pass once it is cleared. Notices the cleared flag within a second.
void ThreadProc(std::atomic<bool>& running);
// The same over a given StateManager; sleepOneSecond stands for the one-second pause.
void ThreadProc(std::atomic<bool>& running, StateManager& state, const std::function<void()>& sleepOneSecond);

} // namespace DiagnosticService
