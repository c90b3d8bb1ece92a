#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "ui/TrayMenuModel.h"

inline constexpr wchar_t kTrayPopupClass[] = L"MarloRoundedTrayPopupMenu";

// Runs the owner-drawn rounded popup at the cursor point on the UI thread until an entry is chosen or the
// menu is dismissed (a button press outside every level, or Escape). The chosen command (0: none), or
// nothing when the root popup could not be created (GetLastError tells why): the caller falls back to the
// native menu.
std::optional<uint32_t> RunTrayPopup(HWND owner, const std::vector<TrayMenuItem>& items, POINT at,
                                     uint32_t dpi);
