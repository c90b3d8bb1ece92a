#include "core/Log.h"
#include "ui/CustomResizeRect.h"
#include "ui/ResizeStateMachine.h"

namespace {

bool SameRect(const WindowRect& a, const WindowRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

bool ResizeStateMachine::StartCustom(int32_t hit, bool fullscreen, bool maximised) {
    if (m_custom.active || !IsBorderHit(hit) || fullscreen || maximised)
        return false;
    m_custom.startCursor = m_ports.CursorPos();
    // From where the window is now: it may have been moved or sized since the last drag.
    m_custom.startRect = m_ports.WindowRectangle();
    m_custom.lastAppliedRect = m_custom.startRect;
    m_custom.hit = hit;
    m_custom.active = true;
    m_ports.CaptureMouse();
    m_ports.SetTimer(kResizePollTimer, kResizePollIntervalMs);
    const bool guardWasOn = m_ports.UiGuardOn();
    m_ports.SetUiGuard(true, m_ports.Now() + kGuardDuringDragMs);
    if (!guardWasOn) {
        m_ports.TakeGuardSkips();
        Log::Write("[RENDER][UI-GUARD] begin reason=%s", "custom-border-resize-start");
    }
    Enter("CUSTOM_NC_RESIZE_START");
    Log::Write("[RESIZE-CUSTOM] client lbutton start hit=%d", hit);
    return true;
}

void ResizeStateMachine::ApplyCustomRect(const char* reason) {
    const WindowRect rect =
        CustomResizeRect(m_custom.hit, m_custom.startRect, m_custom.startCursor, m_ports.CursorPos());
    if (SameRect(rect, m_custom.lastAppliedRect))
        return;
    m_custom.lastAppliedRect = rect;
    m_deferredLayout = true;
    m_lastActivityTick = m_ports.Now();
    m_ports.MoveWindow(rect);
    if (Throttle(m_updateLogTick, 250)) {
        Log::Write("[RESIZE-CUSTOM] update reason=%s rect=%ld,%ld,%ld,%ld size=%ldx%ld", reason,
                   static_cast<long>(rect.left), static_cast<long>(rect.top), static_cast<long>(rect.right),
                   static_cast<long>(rect.bottom), static_cast<long>(rect.right - rect.left),
                   static_cast<long>(rect.bottom - rect.top));
    }
}

void ResizeStateMachine::StepCustom(const char* reason) {
    if (!m_custom.active)
        return;
    if (m_ports.LeftButtonDown())
        ApplyCustomRect(reason);
    else
        EndCustom("lbutton-up-during-update", true);
}

void ResizeStateMachine::GuardOff(const char* reason) {
    const bool wasOn = m_ports.UiGuardOn();
    m_ports.SetUiGuard(false, m_ports.Now() + kGuardAfterMs);
    if (wasOn)
        Log::Write("[RENDER][UI-GUARD] end reason=%s skippedFrames=%lu", reason,
                   static_cast<unsigned long>(m_ports.TakeGuardSkips()));
}

void ResizeStateMachine::EndCustom(const char* reason, bool apply) {
    if (!m_custom.active)
        return;
    if (apply)
        ApplyCustomRect(reason != nullptr ? reason : "end");
    m_ports.KillTimer(kResizePollTimer);
    m_custom.active = false;
    m_custom.hit = 0;
    // Releasing the capture sends WM_CAPTURECHANGED at once; the drag is already over by then.
    const bool released = m_ports.ReleaseCaptureIfHeld();
    GuardOff("custom-border-resize-end");
    const WindowRect& r = m_custom.lastAppliedRect;
    Log::Write("[RESIZE-CUSTOM] end reason=%s final=%ld,%ld,%ld,%ld apply=%d captureReleased=%d",
               reason != nullptr ? reason : "end", static_cast<long>(r.left), static_cast<long>(r.top),
               static_cast<long>(r.right), static_cast<long>(r.bottom), apply ? 1 : 0, released ? 1 : 0);
    Exit(reason != nullptr ? reason : "CUSTOM_NC_RESIZE_END", true);
}

bool ResizeStateMachine::CancelCustom() {
    if (!m_custom.active)
        return false;
    EndCustom("WM_KEYDOWN/ESC/custom", false);
    return true;
}
