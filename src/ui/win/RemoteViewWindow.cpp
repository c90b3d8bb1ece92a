#include "ui/win/MainWindow.h"
#include "ui/win/RemoteViewWindow.h"

#include <windowsx.h>

#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/RuntimeState.h"
#include "core/Utf.h"
#include "dragdrop/RemoteDragOffer.h"
#include "dragdrop/VirtualScreenEdge.h"
#include "dragdrop/win/DragDrop.h"
#include "dragdrop/win/LocalDragMonitor.h"
#include "input/RemoteInputRoute.h"
#include "media/ControllerSessionLive.h"
#include "media/win/RemoteViewRenderer.h"
#include "ui/win/BlackCover.h"
#include "ui/win/RemoteViewState.h"
#include "ui/win/StateViewVisibility.h"

namespace {

bool EitherDown(int generic, int left, int right) {
    return ::GetKeyState(generic) < 0 || ::GetKeyState(left) < 0 || ::GetKeyState(right) < 0;
}

POINT ClientPoint(LPARAM lParam) {
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

void FillBlack(HWND hwnd, HDC dc) {
    RECT rc{};
    ::GetClientRect(hwnd, &rc);
    ::FillRect(dc, &rc, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
}

void EndLeftDrag(HWND hwnd) {
    RemoteViewUiState().leftDrag = false;
    SetRemoteViewCursor(hwnd);
}

void OnTimer(HWND hwnd) {
    if (!RemoteInputRoute().IsRemoteControlActive())
        return;
    RemoteViewState& state = RemoteViewUiState();
    if (::GetAsyncKeyState(VK_LBUTTON) >= 0) {
        state.lastTimerPoint = {RemoteViewState::kNoPoint, RemoteViewState::kNoPoint};
        SetRemoteViewCursor(hwnd);
        return;
    }
    POINT cursor{};
    ::GetCursorPos(&cursor);
    if (!IsCursorInRemoteViewRect(hwnd, cursor)) {
        ReturnRemoteCursorToDragStart("timer-outside");
    } else if (cursor.x != state.lastTimerPoint.x || cursor.y != state.lastTimerPoint.y) {
        state.lastTimerPoint = cursor;
        POINT client = cursor;
        ::ScreenToClient(hwnd, &client);
        RemoteViewSendMouseMove(hwnd, client);
    }
    SetRemoteViewCursor(hwnd);
}

void OnMouseMove(HWND hwnd, LPARAM lParam) {
    RemoteViewMouseEnter(hwnd, "RemoteViewMouseEnter");
    SetRemoteViewCursor(hwnd);
    const POINT client = ClientPoint(lParam);
    RECT rc{};
    ::GetClientRect(hwnd, &rc);
    if (!RemoteViewUiState().leftDrag || ::PtInRect(&rc, client))
        RemoteViewSendMouseMove(hwnd, client);
    else
        ReturnRemoteCursorToDragStart("mousemove-outside");
}

void OnButtonDown(HWND hwnd, UINT msg, LPARAM lParam) {
    LogRemoteViewMouseButton("view-down", hwnd, msg, lParam);
    ::SetFocus(hwnd);
    ::SetCapture(hwnd);
    const POINT client = ClientPoint(lParam);
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
        RemoteViewState& state = RemoteViewUiState();
        state.leftDrag = true;
        state.returnedToStart = false;
        state.dragStartClient = client;
        state.dragStartRemote = {};
        RemoteViewClientToRemote(hwnd, client, &state.dragStartRemote);
    }
    RemoteInputRoute().SendMouseButton(RouteWindow(hwnd), msg, client.x, client.y);
}

// A left release outside RemoteView while the peer offers a drag drops the peer's files here.
void DropRemoteDragOutside() {
    ReturnRemoteCursorToDragStart("button-up-outside");
    const std::u16string target = LocalDragMonitorDropTarget();
    const bool started = RemoteDragOffer().TriggerDownload(target);
    if (started)
        RemoteInputRoute().CancelRemoteDrag();
    const std::string targetText = target.empty() ? std::string("<default>") : Utf16ToUtf8(target);
    Log::Write("[RDRAG][DROP] RemoteView mouse-up outside target=%s trigger=%d fallback=%d",
               targetText.c_str(), started ? 1 : 0, target.empty() ? 1 : 0);
}

void OnButtonUp(HWND hwnd, UINT msg, LPARAM lParam) {
    LogRemoteViewMouseButton("view-up", hwnd, msg, lParam);
    if (msg == WM_LBUTTONUP && DragDrop::IsRemoteDragPending()) {
        POINT cursor{};
        ::GetCursorPos(&cursor);
        if (!IsCursorInRemoteViewRect(hwnd, cursor)) {
            DropRemoteDragOutside();
            EndLeftDrag(hwnd);
            ::ReleaseCapture();
            return;
        }
    }
    const POINT client = ClientPoint(lParam);
    RemoteInputRoute().SendMouseButton(RouteWindow(hwnd), msg, client.x, client.y);
    if (msg == WM_LBUTTONUP) {
        if (!RemoteViewUiState().returnedToStart && DragDrop::IsRemoteDragPending())
            RemoteDragOffer().CancelForLocalDrop("button-up-inside-remoteview");
        EndLeftDrag(hwnd);
    }
    ::ReleaseCapture();
}

void OnDropFiles(HWND hwnd, HDROP drop) {
    IVirtualScreenEdge& edge = VirtualScreenEdge();
    POINT cursor{};
    ::GetCursorPos(&cursor);
    if (edge.Mode() != 0 && edge.IsPointAtEdge(cursor.x, cursor.y)) {
        ::DragFinish(drop);
        Log::Write("[VSCREEN][GUARD] ignore WM_DROPFILES into RemoteView only on virtual edge pt=%ld,%ld",
                   cursor.x, cursor.y);
        return;
    }
    RemoteViewDropFiles(hwnd, drop);
}

// True when the key was one of RemoteView's own shortcuts.
bool HandleShortcut(HWND hwnd, WPARAM vk) {
    const bool ctrl = EitherDown(VK_CONTROL, VK_LCONTROL, VK_RCONTROL);
    const bool alt = EitherDown(VK_MENU, VK_LMENU, VK_RMENU);
    switch (DecideRemoteViewKeyDown(static_cast<uint32_t>(vk), ctrl, alt, ::GetTickCount(),
                                    RemoteViewUiState().stateViewDebounce)) {
    case RemoteViewKeyAction::Send:
        return false;
    case RemoteViewKeyAction::ToggleFullscreen:
        ::PostMessageW(::GetParent(hwnd), WM_APP_TOGGLE_FULLSCREEN, 0, 0);
        Log::Write("Fullscreen toggled by RemoteView Ctrl+Alt+F11");
        return true;
    case RemoteViewKeyAction::ToggleStateView:
        Log::Write("StateView toggled by RemoteView Ctrl+Alt+0: visible=%d", FlipStateViewVisible() ? 1 : 0);
        return true;
    case RemoteViewKeyAction::StateViewDebounced:
        Log::Write("StateView RemoteView Ctrl+Alt+0 ignored by debounce");
        return true;
    }
    return false;
}

LRESULT OnSetCursor(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (LOWORD(lParam) == HTCLIENT) {
        if (IsCursorInMainResizeBorder(hwnd))
            return 0;
        if (IsDragTransferActive() && SetRemoteViewCursor(hwnd))
            return TRUE;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace

LRESULT CALLBACK RemoteViewWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_TIMER:
        if (wParam != kRemoteViewTimerId)
            break;
        OnTimer(hwnd);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(hwnd, lParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        OnButtonDown(hwnd, msg, lParam);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        OnButtonUp(hwnd, msg, lParam);
        return 0;
    case WM_MOUSEWHEEL: {
        POINT client{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::ScreenToClient(hwnd, &client);
        RemoteInputRoute().SendMouseWheel(RouteWindow(hwnd), GET_WHEEL_DELTA_WPARAM(wParam), client.x,
                                          client.y);
        return 0;
    }
    case WM_DROPFILES:
        OnDropFiles(hwnd, reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_MOUSELEAVE:
        if (RemoteViewIsLeaveTrackedOn(hwnd))
            RemoteViewMouseLeave(hwnd, "RemoteViewMouseLeave");
        return 0;
    case WM_KILLFOCUS:
        if (RuntimeIsClientRunning()) {
            RemoteViewMouseLeave(hwnd, "RemoteViewKillFocus");
            Log::Write("RemoteView keyboard inactive: focus lost");
        }
        return 0;
    case WM_SETFOCUS:
        if (RuntimeIsClientRunning()) {
            RemoteViewSetKeyboardActive(true);
            Log::Write("RemoteView keyboard active: focus gained");
        }
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        if (!IsControllerSessionLive())
            FillBlack(hwnd, dc);
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        if (!IsControllerSessionLive())
            FillBlack(hwnd, reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_SETCURSOR:
        return OnSetCursor(hwnd, msg, wParam, lParam);
    case WM_MOUSEACTIVATE:
        if (RuntimeIsClientRunning()) {
            ::SetFocus(hwnd);
            RemoteViewSetKeyboardActive(true);
        }
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (HandleShortcut(hwnd, wParam))
            return 0;
        LogRemoteViewKey(msg, wParam, lParam);
        return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        LogRemoteViewKey(msg, wParam, lParam);
        return 0;
    case WM_APP_BLACK_COVER_APPLY:
        BlackCoverApplyWish();
        return 0;
    case WM_DESTROY:
        ::KillTimer(hwnd, kRemoteViewTimerId);
        Log::Write("RemoteView WM_DESTROY: stop renderer");
        RemoteViewStopRenderer();
        DestroyBlackCover();
        RemoteViewUiState() = {}; // no entry or drag outlives the window
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

void RemoteViewDeferredMove(HWND mainWindow) {
    RECT client{};
    if (mainWindow == nullptr || !::GetClientRect(mainWindow, &client))
        return;
    const int width = client.right - client.left, height = client.bottom - client.top;
    HWND view = reinterpret_cast<HWND>(RuntimeGetRemoteViewWindow());
    RemoteViewState& state = RemoteViewUiState();
    if (RemoteViewIsSizeMoveActive()) {
        state.sizePending = true;
        state.pendingSize = {width, height};
        const uint32_t now = ::GetTickCount();
        if (now - state.lastDeferLogTick >= 500 || state.lastDeferLogTick == 0) {
            state.lastDeferLogTick = now;
            RECT current{};
            if (view != nullptr)
                ::GetClientRect(view, &current);
            Log::Write("[RESIZE-FIX] defer RemoteView MoveWindow requested=%dx%d current=%dx%d", width,
                       height, static_cast<int>(current.right), static_cast<int>(current.bottom));
        }
        return;
    }
    if (state.sizePending) {
        Log::Write("[RESIZE-FIX] apply final RemoteView MoveWindow size=%dx%d pending=%dx%d", width, height,
                   static_cast<int>(state.pendingSize.cx), static_cast<int>(state.pendingSize.cy));
        state.sizePending = false;
        state.pendingSize = {};
    }
    if (view == nullptr)
        return;
    ::MoveWindow(view, 0, 0, width, height, FALSE);
    ::SetWindowPos(view, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    FitBlackCoverToRemoteView(view);
}
