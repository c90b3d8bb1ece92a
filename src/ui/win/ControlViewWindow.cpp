#include "ui/win/ControlViewWindow.h"

#include <windowsx.h>

#include <exception>
#include <string>

#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/ThreadHelpers.h"
#include "core/TurnQueue.h"
#include "link/AutoConnect.h"
#include "link/Discovery.h"
#include "link/KvmSessionManager.h"
#include "link/win/DevicePresenceService.h"
#include "ui/ControlViewClick.h"
#include "ui/ControlViewGeometry.h"
#include "ui/ControlViewLook.h"
#include "ui/SessionRoles.h"
#include "ui/win/MainWindowParts.h"
#include "ui/win/MainWindowState.h"
#include "ui/win/UiPaint.h"

namespace {

constexpr UINT_PTR kAnimationTimer = 101;
constexpr UINT kAnimationMs = 33;

// The button's state; UI thread only.
struct Button {
    RECT buttonRect{};
    bool hover = false, pressed = false;
    bool mouseDown = false, dragging = false;
    POINT dragStartCursor{};
    RECT dragStartRect{};
    uint32_t animationFrame = 0;
    // The centre as a share of the main window's client size: the default place until the user drags it.
    double relativeX = kControlViewDefaultRelativeX, relativeY = kControlViewDefaultRelativeY;
};

Button g_button;
ControlViewFactsSource g_factsSource = nullptr;

// Connect and disconnect run on workers of their own, one after the other in click order: a quick second
// click waits for the first to finish instead of racing it.
TurnQueue& SessionTurns() {
    static TurnQueue* turns = new TurnQueue();
    return *turns;
}

ControlViewFacts CurrentFacts() {
    if (g_factsSource != nullptr)
        return g_factsSource();
    return {DevicePresenceService::Presence().IsPresent(), Discovery::GetDiscoveredDevices().size()};
}

bool IsEnglish() {
    return ConfigService::Instance().IsUiLanguageEnglish();
}

double ScaleOfView(HWND hwnd) {
    return ControlViewScaleOf(::GetParent(hwnd));
}

int32_t Scaled(int32_t design, double scale) {
    return ScaleControlViewSize(design, scale);
}

void StartSessionWorker(const char* name, void (*body)()) {
    const uint64_t ticket = SessionTurns().Take();
    std::string error;
    const bool started = StartDetachedWorker(
        name,
        [ticket, body] {
            ScopedTurn turn(SessionTurns(), ticket);
            try {
                body();
            } catch (const std::exception& e) {
                RuntimeSetErrorText(e.what());
                throw; // the worker logs it with its name
            } catch (...) {
                RuntimeSetErrorText("unknown thread exception");
                throw;
            }
        },
        &error);
    if (!started) {
        SessionTurns().Finish(ticket);
        Log::Write("ControlView %s thread create failed: %s", name, error.c_str());
    }
}

void ConnectWorker() {
    if (!Discovery::ConnectFirstDevice())
        SetStatusAndRepaint("No discovered device");
}

void DisconnectWorker() {
    KvmSessionManager::Instance().StopAllSessions("control button disconnect");
    RuntimeSetStatusMessage("Disconnected");
    RuntimeSetErrorText("");
    RepaintStateView();
}

void OnClick() {
    const int32_t state = RuntimeMakeSnapshot().programState;
    const ControlViewFacts facts = CurrentFacts();
    switch (DecideControlViewClick(state, facts.cablePresent, facts.discoveredPeers)) {
    case ControlViewClick::Disconnect:
        AutoConnect::Instance().SetIntent(false, "user disconnect");
        ConfigService::Instance().SetAutoConnectEnable(false);
        ConfigService::Instance().Save();
        RuntimeSetStatusMessage("Disconnecting...");
        RuntimeSetErrorText("");
        RepaintStateView();
        StartSessionWorker("ControlViewDisconnectWorker", DisconnectWorker);
        Log::Write(
            "ControlView: disconnect button clicked; auto intent disabled; async disconnect worker posted");
        return;
    case ControlViewClick::Connect:
        AutoConnect::Instance().SetIntent(true, "user connect");
        AutoConnect::Instance().Suppress(kAutoConnectUserConnectSuppressMs, "control button connect worker");
        ConfigService::Instance().SetAutoConnectEnable(true);
        ConfigService::Instance().Save();
        if (HWND view = RemoteViewWindow())
            ::SetFocus(view);
        if (RuntimeSetProgramState(ProgramState::Connecting))
            RuntimeNotifyChanged();
        SetStatusAndRepaint("Connecting to discovered device...");
        StartSessionWorker("ControlViewConnectWorker", ConnectWorker);
        Log::Write("ControlView: control button clicked; auto intent enabled; async connect worker posted");
        return;
    case ControlViewClick::NoDevice:
        SetStatusAndRepaint("No discovered device");
        Log::Write("ControlView: no device, connect disabled");
        return;
    case ControlViewClick::CableMissing:
        SetStatusAndRepaint("设备未插入");
        Log::Write("ControlView: connect disabled, required device missing");
        return;
    }
}

void FillGradient(HDC dc, const RECT& r, UiColour top, UiColour bottom) {
    const int32_t rows = r.bottom - r.top;
    ScopedDCSelection brush(dc, ::SelectObject(dc, ::GetStockObject(DC_BRUSH)));
    for (int32_t i = 0; i < rows; ++i) {
        ::SetDCBrushColor(dc, ToColorRef(ControlViewGradientRow(top, bottom, i, rows)));
        RECT row{r.left, r.top + i, r.right, r.top + i + 1};
        ::FillRect(dc, &row, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    }
}

void Paint(HWND hwnd) {
    BufferedPaint paint(hwnd);
    if (!paint.Ok())
        return;
    HDC dc = paint.Dc();
    const RECT& client = paint.Client();
    const double s = ScaleOfView(hwnd);
    Button& b = g_button;

    DrawViewBackground(dc, client, Scaled(32, s), {56, 72, 92});

    b.buttonRect = client;
    ::InflateRect(&b.buttonRect, -Scaled(14, s), -Scaled(12, s));

    const int32_t state = RuntimeGetProgramState();
    const ControlViewFacts facts = CurrentFacts();
    const ControlViewKind kind = ControlViewKindFor(state, facts.cablePresent, facts.discoveredPeers);
    const ControlViewColours colours = ControlViewColoursFor(kind, state, b.hover);
    const int32_t lightening = ControlViewLightening(kind, state, b.hover, b.animationFrame);

    RECT glow = b.buttonRect;
    ::InflateRect(&glow, Scaled(5, s), Scaled(5, s));
    const UiColour glowFill{24, 35, 48};
    DrawRoundedBox(dc, glow, Scaled(32, s), &glowFill, {45, 70, 96});

    const UiColour top = LightenTowardWhite(b.pressed ? colours.mid : colours.bright, lightening);
    const UiColour bottom = b.pressed ? colours.pressed : colours.dark;
    {
        // The face keeps inside its rounded border.
        const int corner = Scaled(30, s);
        UniqueGdiObject clip(::CreateRoundRectRgn(b.buttonRect.left, b.buttonRect.top, b.buttonRect.right + 1,
                                                  b.buttonRect.bottom + 1, corner, corner));
        ::SelectClipRgn(dc, static_cast<HRGN>(clip.Get()));
        FillGradient(dc, b.buttonRect, top, bottom);
        ::SelectClipRgn(dc, nullptr);
    }
    DrawRoundedBox(dc, b.buttonRect, Scaled(30, s), nullptr, colours.border);

    RECT label = b.buttonRect;
    label.left += Scaled(16, s);
    label.right -= Scaled(16, s);
    label.top += Scaled(8, s);
    label.bottom -= Scaled(8, s);
    if (b.pressed)
        ::OffsetRect(&label, 1, 1);
    UniqueGdiObject font = CreateUiFont(18 * s, 600);
    ScopedDCSelection fontSelection(dc, ::SelectObject(dc, font.Get()));
    DrawUiText(dc, ControlButtonLabel(state, facts.cablePresent, facts.discoveredPeers, b.hover, IsEnglish()),
               label, {246, 252, 255}, DT_CENTER);
}

POINT ToParent(HWND hwnd, LPARAM lParam) {
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::MapWindowPoints(hwnd, ::GetParent(hwnd), &p, 1);
    return p;
}

RECT RectInParent(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    ::MapWindowPoints(nullptr, ::GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void Repaint(HWND hwnd) {
    ::InvalidateRect(hwnd, nullptr, FALSE);
}

void OnButtonDown(HWND hwnd, LPARAM lParam) {
    Button& b = g_button;
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (!::PtInRect(&b.buttonRect, at))
        return;
    ::SetCapture(hwnd);
    b.pressed = true;
    b.mouseDown = true;
    b.dragging = false;
    b.dragStartCursor = ToParent(hwnd, lParam);
    b.dragStartRect = RectInParent(hwnd);
    Repaint(hwnd);
}

void DragTo(HWND hwnd, POINT cursor) {
    Button& b = g_button;
    HWND main = ::GetParent(hwnd);
    RECT client{};
    ::GetClientRect(main, &client);
    const int32_t width = b.dragStartRect.right - b.dragStartRect.left;
    const int32_t height = b.dragStartRect.bottom - b.dragStartRect.top;
    int32_t x = b.dragStartRect.left + (cursor.x - b.dragStartCursor.x);
    int32_t y = b.dragStartRect.top + (cursor.y - b.dragStartCursor.y);
    ClampControlViewPosition(x, y, width, height, client.right, client.bottom, ScaleOfView(hwnd));
    ::SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (client.right > 0 && client.bottom > 0) {
        b.relativeX = ControlViewRelativeCentre(x, width, client.right);
        b.relativeY = ControlViewRelativeCentre(y, height, client.bottom);
    }
    Repaint(hwnd);
}

void OnMouseMove(HWND hwnd, LPARAM lParam) {
    Button& b = g_button;
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const bool hover = ::PtInRect(&b.buttonRect, at) != FALSE;
    const bool hoverChanged = hover != b.hover;
    b.hover = hover;
    if (b.mouseDown) {
        const POINT cursor = ToParent(hwnd, lParam);
        if (!b.dragging &&
            ControlViewDragStarted(cursor.x - b.dragStartCursor.x, cursor.y - b.dragStartCursor.y,
                                   ::GetSystemMetrics(SM_CXDRAG), ::GetSystemMetrics(SM_CYDRAG))) {
            b.dragging = true;
            b.pressed = false;
            Log::Write("ControlView: button drag started");
        }
        if (b.dragging) {
            DragTo(hwnd, cursor);
            return;
        }
    }
    if (hoverChanged) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
        ::TrackMouseEvent(&track);
        Repaint(hwnd);
    }
}

void OnButtonUp(HWND hwnd, LPARAM lParam) {
    Button& b = g_button;
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const bool inside = ::PtInRect(&b.buttonRect, at) != FALSE;
    const bool dragged = b.dragging;
    const bool click = b.mouseDown && !dragged && b.pressed && inside;
    b.mouseDown = false;
    b.dragging = false;
    b.pressed = false;
    // Cleared first: the release below sends WM_CAPTURECHANGED, which must find nothing left to reset.
    ::ReleaseCapture();
    b.hover = inside;
    Repaint(hwnd);
    if (dragged)
        Log::Write("ControlView: button drag ended");
    if (click)
        OnClick();
}

void ResetPress(HWND hwnd) {
    g_button.mouseDown = false;
    g_button.dragging = false;
    g_button.pressed = false;
    Repaint(hwnd);
}

void OnAnimationTimer(HWND hwnd) {
    ++g_button.animationFrame;
    SyncBlackView();
    MainWindowParts().SyncControlViewVisibility(hwnd);
    Repaint(hwnd);
}

} // namespace

LRESULT CALLBACK ControlViewWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        ::SetTimer(hwnd, kAnimationTimer, kAnimationMs, nullptr);
        return 0;
    case WM_DESTROY:
        ::KillTimer(hwnd, kAnimationTimer);
        g_button.mouseDown = g_button.dragging = g_button.pressed = g_button.hover = false;
        return 0;
    case WM_TIMER:
        if (wParam == kAnimationTimer)
            OnAnimationTimer(hwnd);
        return 0;
    case WM_SETCURSOR:
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Paint(hwnd);
        return 0;
    case WM_LBUTTONDOWN:
        OnButtonDown(hwnd, lParam);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(hwnd, lParam);
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp(hwnd, lParam);
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd && g_button.mouseDown)
            ResetPress(hwnd);
        return 0;
    case WM_CANCELMODE:
        ::ReleaseCapture();
        ResetPress(hwnd);
        return 0;
    case WM_MOUSELEAVE:
        g_button.hover = false;
        if (!g_button.mouseDown)
            g_button.pressed = false;
        Repaint(hwnd);
        return 0;
    default:
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

double ControlViewScaleOf(HWND main) {
    HWND window = main != nullptr ? main : ControlViewWindow();
    if (window != nullptr) {
        MONITORINFO info{sizeof info};
        if (::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info))
            return ControlViewScaleFor(info.rcMonitor.bottom - info.rcMonitor.top);
    }
    return ControlViewScaleFor(::GetSystemMetrics(SM_CYSCREEN));
}

void LayoutControlViewWindow(HWND main, HWND controlView) {
    if (main == nullptr || controlView == nullptr)
        return;
    RECT client{};
    ::GetClientRect(main, &client);
    const double s = ControlViewScaleOf(main);
    const ControlViewRect r =
        LayoutControlViewRect(client.right, client.bottom, s, g_button.relativeX, g_button.relativeY);
    PlaceRoundedView(controlView, r.x, r.y, r.width, r.height, Scaled(34, s),
                     ControlViewShouldShow(RuntimeGetProgramState()));
    MainWindowParts().SyncControlViewVisibility(controlView);
}

void SyncControlViewWindowVisibility(HWND controlView) {
    if (controlView == nullptr)
        return;
    const bool show = ControlViewShouldShow(RuntimeGetProgramState());
    // The window's own flag: IsWindowVisible also reads the main window's, which the tray hides.
    const bool shown = (::GetWindowLongW(controlView, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown == show)
        return;
    ::ShowWindow(controlView, show ? SW_SHOWNA : SW_HIDE);
    if (!show)
        if (HWND view = RemoteViewWindow())
            ::SetFocus(view);
    Log::Write("ControlView visibility: %s", show ? "show" : "hide_connected");
}

void SetControlViewFactsSource(ControlViewFactsSource source) {
    g_factsSource = source;
}
