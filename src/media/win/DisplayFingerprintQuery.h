#pragma once

#include <optional>

#include "media/DisplayFingerprint.h"

// Reads the current display layout: the monitors (EnumDisplayMonitors, GetMonitorInfo), the primary size
// and the virtual screen, and the primary output's HDR state, colour space and bits per colour from
// IDXGIOutput6 (HDR state -1 when no such output can be read). A failed enumeration or an invalid result
// is logged ("[DISPLAY][HOST][ENUM] ...") and gives nullopt. Any thread; takes a few milliseconds.
std::optional<DisplayFingerprint> QueryDisplayFingerprint();
