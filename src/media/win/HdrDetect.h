#pragma once

#include <windows.h>

#include <cstdint>

// What Windows shows on the display output under a window or rectangle, read through DXGI
// (IDXGIOutput6::GetDesc1). Diagnostics only: a failure loses a log line and nothing else.

struct HdrOutputInfo {
    bool windowsHdr = false; // the output's colour space is RGB_FULL_G2084_NONE_P2020
    uint32_t bitsPerColor = 0;
    float maxLuminance = 0.0f;
};

// The first output whose desktop rectangle intersects the target (the window's rectangle for a valid
// window, else rect) and that offers IDXGIOutput6. False when none does; log writes the detection line.
bool DetectHdr(HWND window, const RECT& rect, HdrOutputInfo& info, bool log);

// Logs every adapter and output with its colour description, under tag.
void LogOutputColors(const char* tag, HWND window, const RECT& rect);
