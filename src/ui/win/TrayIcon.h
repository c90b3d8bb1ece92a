#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// The notification-area icon (id 1, callback message 0x8411) and its balloon. UI thread only; the added
// flag is TrayFlags().iconAdded.

// Adds the icon once; a failure is logged and the next balloon or "TaskbarCreated" tries again.
void TrayAddIcon(HWND main);
void TrayRemoveIcon(HWND main);
// Adds the icon when missing, shows the balloon and (re)starts the hide timer 22787 with its time-out.
void TrayShowBalloon(HWND main, const std::wstring& text, uint32_t infoFlags, uint32_t timeoutMs);
// Empties the balloon's title and text.
void TrayHideBalloon(HWND main);
