#include "ui/win/MainWindowResize.h"

#include <windowsx.h>

#include "core/Log.h"
#include "ui/ResizeHoverLog.h"
#include "ui/win/FullscreenWindow.h"
#include "ui/win/MainWindow.h"
#include "ui/win/ResizePortsWin.h"
#include "ui/win/WindowDpi.h"

namespace {

struct MainResizeState {
    Win32ResizePorts ports;
    ResizeStateMachine machine{ports};
    ResizeHoverLog hover;
};

// Never destroyed: the external watchdog thread may still read its atomics while the process exits.
MainResizeState& State() {
    static MainResizeState* state = new MainResizeState;
    return *state;
}

bool ResizeLogOn() {
    return Log::IsDebugCategoryEnabled("resize");
}

void LogHover(int32_t hit, const char* reason) {
    if (!ResizeLogOn())
        return;
    switch (State().hover.Observe(hit, ::GetTickCount64())) {
    case ResizeHoverLog::Line::Changed:
        Log::Write("[RESIZE-CUSTOM] hover hit=%d reason=%s", hit, reason);
        break;
    case ResizeHoverLog::Line::Keep:
        Log::Write("[RESIZE-CUSTOM] hover keep hit=%d reason=%s", hit, reason);
        break;
    case ResizeHoverLog::Line::None:
        break;
    }
}

bool PlainWindow(HWND window) {
    return !IsFullscreen() && !::IsZoomed(window);
}

POINT CursorNow() {
    POINT p{};
    ::GetCursorPos(&p);
    return p;
}

LPCWSTR CursorFor(int32_t hit) {
    switch (hit) {
    case kHitLeft:
    case kHitRight:
        return IDC_SIZEWE;
    case kHitTop:
    case kHitBottom:
        return IDC_SIZENS;
    case kHitTopLeft:
    case kHitBottomRight:
        return IDC_SIZENWSE;
    case kHitTopRight:
    case kHitBottomLeft:
        return IDC_SIZENESW;
    default:
        return nullptr;
    }
}

LRESULT OnNcHitTest(HWND window, WPARAM wParam, LPARAM lParam) {
    const LRESULT system = ::DefWindowProcW(window, WM_NCHITTEST, wParam, lParam);
    if (!PlainWindow(window))
        return system;
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const int32_t own = CustomResizeHitTest(window, p);
    // Border presses must arrive as WM_LBUTTONDOWN: the system's sizing loop is never entered by mouse.
    if (IsBorderHit(own)) {
        LogHover(own, "WM_NCHITTEST/manual");
        return HTCLIENT;
    }
    if (IsBorderHit(static_cast<int32_t>(system))) {
        LogHover(static_cast<int32_t>(system), "WM_NCHITTEST/defproc");
        return HTCLIENT;
    }
    return system;
}

bool OnSetCursor(HWND window, LPARAM lParam) {
    if (LOWORD(lParam) != HTCLIENT || !PlainWindow(window))
        return false;
    ResizeStateMachine& machine = MainResize(window);
    const int32_t hit =
        machine.CustomActive() ? machine.CustomHit() : CustomResizeHitTest(window, CursorNow());
    LogHover(hit, "WM_SETCURSOR/realtime");
    LPCWSTR cursor = CursorFor(hit);
    if (cursor == nullptr)
        return false;
    ::SetCursor(::LoadCursorW(nullptr, cursor));
    return true;
}

bool OnLButtonDown(HWND window) {
    ResizeStateMachine& machine = MainResize(window);
    const int32_t hit = CustomResizeHitTest(window, CursorNow());
    LogHover(hit, "WM_LBUTTONDOWN/realtime");
    if (machine.CustomActive())
        return false;
    return machine.StartCustom(hit, IsFullscreen(), ::IsZoomed(window) != FALSE);
}

} // namespace

ResizeStateMachine& MainResize(HWND window) {
    MainResizeState& s = State();
    s.ports.Bind(window);
    return s.machine;
}

ResizeStateMachine& MainResizeShared() {
    return State().machine;
}

int32_t CustomResizeHitTest(HWND window, POINT screenPoint) {
    RECT r{};
    if (IsFullscreen() || !::GetWindowRect(window, &r))
        return kHitNone;
    const uint32_t dpi = HitTestDpi(QueryDpiForWindow(window));
    const int32_t band =
        HitTestBand(dpi, ::GetSystemMetrics(SM_CXPADDEDBORDER), ::GetSystemMetrics(SM_CXSIZEFRAME));
    return CustomResizeHit(WindowRect{r.left, r.top, r.right, r.bottom},
                           ScreenPoint{screenPoint.x, screenPoint.y}, band);
}

bool HandleMainResizeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    ResizeStateMachine& machine = MainResize(window);
    *result = 0;
    switch (message) {
    case WM_NCHITTEST:
        *result = OnNcHitTest(window, wParam, lParam);
        return true;
    case WM_SETCURSOR:
        if (!OnSetCursor(window, lParam))
            return false;
        *result = TRUE;
        return true;
    case WM_NCLBUTTONDOWN:
        if (!PlainWindow(window) || !IsBorderHit(static_cast<int32_t>(wParam)))
            return false;
        Log::Write("[RESIZE-CUSTOM][WARN] blocked WM_NCLBUTTONDOWN resize hit=%d; waiting for client path",
                   static_cast<int>(wParam));
        return true;
    case WM_LBUTTONDOWN:
        return OnLButtonDown(window);
    case WM_LBUTTONUP:
        if (!machine.CustomActive())
            return false;
        machine.EndCustom("WM_LBUTTONUP", true);
        return true;
    case WM_MOUSEMOVE:
        if (!machine.CustomActive()) {
            if (ResizeLogOn())
                LogHover(CustomResizeHitTest(window, CursorNow()), "WM_MOUSEMOVE/hover");
            return false;
        }
        machine.StepCustom("WM_MOUSEMOVE");
        return true;
    case WM_MOUSELEAVE:
    case WM_NCMOUSELEAVE:
        State().hover.Forget();
        return false;
    case WM_SIZING:
        machine.OnSizing();
        *result = TRUE;
        return true;
    case WM_MOVING:
        machine.OnMoving();
        *result = TRUE;
        return true;
    case WM_ENTERSIZEMOVE:
        machine.OnEnterSizeMove();
        return true;
    case WM_EXITSIZEMOVE:
        machine.OnExitSizeMove();
        return true;
    case WM_CAPTURECHANGED:
        machine.OnCaptureChanged();
        return true;
    case WM_CANCELMODE:
        return !machine.OnCancelMode();
    case WM_DPICHANGED: {
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        if (suggested == nullptr)
            return false;
        machine.OnDpiChanged(
            WindowRect{suggested->left, suggested->top, suggested->right, suggested->bottom});
        return true;
    }
    default:
        return false;
    }
}

void OnMainResizeTimer(HWND window, UINT_PTR id) {
    ResizeStateMachine& machine = MainResize(window);
    switch (id) {
    case kTimerFullscreenHint:
        OnFullscreenHintTimer(window);
        break;
    case kTimerResizeFinalLayout:
        machine.ApplyFinalLayout("timer");
        break;
    case kTimerResizeWatchdog:
        machine.OnWatchdogTimer();
        break;
    case kTimerResizePoll:
        if (machine.CustomActive())
            machine.StepCustom("timer-poll");
        else
            ::KillTimer(window, kTimerResizePoll);
        break;
    default:
        break;
    }
}
