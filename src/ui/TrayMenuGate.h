#pragma once

#include <cstdint>

// The tray's process-wide flags. The tray owns them; the main window reads them to coalesce menu requests
// and to hold back repaints while the menu is up. UI thread only.
struct TrayUiFlags {
    bool iconAdded = false;
    bool menuRequestPending = false;
    uint32_t menuRequestTick = 0; // tick of the last posted request
    bool menuOpen = false;
    int32_t menuX = 0, menuY = 0; // cursor point taken with the request
};
TrayUiFlags& TrayFlags();

// A request counts as pending or the menu is up: repaints wait.
inline bool IsTrayMenuBusy(const TrayUiFlags& flags) {
    return flags.menuRequestPending || flags.menuOpen;
}

// What a tray notify event (the low word of lParam) asks for.
enum class TrayNotifyAction { Ignore, Restore, RequestMenu };
TrayNotifyAction ClassifyTrayNotify(uint32_t event);

inline constexpr uint32_t kTrayMenuCoalesceMs = 300;

enum class TrayMenuRequest { IgnoredMenuOpen, Coalesced, Post };
// Open menu: ignored. A request still pending from less than 300 ms ago: coalesced. Else post a new one.
// Ticks wrap: only the difference counts.
TrayMenuRequest DecideTrayMenuRequest(const TrayUiFlags& flags, uint32_t now);
