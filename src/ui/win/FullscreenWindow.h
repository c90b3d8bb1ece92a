#pragma once

#include <windows.h>

// Fullscreen of the main window and its hint ("Press Ctrl+Alt+F11 to exit full screen"), which shows for
// five seconds after each entry. UI thread only.

// Enters or leaves fullscreen (at most once per 250 ms), then focuses RemoteView. Null source:
// "Ctrl+Alt+F11".
void ToggleFullscreen(HWND window, const char* source);
bool IsFullscreen();
// Places the hint over the top of the window (after every layout while fullscreen).
void PositionFullscreenHint(HWND window);
// Timer 22788: counts the hint down and ends it after the last second.
void OnFullscreenHintTimer(HWND window);
// Kills the countdown and destroys the hint.
void EndFullscreenHint(HWND window);
HWND FullscreenHintWindow();
