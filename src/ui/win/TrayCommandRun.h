#pragma once

#include <windows.h>

#include <cstdint>

class IMainWindowParts;

// Carries out one command of the tray menu on the UI thread; 0 and unknown ids do nothing. What blocks (the
// network, the cable) goes to the tray's workers.
void RunTrayCommand(HWND main, uint32_t commandId, IMainWindowParts& parts);
