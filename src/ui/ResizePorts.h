#pragma once

#include <cstdint>

#include "ui/MainWindowGeometry.h"
#include "ui/ResizeHitTest.h"

// Timers of the main window that the resize logic runs (ids fixed: the window procedure routes them here).
inline constexpr uint32_t kResizeFinalLayoutTimer = 22789;
inline constexpr uint32_t kResizeWatchdogTimer = 22790;
inline constexpr uint32_t kResizePollTimer = 22791;
inline constexpr uint32_t kResizeFinalLayoutDelayMs = 220;
inline constexpr uint32_t kResizeWatchdogIntervalMs = 120;
inline constexpr uint32_t kResizePollIntervalMs = 16;

// What the resize logic needs from the window system. The main window supplies Win32; tests a recording
// fake. Ticks are monotonic milliseconds. UI thread only.
class IResizePorts {
public:
    virtual ~IResizePorts() = default;

    virtual uint64_t Now() = 0;
    // The physical left button.
    virtual bool LeftButtonDown() = 0;
    virtual void SetTimer(uint32_t id, uint32_t intervalMs) = 0;
    virtual void KillTimer(uint32_t id) = 0;

    // The renderer's size-move freeze.
    virtual void FreezeRenderer(bool frozen) = 0;
    virtual bool RendererFrozen() = 0;
    // The renderer's UI guard: presents held while on and until the deadline. TakeGuardSkips returns the
    // frames held back since the last call and starts the count again.
    virtual bool UiGuardOn() = 0;
    virtual void SetUiGuard(bool on, uint64_t deadline) = 0;
    virtual uint32_t TakeGuardSkips() = 0;

    // Starts the thread that rescues a resize stuck in the system's modal sizing loop.
    virtual void StartExternalWatchdog(uint32_t sequence) = 0;

    // The main window's child layout, with the fullscreen hint placed again when fullscreen.
    virtual void LayoutChildren() = 0;
    virtual WindowRect WindowRectangle() = 0;
    virtual void ClientSize(int32_t& width, int32_t& height) = 0;
    // Moves and sizes the main window without changing the z-order or activating it.
    virtual void MoveWindow(const WindowRect& rect) = 0;
    virtual ScreenPoint CursorPos() = 0;
    virtual void CaptureMouse() = 0;
    // Releases the mouse capture when the main window holds it; whether it did.
    virtual bool ReleaseCaptureIfHeld() = 0;
    // Logs the window's DPI line with label.
    virtual void LogDpi(const char* label) = 0;
};
