#include "ui/win/ResizePortsWin.h"

#include "media/PresentPause.h"
#include "media/win/Renderer.h"
#include "ui/win/FullscreenWindow.h"
#include "ui/win/MainWindow.h"
#include "ui/win/MainWindowResize.h"
#include "ui/win/WindowDpi.h"

uint64_t Win32ResizePorts::Now() {
    return ::GetTickCount64();
}

bool Win32ResizePorts::LeftButtonDown() {
    return (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
}

void Win32ResizePorts::SetTimer(uint32_t id, uint32_t intervalMs) {
    ::SetTimer(m_window, id, intervalMs, nullptr);
}

void Win32ResizePorts::KillTimer(uint32_t id) {
    ::KillTimer(m_window, id);
}

void Win32ResizePorts::FreezeRenderer(bool frozen) {
    Renderer::SetSizeMoveActive(frozen);
}

bool Win32ResizePorts::RendererFrozen() {
    return Renderer::IsSizeMoveActive();
}

bool Win32ResizePorts::UiGuardOn() {
    return ReadRemoteViewPresentPause().active;
}

void Win32ResizePorts::SetUiGuard(bool on, uint64_t deadline) {
    SetRemoteViewPresentPauseUntil(deadline);
    SetRemoteViewPresentPause(on);
}

uint32_t Win32ResizePorts::TakeGuardSkips() {
    return TakeRemoteViewPresentPauseSkips();
}

void Win32ResizePorts::StartExternalWatchdog(uint32_t sequence) {
    StartResizeExternalWatchdog(m_window, sequence);
}

void Win32ResizePorts::LayoutChildren() {
    ::LayoutChildren(m_window);
    if (IsFullscreen())
        PositionFullscreenHint(m_window);
}

WindowRect Win32ResizePorts::WindowRectangle() {
    RECT r{};
    ::GetWindowRect(m_window, &r);
    return WindowRect{r.left, r.top, r.right, r.bottom};
}

void Win32ResizePorts::ClientSize(int32_t& width, int32_t& height) {
    RECT r{};
    ::GetClientRect(m_window, &r);
    width = r.right - r.left;
    height = r.bottom - r.top;
}

void Win32ResizePorts::MoveWindow(const WindowRect& r) {
    ::SetWindowPos(m_window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOACTIVATE);
}

ScreenPoint Win32ResizePorts::CursorPos() {
    POINT p{};
    ::GetCursorPos(&p);
    return ScreenPoint{p.x, p.y};
}

void Win32ResizePorts::CaptureMouse() {
    ::SetCapture(m_window);
}

bool Win32ResizePorts::ReleaseCaptureIfHeld() {
    if (::GetCapture() != m_window)
        return false;
    return ::ReleaseCapture() != FALSE;
}

void Win32ResizePorts::LogDpi(const char* label) {
    LogWindowDpi(m_window, label);
}
