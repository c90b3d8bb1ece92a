#pragma once

#include <cstdint>

inline constexpr uint32_t kStateViewToggleDebounceMs = 250;

// Ctrl+Alt+0 reaches the main window by several routes (its own key message, the hook, RemoteView), so one
// key press can arrive twice: a toggle less than 250 ms after the last accepted one is dropped. The first
// toggle is always accepted, whatever the tick. UI thread only.
class StateViewToggleGate {
public:
    // True when the toggle goes ahead (its tick is then recorded).
    bool Admit(uint32_t now);

private:
    bool m_toggled = false;
    uint32_t m_lastTick = 0;
};
