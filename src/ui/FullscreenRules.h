#pragma once

#include <cstdint>
#include <string>

#include "ui/MainWindowGeometry.h"
#include "ui/StateViewToggleGate.h"

// Fullscreen of the main window: the style change, the toggle's debounce and the hint that says how to
// leave, which counts down 5, 4, 3, 2, 1 seconds and then goes.

// Window style bits (the Win32 values), so that the transform can be checked without Windows.
inline constexpr uint32_t kStylePopup = 0x80000000u;
inline constexpr uint32_t kStyleCaption = 0x00C00000u;
inline constexpr uint32_t kStyleSysMenu = 0x00080000u;
inline constexpr uint32_t kStyleThickFrame = 0x00040000u;
inline constexpr uint32_t kStyleMinimizeBox = 0x00020000u;
inline constexpr uint32_t kStyleMaximizeBox = 0x00010000u;
inline constexpr uint32_t kExStyleWindowEdge = 0x00000100u;
inline constexpr uint32_t kExStyleClientEdge = 0x00000200u;

struct WindowStyles {
    uint32_t style = 0;
    uint32_t exStyle = 0;
};

// The saved styles without caption, system menu, sizing frame and the two boxes, with the popup style; the
// extended style without window and client edge. Everything else is kept.
WindowStyles FullscreenStyles(const WindowStyles& saved);

// Fullscreen toggles arrive by several routes for one key press (the window's key message, the hook's
// poll): one less than 250 ms after the last is dropped, like the StateView toggle.
using FullscreenToggleGate = StateViewToggleGate;

// The hint's countdown in seconds (timer 22788, one tick a second).
class FullscreenHintCountdown {
public:
    static constexpr int32_t kStartSeconds = 5;

    void Start() { m_seconds = kStartSeconds; }
    // One timer tick: true while the hint stays (Seconds() is then the new value to show); false when it
    // is to be hidden and destroyed, the countdown then at 0.
    bool Tick();
    int32_t Seconds() const { return m_seconds; }

private:
    int32_t m_seconds = 0;
};

// The hint's rectangle in screen coordinates: 560 x 48 scaled by dpi / 96, 28 (scaled) below the top of
// main, centred on it but never left of its left edge.
WindowRect FullscreenHintRect(const WindowRect& main, uint32_t dpi);

// The hint's texts, UTF-8.
std::string FullscreenHintBaseText(bool english);
std::string FullscreenHintCountdownText(bool english, int32_t seconds);
