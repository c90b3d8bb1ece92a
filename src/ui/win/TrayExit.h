#pragma once

#include <windows.h>

// The tray's Exit: tells the service that the user closed the program (so it does not start the user host
// again until the next boot), then stops the lifecycle modules on a worker and has the main window destroyed
// (0x8410). A second Exit while closing starts no second shutdown.
void TrayExitProgram(HWND main);

// Lets the next main window of this process be closed again (a process that makes one after the first
// closed, as the tests do).
void ResetTrayAsyncClose();
