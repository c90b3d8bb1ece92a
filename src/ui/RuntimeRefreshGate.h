#pragma once

#include <cstdint>

inline constexpr uint32_t kRuntimeRefreshRetryMs = 80;

// Holds back the runtime-state refresh while the tray menu is pending or open, so that the owner-drawn menu
// is not disturbed by repaints, and replays it once the menu is gone. UI thread only.
class RuntimeRefreshGate {
public:
    // True: refresh now. False: the refresh is remembered; the caller starts the 80 ms retry timer.
    bool Admit(bool menuBusy);

    enum class Retry { KeepWaiting, Stop, StopAndRepost };
    // On the retry timer: keep the timer while the menu is busy; else stop it, and post the runtime-state
    // message again when a refresh was held back.
    Retry OnRetryTimer(bool menuBusy);

    bool Deferred() const { return m_deferred; }

private:
    bool m_deferred = false;
};
