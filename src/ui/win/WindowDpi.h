#pragma once

#include <windows.h>

#include <cstdint>

// The window's DPI: GetDpiForWindow where user32 has it (looked up at run time), else the device's logical
// pixels per inch, else 96.
uint32_t GetWindowDpi(HWND window);
// GetDpiForWindow's own answer; 0 when user32 lacks it or it gave none.
uint32_t QueryDpiForWindow(HWND window);

// Logs "<label> DPI=.. scale=.. client=.. window=.." with the nearest monitor's work area and rectangle.
void LogWindowDpi(HWND window, const char* label);
