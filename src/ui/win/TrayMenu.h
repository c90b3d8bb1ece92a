#pragma once

#include <windows.h>

class IMainWindowParts;

// Shows the tray menu at the point (screen) and runs the chosen command; one menu at a time. UI thread only:
// the popup's loop keeps the thread's messages (and its low-level hooks) served while it is up.
void TrayShowMenu(HWND main, POINT at, const char* source, IMainWindowParts& parts);
