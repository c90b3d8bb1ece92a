#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the host knows of the display layout. The host compares a fresh one with the one taken when the
// session began: a different layout ends the session so the controller reconnects with fresh sizes.

// One monitor's rectangle in virtual-screen coordinates.
struct DisplayMonitor {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t primary = 0; // 1 for the primary monitor

    bool operator==(const DisplayMonitor&) const = default;
};

struct DisplayFingerprint {
    int32_t count = 0;
    int32_t primaryWidth = 0;
    int32_t primaryHeight = 0;
    int32_t virtualLeft = 0;
    int32_t virtualTop = 0;
    int32_t virtualWidth = 0;
    int32_t virtualHeight = 0;
    int32_t hdrState = -1; // -1 when the output's colour state cannot be read
    uint32_t colorSpace = 0;
    uint32_t bitsPerColor = 0;
    std::vector<DisplayMonitor> monitors; // in SortDisplayMonitors order

    // Count, primary size and virtual size all at least 1.
    bool IsValid() const;
    // "count=2 primary=1920x1080 virtual=0,0 3840x1080 hdr=0 colorSpace=0(RGB_FULL_G22_NONE_P709) bits=8
    // monitors=#0=0,0,1920,1080P;#1=1920,0,3840,1080"
    std::string ToText() const;
};

// Ascending by left, then top, then right, then bottom, so enumeration order does not count as a change.
void SortDisplayMonitors(std::vector<DisplayMonitor>& monitors);

// Same layout: every integer and every monitor equal. The HDR state, colour space and bits count only
// when both sides could read them (HDR state 0 or more), so a probe that fails to read the colour state
// is not a display change.
bool SameDisplayLayout(const DisplayFingerprint& a, const DisplayFingerprint& b);
