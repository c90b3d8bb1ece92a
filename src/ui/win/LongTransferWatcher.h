#pragma once

#include <windows.h>

#include <cstdint>

// The long-transfer watcher: a worker that looks at the transfer model every 500 ms and, once a transfer on
// the controller side has moved longer than the configured delay, posts 0x8417 (wParam id, lParam age) to the
// main window, once per transfer id. It ends when the window is gone or the main window is being destroyed.

// Starts the worker unless one runs or the window does not exist. delayMs (the main window passes the
// LongTransferAutoShowDelayMs setting, clamped to 1..60 s) applies from the worker's next look, also to a
// worker that already runs.
void StartLongTransferWorker(HWND main, uint32_t delayMs);
// Answers 0x8417: brings the main window to the front above the foreground window and refreshes the progress
// window on it.
void ShowMainWindowForLongTransfer(HWND main, uint64_t transferId, uint32_t ageMs);
