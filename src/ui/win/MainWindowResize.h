#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/ResizeStateMachine.h"

// The main window's resize on Win32: the process-wide state machine bound to the main window, the border
// hit test, and the sizing, moving, cursor and DPI messages. UI thread only.

// The state machine, its ports acting on window.
ResizeStateMachine& MainResize(HWND window);
// The state machine as the external watchdog thread sees it (its atomics only).
ResizeStateMachine& MainResizeShared();

// The border code under screenPoint (0 inside, outside, or when fullscreen).
int32_t CustomResizeHitTest(HWND window, POINT screenPoint);

// The resize, hover and DPI messages; true with *result when handled.
bool HandleMainResizeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
// Timers 22788..22791.
void OnMainResizeTimer(HWND window, UINT_PTR id);

// Starts the "ResizeExternalWatchdog" thread for the resize with this sequence.
void StartResizeExternalWatchdog(HWND window, uint32_t sequence);
