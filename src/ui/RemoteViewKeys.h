#pragma once

#include <cstdint>

// What RemoteView does with a key-down: its two local shortcuts are handled here and never reach the peer.
enum class RemoteViewKeyAction {
    Send,              // an ordinary key for the peer
    ToggleFullscreen,  // Ctrl+Alt+F11
    ToggleStateView,   // Ctrl+Alt+0
    StateViewDebounced // Ctrl+Alt+0 again within the debounce time: ignored
};

// The StateView shortcut of one window: a toggle less than kStateViewDebounceMs after the previous one is
// ignored, so a key repeat or a double press does not flip the panel back at once.
inline constexpr uint32_t kStateViewDebounceMs = 250;

class StateViewDebounce {
public:
    // True, and remembers now, when a toggle may happen at tick now (a 32-bit tick that wraps).
    bool Accept(uint32_t now);

private:
    bool m_hasToggled = false;
    uint32_t m_lastToggle = 0;
};

// message: WM_KEYDOWN or WM_SYSKEYDOWN (any other message is Send). ctrl and alt: either key of the pair
// is down.
RemoteViewKeyAction DecideRemoteViewKeyDown(uint32_t virtualKey, bool ctrl, bool alt, uint32_t now,
                                            StateViewDebounce& debounce);
