#include "ui/ResizeStateMachine.h"

#include "core/Log.h"

namespace {

unsigned long Ul(uint64_t v) {
    return static_cast<unsigned long>(v);
}

const char* Or(const char* reason, const char* fallback) {
    return reason != nullptr ? reason : fallback;
}

} // namespace

const char* ResizeStateMachine::StateName(uint32_t state) {
    switch (state) {
    case 0:
        return "IDLE";
    case 1:
        return "ACTIVE";
    case 2:
        return "EXITING";
    default:
        return "UNKNOWN";
    }
}

uint64_t ResizeStateMachine::Since(uint64_t tick) const {
    const uint64_t now = m_ports.Now();
    return now > tick ? now - tick : 0;
}

bool ResizeStateMachine::Throttle(uint64_t& lastTick, uint64_t intervalMs) {
    const uint64_t now = m_ports.Now();
    if (lastTick != 0 && now - lastTick < intervalMs)
        return false;
    lastTick = now != 0 ? now : 1;
    return true;
}

bool ResizeStateMachine::LayoutAllowed() {
    return m_state == State::Idle && !m_resizing && !m_ports.RendererFrozen();
}

void ResizeStateMachine::LogTransition(const char* what, State from, const char* reason) {
    Log::Write("[RESIZE-SM] %s seq=%lu %s -> %s reason=%s lbutton=%d rendererActive=%d deferred=%d", what,
               Ul(m_sequence), StateName(static_cast<uint32_t>(from)),
               StateName(static_cast<uint32_t>(m_state)), Or(reason, ""), m_ports.LeftButtonDown() ? 1 : 0,
               m_ports.RendererFrozen() ? 1 : 0, m_deferredLayout ? 1 : 0);
}

void ResizeStateMachine::Enter(const char* reason, bool keyboardSizing) {
    m_lastActivityTick = m_ports.Now();
    if (m_state == State::Active) {
        if (!m_ports.RendererFrozen()) {
            Log::Write("[RESIZE-SM] renderer guard re-entered while UI state ACTIVE reason=%s",
                       Or(reason, ""));
            m_ports.FreezeRenderer(true);
        }
        m_sharedState.store(1);
        m_ports.SetTimer(kResizeWatchdogTimer, kResizeWatchdogIntervalMs);
        return;
    }
    const State from = m_state;
    ++m_sequence;
    m_state = State::Active;
    m_resizing = true;
    m_keyboardSizing = keyboardSizing;
    m_enterTick = m_lastActivityTick;
    m_exitTick = 0;
    m_deferredLayout = false;
    m_sharedState.store(1);
    m_watchdogSequence.store(m_sequence);
    m_ports.KillTimer(kResizeFinalLayoutTimer);
    m_ports.SetTimer(kResizeWatchdogTimer, kResizeWatchdogIntervalMs);
    m_ports.FreezeRenderer(true);
    m_escSent.store(false);
    // Keyboard sizing has the button up all along: the external watchdog would take it for a stuck loop
    // and cancel the user's sizing.
    if (!keyboardSizing)
        m_ports.StartExternalWatchdog(m_sequence);
    LogTransition("ENTER", from, reason);
}

void ResizeStateMachine::DeferLayout(const char* reason) {
    m_deferredLayout = true;
    m_lastActivityTick = m_ports.Now();
    if (Throttle(m_deferLogTick, 500)) {
        int32_t width = 0, height = 0;
        m_ports.ClientSize(width, height);
        Log::Write("[RESIZE-SM] defer LayoutChildren state=%s reason=%s client=%dx%d lbutton=%d",
                   StateName(static_cast<uint32_t>(m_state)), Or(reason, ""), width, height,
                   m_ports.LeftButtonDown() ? 1 : 0);
    }
}

void ResizeStateMachine::ScheduleFinalLayout(const char* reason) {
    m_deferredLayout = true;
    m_ports.SetTimer(kResizeFinalLayoutTimer, kResizeFinalLayoutDelayMs);
    Log::Write("[RESIZE-SM] schedule final LayoutChildren state=%s reason=%s delayMs=%u",
               StateName(static_cast<uint32_t>(m_state)), reason, kResizeFinalLayoutDelayMs);
}

void ResizeStateMachine::Exit(const char* reason, bool forced) {
    m_resizing = false;
    if (m_state == State::Idle) {
        m_sharedState.store(0);
        m_ports.FreezeRenderer(false);
        ScheduleFinalLayout(Or(reason, "exit-from-idle"));
        return;
    }
    const State from = m_state;
    const uint64_t now = m_ports.Now();
    m_exitTick = now;
    m_state = State::Exiting;
    m_sharedState.store(2);
    m_ports.FreezeRenderer(false);
    m_ports.SetTimer(kResizeWatchdogTimer, kResizeWatchdogIntervalMs);
    ScheduleFinalLayout(Or(reason, "exit"));
    Log::Write("[RESIZE-SM] EXIT%s seq=%lu %s -> %s reason=%s activeMs=%lu idleMs=%lu lbutton=%d",
               forced ? "_FORCED" : "", Ul(m_sequence), StateName(static_cast<uint32_t>(from)),
               StateName(static_cast<uint32_t>(m_state)), Or(reason, "exit"), Ul(Since(m_enterTick)),
               Ul(Since(m_lastActivityTick)), m_ports.LeftButtonDown() ? 1 : 0);
}

void ResizeStateMachine::ApplyFinalLayout(const char* reason) {
    m_ports.KillTimer(kResizeFinalLayoutTimer);
    if (m_state == State::Active || m_resizing || m_ports.RendererFrozen()) {
        Log::Write("[RESIZE-SM] apply timer ignored while active reason=%s state=%s rendererActive=%d",
                   Or(reason, ""), StateName(static_cast<uint32_t>(m_state)),
                   m_ports.RendererFrozen() ? 1 : 0);
        ScheduleFinalLayout("apply-timer-while-active");
        return;
    }
    // The size a DPI change asked for during the resize is set first, so the layout below is for it.
    const bool dpiRect = m_pendingDpiRect.has_value();
    if (dpiRect) {
        const WindowRect suggested = *m_pendingDpiRect;
        m_pendingDpiRect.reset();
        m_ports.MoveWindow(suggested);
    }
    const bool hadDeferred = m_deferredLayout;
    m_deferredLayout = false;
    m_ports.LayoutChildren();
    if (dpiRect)
        m_ports.LogDpi("WM_DPICHANGED/applied");
    Log::Write("[RESIZE-SM] apply final LayoutChildren reason=%s hadDeferred=%d", Or(reason, ""),
               hadDeferred ? 1 : 0);
    if (m_state == State::Exiting)
        Complete(Or(reason, "layout-applied"));
}

void ResizeStateMachine::Complete(const char* reason) {
    const State from = m_state;
    m_state = State::Idle;
    m_resizing = false;
    m_keyboardSizing = false;
    m_enterTick = m_exitTick = m_lastActivityTick = 0;
    m_sharedState.store(0);
    m_watchdogSequence.store(m_sequence + 1);
    m_ports.KillTimer(kResizeWatchdogTimer);
    m_ports.FreezeRenderer(false);
    LogTransition("COMPLETE", from, reason);
}

void ResizeStateMachine::EndAll(const char* reason) {
    if (m_custom.active)
        EndCustom(reason, false);
    m_pendingDpiRect.reset();
    if (m_state != State::Idle)
        Complete(reason);
    m_deferredLayout = false;
    m_ports.KillTimer(kResizeFinalLayoutTimer);
}
