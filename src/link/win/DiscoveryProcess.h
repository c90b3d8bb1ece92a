#pragma once

// Starting and stopping the process-wide discovery service (link/Discovery.h): its UDP sockets and its four
// threads (link/DiscoveryThreads.h). The lifecycle module "Discovery" calls them.
namespace Discovery {

// Installs the Windows platform, builds the local identity from the computer name and starts the threads;
// true at once when already running, false when a thread could not be started (nothing then runs).
bool Start();
// Stops the threads (joined, or detached after DiscoveryThreads::kStopWaitMs) and so releases the ports.
// Safe without Start.
void Stop();

} // namespace Discovery
