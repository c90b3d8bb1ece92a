#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/TrayMenuPaint.h"

// GDI for the tray menu: the menu font and the drawing steps of TrayMenuPaint carried out. UI thread only.

// "Segoe UI", -9 pt at the DPI, ClearType; made once per DPI and kept.
HFONT TrayMenuFont(uint32_t dpi);
// Width of text in the font, in pixels; 0 when it cannot be measured.
int32_t MeasureTrayText(HFONT font, const std::u16string& text);
void PaintTrayCommands(HDC dc, const std::vector<TrayDrawCommand>& commands, HFONT font);
// The main window's DPI: GetDpiForWindow where the system has it, else the screen's logical DPI, else 96.
uint32_t TrayWindowDpi(HWND window);
// The work area of the monitor nearest the point (the primary one's when that cannot be read).
TrayRect TrayWorkAreaAt(POINT point);
