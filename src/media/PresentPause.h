#pragma once

#include <cstdint>

// The main window's request to hold presents while it lays itself out: a flag for as long as a layout pass
// runs, and a deadline (monotonic milliseconds, GetTickCount64 on Windows; 0 = none) until which presents
// stay held after it. The main window writes them; the render loop reads them before each draw.
void SetRemoteViewPresentPause(bool active);
void SetRemoteViewPresentPauseUntil(uint64_t deadlineTick);

struct PresentPauseState {
    bool active = false;
    uint64_t deadlineTick = 0;
};
PresentPauseState ReadRemoteViewPresentPause();

// Frames the pause held back, for the main window's line when it lifts the pause. Take returns the count
// and starts it again.
void CountRemoteViewPresentPauseSkip();
uint32_t TakeRemoteViewPresentPauseSkips();
