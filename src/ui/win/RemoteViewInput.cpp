#include <windowsx.h>

#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/RuntimeState.h"
#include "dragdrop/win/DragDrop.h"
#include "input/InputMessages.h"
#include "input/RemoteInputRoute.h"
#include "input/RemoteViewMapping.h"
#include "ui/win/RemoteViewState.h"
#include "ui/win/MainWindow.h"
#include "ui/win/RemoteViewWindow.h"

namespace {

int Down(int vk) {
    return ::GetKeyState(vk) < 0 ? 1 : 0;
}

} // namespace

RemoteViewState& RemoteViewUiState() {
    static RemoteViewState state;
    return state;
}

void RemoteViewSetKeyboardActive(bool active) {
    if (RuntimeSetKeyboardActive(active))
        RuntimeNotifyChanged();
}

bool RemoteViewClientToRemote(HWND hwnd, POINT client, POINT* remote) {
    if (hwnd == nullptr || remote == nullptr || !::IsWindow(hwnd))
        return false;
    RECT rc{};
    if (!::GetClientRect(hwnd, &rc))
        return false;
    const RuntimeSnapshot s = RuntimeMakeSnapshot();
    const RemoteSize size = RemoteSizeFor(s.desktopWidth, s.desktopHeight, s.streamWidth, s.streamHeight);
    int32_t x = 0, y = 0;
    if (!MapClientPointToRemote(rc.right - rc.left, rc.bottom - rc.top, size, client.x, client.y, x, y))
        return false;
    remote->x = x;
    remote->y = y;
    return true;
}

bool IsCursorInRemoteViewRect(HWND hwnd, POINT screen) {
    RECT rc{};
    return hwnd != nullptr && ::GetWindowRect(hwnd, &rc) && ::PtInRect(&rc, screen);
}

void RemoteViewSendMouseMove(HWND hwnd, POINT client) {
    IRemoteInputRoute& route = RemoteInputRoute();
    if (route.IsTcpReady()) {
        POINT remote{};
        if (RemoteViewClientToRemote(hwnd, client, &remote))
            route.SendRemoteMouseMove(remote.x, remote.y, false);
        return;
    }
    route.QueueHidMouse(RouteWindow(hwnd), WM_MOUSEMOVE, client.x, client.y);
}

void RemoteViewMouseEnter(HWND hwnd, const char* source) {
    RemoteViewMouseEnterThrough(hwnd, hwnd, source);
}

void RemoteViewMouseEnterThrough(HWND hwnd, HWND tracked, const char* source) {
    RemoteViewState& state = RemoteViewUiState();
    if (state.mouseInside && state.trackedWindow == tracked)
        return;
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, tracked, 0};
    ::TrackMouseEvent(&track);
    state.trackedWindow = tracked;
    if (state.mouseInside)
        return; // moved between RemoteView and its cover: the same entry
    state.mouseInside = true;
    RemoteViewSetKeyboardActive(true);
    const bool ok = RemoteInputRoute().SyncRemoteModifiers(source);
    if (Log::IsDebugCategoryEnabled("input") && LogThrottle::Allow("remoteview.key.enter", 500))
        Log::Write("[KEY][SYNC][ENTER] source=%s hwnd=0x%p ok=%d", source, static_cast<void*>(hwnd),
                   ok ? 1 : 0);
}

bool RemoteViewIsLeaveTrackedOn(HWND tracked) {
    const RemoteViewState& state = RemoteViewUiState();
    return !state.mouseInside || state.trackedWindow == tracked;
}

void RemoteViewMouseLeave(HWND hwnd, const char* source) {
    RemoteViewState& state = RemoteViewUiState();
    state.mouseInside = false;
    state.trackedWindow = nullptr;
    RemoteViewSetKeyboardActive(false);
    const bool releaseOk = RemoteInputRoute().ReleaseRemoteModifiers(source);
    HWND notify = reinterpret_cast<HWND>(RuntimeGetMainWindow());
    if (notify == nullptr)
        notify = ::GetAncestor(hwnd, GA_ROOT);
    if (notify != nullptr)
        ::PostMessageW(notify, WM_APP_REMOTE_INPUT_LEAVE, 0, 0);
    if (Log::IsDebugCategoryEnabled("input") && LogThrottle::Allow("remoteview.key.leave", 500))
        Log::Write("[KEY][SYNC][LEAVE] source=%s hwnd=0x%p releaseOk=%d notify=0x%p", source,
                   static_cast<void*>(hwnd), releaseOk ? 1 : 0, static_cast<void*>(notify));
}

void ReturnRemoteCursorToDragStart(const char* reason) {
    RemoteViewState& state = RemoteViewUiState();
    if (!state.leftDrag || state.returnedToStart)
        return;
    if (!RuntimeMakeSnapshot().remoteDragActive)
        return;
    IRemoteInputRoute& route = RemoteInputRoute();
    if (route.IsTcpReady())
        route.SendRemoteMouseMove(state.dragStartRemote.x, state.dragStartRemote.y, false);
    DragDrop::ArmRemoteDrag(reason);
    state.returnedToStart = true;
    Log::Write(
        "[RDRAG][LEAVE] return remote cursor to drag start remote=(%ld,%ld) localStart=(%ld,%ld) reason=%s",
        state.dragStartRemote.x, state.dragStartRemote.y, state.dragStartClient.x, state.dragStartClient.y,
        reason);
}

void LogRemoteViewKey(UINT msg, WPARAM vk, LPARAM lParam) {
    if (Log::IsDebugCategoryEnabled("input"))
        Log::Write(
            "[KEY][DIAG][REMOTEVIEW] source=%s msg=%s(0x%04X) vk=%lu scan=%u lParam=0x%p shift=%d ctrl=%d "
            "alt=%d win=%d capture=0x%p focus=0x%p",
            "send", KeyMessageName(msg), msg, static_cast<unsigned long>(vk),
            static_cast<unsigned>((lParam >> 16) & 0xFF), reinterpret_cast<void*>(lParam), Down(VK_SHIFT),
            Down(VK_CONTROL), Down(VK_MENU), Down(VK_LWIN) | Down(VK_RWIN),
            static_cast<void*>(::GetCapture()), static_cast<void*>(::GetFocus()));
    RemoteInputRoute().SendWmKey(msg, static_cast<uint32_t>(vk), static_cast<intptr_t>(lParam));
}

void LogRemoteViewMouseButton(const char* source, HWND hwnd, UINT msg, LPARAM lParam) {
    if (!Log::IsDebugCategoryEnabled("input"))
        return;
    Log::Write("[MOUSE][BTN][VIEW] source=%s hwnd=0x%p msg=0x%04X client=%d,%d capture=0x%p focus=0x%p",
               source, static_cast<void*>(hwnd), msg, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam),
               static_cast<void*>(::GetCapture()), static_cast<void*>(::GetFocus()));
}
