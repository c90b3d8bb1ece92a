#include "core/Log.h"
#include "ui/ResizeStateMachine.h"

namespace {

unsigned long Ul(uint64_t v) {
    return static_cast<unsigned long>(v);
}

} // namespace

// Timer 22790: ends a resize whose end message never came. The window's timers run whenever its thread
// pumps, so this catches every case but a modal loop that stopped dispatching (the external watchdog's).
void ResizeStateMachine::OnWatchdogTimer() {
    if (m_state == State::Idle) {
        m_ports.KillTimer(kResizeWatchdogTimer);
        return;
    }
    if (m_state == State::Exiting) {
        const uint64_t exitMs = Since(m_exitTick);
        if (exitMs < kWatchdogIdleMs)
            return;
        if (m_deferredLayout) {
            Log::Write("[RESIZE-SM][WATCHDOG] force apply exiting layout exitMs=%lu", Ul(exitMs));
            ApplyFinalLayout("watchdog/exiting-force-apply");
        } else {
            Complete("watchdog/exiting-no-deferred");
        }
        return;
    }
    const uint64_t idleMs = Since(m_lastActivityTick);
    const uint64_t activeMs = Since(m_enterTick);
    const bool leftDown = m_ports.LeftButtonDown();
    // Keyboard sizing runs with the button up and pauses between key presses: it ends with its own exit
    // message (or a capture change), never by these rescues.
    if (!leftDown && !m_keyboardSizing && idleMs >= kWatchdogIdleMs) {
        Log::Write("[RESIZE-SM][WATCHDOG] force exit: lbutton up activeMs=%lu idleMs=%lu custom=%d",
                   Ul(activeMs), Ul(idleMs), m_custom.active ? 1 : 0);
        if (m_custom.active)
            EndCustom("watchdog/custom-lbutton-up-idle", true);
        else
            Exit("watchdog/lbutton-up-idle", true);
        return;
    }
    if (leftDown && idleMs >= kWatchdogStaleMs) {
        Log::Write("[RESIZE-SM][WATCHDOG] force exit: stale active resize activeMs=%lu idleMs=%lu lbutton=%d",
                   Ul(activeMs), Ul(idleMs), 1);
        // A drag left running would keep the capture and the present guard, and every later step would
        // move the window with the state IDLE, laying the children out on each one.
        if (m_custom.active)
            EndCustom("watchdog/stale-active", true);
        else
            Exit("watchdog/stale-active", true);
        return;
    }
    if (Throttle(m_watchdogLogTick, 1000)) {
        Log::Write(
            "[RESIZE-SM][WATCHDOG] active state=%s activeMs=%lu idleMs=%lu lbutton=%d rendererActive=%d "
            "deferred=%d",
            StateName(static_cast<uint32_t>(m_state)), Ul(activeMs), Ul(idleMs), leftDown ? 1 : 0,
            m_ports.RendererFrozen() ? 1 : 0, m_deferredLayout ? 1 : 0);
    }
}
