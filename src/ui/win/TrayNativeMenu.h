#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "core/win/Handles.h"
#include "ui/TrayMenuModel.h"

// The native menu behind the custom popup: built for every show, tracked only when the popup cannot be
// created. Its entries are owner-drawn by the main window (WM_MEASUREITEM / WM_DRAWITEM) to look like the
// popup. UI thread only.

// The root menu with its submenus, every entry owner-drawn with its TrayMenuItem as item data. An empty menu
// when any level could not be created (what was made is destroyed).
UniqueMenu BuildNativeTrayMenu(const std::vector<TrayMenuItem>& items);

// Tracks the menu at the point (right button, no notification, the command returned), with the window
// rounding hook installed for the time; an attempt that fails with an error is retried once. 0: nothing
// chosen.
uint32_t TrackNativeTrayMenu(HWND owner, HMENU menu, POINT at);

// The items and DPI the main window's measure and draw messages refer to while a menu exists; null items
// when none.
void SetNativeTrayMenuItems(const std::vector<TrayMenuItem>* items, uint32_t dpi);
// WM_MEASUREITEM / WM_DRAWITEM for one of those items; false for anything else.
bool HandleNativeTrayMenuItem(UINT message, LPARAM lParam);
