#pragma once

// Frees each thread's stall slot when the thread ends, whichever way it was started (std::thread,
// _beginthreadex, CreateThread), through a fiber-local-storage callback. C++ thread_local destructors are
// no substitute in this build: on threads the threads library did not start itself they were seen to
// run late, not at all, or on another thread with a dangling object.
// Call once at start-up, before any other thread enters a stall scope; later calls do nothing.
void InstallStallThreadEndHook();
