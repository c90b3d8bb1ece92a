#pragma once

#include <windows.h>

#include "ui/ResizePorts.h"

// The resize state machine's ports on Win32, acting on one main window.
class Win32ResizePorts final : public IResizePorts {
public:
    void Bind(HWND window) { m_window = window; }

    uint64_t Now() override;
    bool LeftButtonDown() override;
    void SetTimer(uint32_t id, uint32_t intervalMs) override;
    void KillTimer(uint32_t id) override;
    void FreezeRenderer(bool frozen) override;
    bool RendererFrozen() override;
    bool UiGuardOn() override;
    void SetUiGuard(bool on, uint64_t deadline) override;
    uint32_t TakeGuardSkips() override;
    void StartExternalWatchdog(uint32_t sequence) override;
    void LayoutChildren() override;
    WindowRect WindowRectangle() override;
    void ClientSize(int32_t& width, int32_t& height) override;
    void MoveWindow(const WindowRect& rect) override;
    ScreenPoint CursorPos() override;
    void CaptureMouse() override;
    bool ReleaseCaptureIfHeld() override;
    void LogDpi(const char* label) override;

private:
    HWND m_window = nullptr;
};
