#include "core/Log.h"
#include "ui/ResizeStateMachine.h"

void ResizeStateMachine::OnSizing() {
    // The border is dragged from the client area, so a system sizing loop without the button is the
    // keyboard's (system menu, arrow keys).
    Enter("WM_SIZING", !m_custom.active && !m_ports.LeftButtonDown());
    DeferLayout("WM_SIZING");
}

void ResizeStateMachine::OnMoving() {
    m_ports.FreezeRenderer(true);
}

void ResizeStateMachine::OnEnterSizeMove() {
    m_ports.FreezeRenderer(true);
    Log::Write("[WINDOW-MOVE][LIFECYCLE] enter freeze Render/Present until WM_EXITSIZEMOVE");
}

void ResizeStateMachine::OnExitSizeMove() {
    Exit("WM_EXITSIZEMOVE", false);
    Log::Write("[WINDOW-MOVE][LIFECYCLE] exit release Render/Present after cooldown");
}

void ResizeStateMachine::OnCaptureChanged() {
    if (m_custom.active) {
        EndCustom("WM_CAPTURECHANGED/custom", true);
        return;
    }
    if (m_state != State::Active)
        return;
    if (m_ports.LeftButtonDown()) {
        if (Throttle(m_captureLogTick, 500))
            Log::Write("[RESIZE-SM] WM_CAPTURECHANGED during active resize: keep frozen");
        DeferLayout("WM_CAPTURECHANGED/active");
        return;
    }
    Log::Write("[RESIZE-SM] WM_CAPTURECHANGED with lbutton up: force exit");
    Exit("WM_CAPTURECHANGED/lbutton-up", true);
}

bool ResizeStateMachine::OnCancelMode() {
    if (m_custom.active) {
        EndCustom("WM_CANCELMODE/custom", true);
        return false;
    }
    if (LayoutAllowed()) {
        GuardOff("WM_CANCELMODE/no-resize");
        return true;
    }
    Exit("WM_CANCELMODE", true);
    GuardOff("WM_CANCELMODE");
    return false;
}

void ResizeStateMachine::OnDpiChanged(const WindowRect& suggested) {
    if (LayoutAllowed()) {
        m_ports.MoveWindow(suggested);
        m_ports.LayoutChildren();
        m_ports.LogDpi("WM_DPICHANGED");
        return;
    }
    // Setting it now would size the window under the renderer's feet; the final layout sets it.
    KeepDpiRect(suggested);
    DeferLayout("WM_DPICHANGED/resize-state");
    m_ports.LogDpi("WM_DPICHANGED/deferred");
}
