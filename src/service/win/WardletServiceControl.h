#pragma once

#include <cstdint>

// Wardlet's registration with the Service Control Manager. Each returns the process exit code: 0, or the
// Win32 error of the first call that failed; nothing is retried.

// Creates the service, or brings an existing one up to date, and starts it (kWardletExitNotElevated when
// this process is not elevated).
uint32_t InstallWardletService();
uint32_t StopWardletService();
// Stops (ignoring the result, so a stopped service is still removed) and deletes the service.
uint32_t UninstallWardletService();
// Hands this process to the Service Control Manager; returns when the service has stopped.
uint32_t RunWardletServiceDispatcher();
