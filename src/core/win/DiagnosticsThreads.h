#pragma once

// Start-up: the long-run guard thread (once) and the stall watchdog.
void StartDiagnosticsThreads();
// Shutdown: clears the running and started flags of both; each thread ends on its own, not waited for.
void StopDiagnosticsThreads();
