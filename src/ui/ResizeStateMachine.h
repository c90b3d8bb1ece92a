#pragma once

#include <atomic>
#include <cstdint>
#include <optional>

#include "ui/ResizePorts.h"

// The main window's resize: the state machine that freezes the renderer and owes one child layout until the
// size has settled, the custom border drag done from the client area, and the internal watchdog that ends a
// resize which stops producing activity. IDLE -> ACTIVE (Enter) -> EXITING (Exit) -> IDLE (Complete, after
// the final layout or by the watchdog); Exit from IDLE only schedules the final layout.
//
// UI thread only, except the three atomics the external watchdog thread reads.
class ResizeStateMachine {
public:
    enum class State : uint32_t { Idle = 0, Active = 1, Exiting = 2 };

    static constexpr uint64_t kWatchdogIdleMs = 900;
    static constexpr uint64_t kWatchdogStaleMs = 3000;
    static constexpr uint64_t kGuardDuringDragMs = 60000;
    static constexpr uint64_t kGuardAfterMs = 120;

    explicit ResizeStateMachine(IResizePorts& ports) : m_ports(ports) {}

    // keyboardSizing: the system's sizing loop runs from the keyboard (system menu), not from a held button;
    // the button-up rescues leave such a resize alone.
    void Enter(const char* reason, bool keyboardSizing = false);
    void DeferLayout(const char* reason);
    void Exit(const char* reason, bool forced);
    void ApplyFinalLayout(const char* reason);
    void Complete(const char* reason);
    // Timer 22790.
    void OnWatchdogTimer();

    // The custom border drag. Start refuses anything but a border code, and a fullscreen or maximised window.
    bool StartCustom(int32_t hit, bool fullscreen, bool maximised);
    // Follows the cursor while the button is down; ends the drag (applying) once it is up.
    void StepCustom(const char* reason);
    void EndCustom(const char* reason, bool apply);
    // Escape: ends a running drag where it stands (the last applied rectangle stays); false when none runs.
    bool CancelCustom();
    bool CustomActive() const { return m_custom.active; }
    int32_t CustomHit() const { return m_custom.hit; }

    // The main window's sizing and moving messages.
    void OnSizing();
    void OnMoving();
    void OnEnterSizeMove();
    void OnExitSizeMove();
    void OnCaptureChanged();
    // True when the message goes on to default processing.
    bool OnCancelMode();
    // Moves to the suggested rectangle and lays out now, or keeps it for after the resize.
    void OnDpiChanged(const WindowRect& suggested);

    // A DPI change that has to wait for the resize: its suggested rectangle is set with the final layout.
    void KeepDpiRect(const WindowRect& suggested) { m_pendingDpiRect = suggested; }
    bool HasPendingDpiRect() const { return m_pendingDpiRect.has_value(); }

    // Ends whatever runs (the window is going away): the drag without applying, then the state back to IDLE.
    void EndAll(const char* reason);

    State CurrentState() const { return m_state; }
    bool Resizing() const { return m_resizing; }
    bool DeferredLayout() const { return m_deferredLayout; }
    uint32_t Sequence() const { return m_sequence; }
    // IDLE, not resizing and the renderer not frozen: the children may be laid out now.
    bool LayoutAllowed();

    // Read by the external watchdog thread.
    uint32_t SharedState() const { return m_sharedState.load(); }
    uint32_t WatchdogSequence() const { return m_watchdogSequence.load(); }
    std::atomic<bool>& EscSent() { return m_escSent; }

    static const char* StateName(uint32_t state);

private:
    struct CustomDrag {
        bool active = false;
        int32_t hit = 0;
        ScreenPoint startCursor;
        WindowRect startRect;
        WindowRect lastAppliedRect;
    };

    void ApplyCustomRect(const char* reason);
    void GuardOff(const char* reason);
    void ScheduleFinalLayout(const char* reason);
    void LogTransition(const char* what, State from, const char* reason);
    uint64_t Since(uint64_t tick) const;
    // At most one line per intervalMs for the throttle at lastTick.
    bool Throttle(uint64_t& lastTick, uint64_t intervalMs);

    IResizePorts& m_ports;
    State m_state = State::Idle;
    uint32_t m_sequence = 0;
    bool m_resizing = false;
    bool m_keyboardSizing = false;
    uint64_t m_enterTick = 0;
    uint64_t m_exitTick = 0;
    uint64_t m_lastActivityTick = 0;
    bool m_deferredLayout = false;
    std::optional<WindowRect> m_pendingDpiRect;
    CustomDrag m_custom;

    std::atomic<uint32_t> m_sharedState{0};
    std::atomic<uint32_t> m_watchdogSequence{0};
    std::atomic<bool> m_escSent{false};

    // Log throttles (tick of the last line, 0 = none yet).
    uint64_t m_deferLogTick = 0;
    uint64_t m_watchdogLogTick = 0;
    uint64_t m_updateLogTick = 0;
    uint64_t m_captureLogTick = 0;
};
