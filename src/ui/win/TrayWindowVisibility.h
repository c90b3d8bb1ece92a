#pragma once

#include <windows.h>

class IMainWindowParts;

// Hiding the main window to the tray and bringing it back. UI thread only. The transfer progress window is
// the parts' to hide (it goes with the main window).
void TrayHideMainWindow(HWND main, IMainWindowParts& parts);
void TrayRestoreMainWindow(HWND main, IMainWindowParts& parts);
