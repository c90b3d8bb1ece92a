#pragma once

// The cable's presence as the router and the tray see it, probed on the exported functions' device context.
namespace HidPresence {
// The cached result while it is under a second old, else a new search (1 present, -1 not).
int Probe();
// The last result without searching (-1 before the first probe).
int Cached();
} // namespace HidPresence

// Probes on a short-lived thread: at most one start per second unless forced, one probe at a time. The
// result becomes the worker's availability. False when no probe was started.
bool StartHidProbeAsync(const char* reason, bool force = false);
bool IsHidProbeRunning();
