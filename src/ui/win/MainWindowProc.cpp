#include <windows.h>
#include <shellapi.h>

#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StallScope.h"
#include "core/StateManager.h"
#include "input/RemoteInputRoute.h"
#include "ui/win/BlackCover.h"
#include "ui/win/MainWindow.h"
#include "ui/win/MainWindowParts.h"
#include "dragdrop/win/DragDrop.h"
#include "ui/win/MainWindowState.h"

namespace {

UINT TaskbarCreatedMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

bool KeyDown(int key) {
    return (::GetKeyState(key) & 0x8000) != 0;
}

void FocusRemoteView() {
    if (HWND view = RemoteViewWindow())
        ::SetFocus(view);
}

void SetKeyboardActive(bool active) {
    if (RuntimeSetKeyboardActive(active))
        RuntimeNotifyChanged();
}

LRESULT OnActivate(HWND window, WPARAM wParam, LPARAM lParam) {
    if (RuntimeIsClientRunning()) {
        bool active = LOWORD(wParam) != WA_INACTIVE;
        SetKeyboardActive(active);
        if (active) {
            FocusRemoteView();
        } else {
            RemoteInputRoute().ReleaseRemoteModifiers("MainWindowDeactivate");
            RemoteInputRoute().ClearHookKeyState("MainWindowDeactivate");
        }
        Log::Write("Remote keyboard %s: WM_ACTIVATE render-live", active ? "active" : "inactive");
    }
    return ::DefWindowProcW(window, WM_ACTIVATE, wParam, lParam);
}

LRESULT OnClose(HWND window) {
    Log::Write("MainWindow WM_CLOSE: hide to tray");
    IMainWindowParts& parts = MainWindowParts();
    ::KillTimer(window, kTimerFullscreenHint);
    parts.EndFullscreenHint(window);
    parts.HideMainWindowToTray(window);
    const wchar_t* text = ConfigService::Instance().IsUiLanguageEnglish()
                              ? L"Marlo is hidden to tray. Use the tray menu to exit."
                              : L"程序已隐藏到托盘，右键托盘图标可退出";
    parts.ShowTrayBalloon(window, text, NIIF_INFO, 3000);
    return 0;
}

bool CursorOverControlView(WPARAM wParam) {
    HWND control = ControlViewWindow();
    if (control == nullptr || !::IsWindowVisible(control))
        return false;
    if (reinterpret_cast<HWND>(wParam) == control)
        return true;
    POINT cursor{};
    RECT rect{};
    return ::GetCursorPos(&cursor) && ::GetWindowRect(control, &rect) && ::PtInRect(&rect, cursor);
}

LRESULT OnKeyDown(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    IMainWindowParts& parts = MainWindowParts();
    if (wParam == VK_ESCAPE && parts.CancelCustomResize(window))
        return 0;
    // An auto-repeated key (bit 30: it was already down) would toggle again and again while held.
    bool repeat = (lParam & (1L << 30)) != 0;
    bool ctrlAlt = KeyDown(VK_CONTROL) && KeyDown(VK_MENU);
    if (ctrlAlt && wParam == VK_F11) {
        if (!repeat)
            parts.ToggleFullscreen(window, "WM_KEYDOWN Ctrl+Alt+F11");
        return 0;
    }
    if (ctrlAlt && wParam == '0') {
        if (!repeat)
            MainWindowToggleStateView("WM_KEYDOWN Ctrl+Alt+0");
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT OnTimer(HWND window, WPARAM id, LPARAM lParam) {
    switch (id) {
    case kTimerRuntimeRetry:
        MainWindowOnRuntimeRetryTimer(window);
        return 0;
    case kTimerHotkeyPoll:
        MainWindowParts().HotkeyPoll(window);
        return 0;
    case kTimerBalloonHide:
        ::KillTimer(window, kTimerBalloonHide);
        MainWindowParts().HideTrayBalloon(window);
        return 0;
    case kTimerFullscreenHint:
    case kTimerResizeFinalLayout:
    case kTimerResizeWatchdog:
    case kTimerResizePoll:
        MainWindowParts().OnResizeTimer(window, id);
        return 0;
    default:
        return ::DefWindowProcW(window, WM_TIMER, id, lParam);
    }
}

void OnClipboardUpdate(HWND window) {
    StallScope scope("ClipboardService", "OnLocalUpdate", 100);
    IMainWindowParts& parts = MainWindowParts();
    if (!RuntimeIsAppRunning())
        return;
    if (!parts.IsClipboardChannelRunning()) {
        Log::Write("[CLIP][SERVICE][LOCAL] ignored not-running");
        return;
    }
    if (!parts.IsClipboardServiceEnabled()) {
        Log::Write("[CLIP][SERVICE][LOCAL] ignored disabled");
        return;
    }
    StateManager::Instance().SetClipboardBusy(true, "local-clipboard-update");
    parts.OnLocalClipboardUpdate(window);
    StateManager::Instance().SetClipboardBusy(false, "local-clipboard-update");
}

void OnRemoteInputLeave() {
    RemoteInputRoute().ClearHookKeyState("remote-input-boundary-leave");
    SetKeyboardActive(false);
    RemoteInputRoute().ReleaseRemoteModifiers("MainWindowBoundaryLeave");
}

void OnDragService(WPARAM wParam) {
    MainWindowUi& ui = MainUi();
    int32_t connected = wParam != 0 ? 1 : 0;
    if (connected != ui.dragServiceUiState) {
        Log::Write("[DRAG][SERVICE][UI_CONTROL] connected=%d", connected);
        ui.dragServiceUiState = connected;
    }
    if (connected)
        DragDrop::Start(reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(ui.window.load(), GWLP_HINSTANCE)));
    else
        DragDrop::Stop();
}

bool IsResizeFamily(UINT message) {
    switch (message) {
    case WM_CANCELMODE:
    case WM_SETCURSOR:
    case WM_NCHITTEST:
    case WM_NCLBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_SIZING:
    case WM_CAPTURECHANGED:
    case WM_MOVING:
    case WM_ENTERSIZEMOVE:
    case WM_EXITSIZEMOVE:
    case WM_NCMOUSELEAVE:
    case WM_MOUSELEAVE:
    case WM_DPICHANGED:
        return true;
    default:
        return false;
    }
}

LRESULT Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    IMainWindowParts& parts = MainWindowParts();
    if (message == TaskbarCreatedMessage() && message != 0) {
        MainWindowOnTaskbarCreated(window);
        return 0;
    }
    if (message == WM_SETCURSOR && CursorOverControlView(wParam)) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    }
    if (IsResizeFamily(message)) {
        LRESULT result = 0;
        if (parts.HandleResizeMessage(window, message, wParam, lParam, &result))
            return result;
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_CREATE:
        MainWindowOnCreate(window, reinterpret_cast<CREATESTRUCTW*>(lParam)->hInstance);
        return 0;
    case WM_DESTROY:
        MainWindowOnDestroy(window);
        return 0;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED) {
            parts.HideMainWindowToTray(window);
        } else if (parts.IsResizeIdle()) {
            LayoutChildren(window);
            if (parts.IsFullscreen())
                parts.FullscreenRelayout(window);
        } else {
            parts.DeferLayout(window, "WM_SIZE/resize-state");
        }
        return 0;
    case WM_ACTIVATE:
        return OnActivate(window, wParam, lParam);
    case WM_SETFOCUS:
        FocusRemoteView();
        return 0;
    case WM_CLOSE:
        return OnClose(window);
    case WM_SHOWWINDOW:
        parts.SetLocalVideoVisibility(wParam == 0);
        return ::DefWindowProcW(window, message, wParam, lParam);
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
        if (parts.HandleMenuItemMessage(message, lParam))
            return TRUE;
        return ::DefWindowProcW(window, message, wParam, lParam);
    case WM_CTLCOLORSTATIC: {
        HWND label = parts.FullscreenHintLabel();
        if (label == nullptr || reinterpret_cast<HWND>(lParam) != label)
            return ::DefWindowProcW(window, message, wParam, lParam);
        MainWindowUi& ui = MainUi();
        if (ui.hintBrush.Get() == nullptr)
            ui.hintBrush.Reset(::CreateSolidBrush(RGB(40, 40, 40)));
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, RGB(255, 255, 255));
        ::SetBkColor(dc, RGB(40, 40, 40));
        return reinterpret_cast<LRESULT>(ui.hintBrush.Get());
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return OnKeyDown(window, message, wParam, lParam);
    case WM_TIMER:
        return OnTimer(window, wParam, lParam);
    case WM_CLIPBOARDUPDATE:
        OnClipboardUpdate(window);
        return 0;
    case WM_DROPFILES:
        MainWindowOnDropFiles(window, reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_APP_FINAL_DESTROY:
        Log::Write("MainWindow final destroy after async shutdown");
        ::DestroyWindow(window);
        return 0;
    case WM_APP_TRAY_CALLBACK:
        MainWindowOnTrayCallback(window, wParam, lParam);
        return 0;
    case WM_APP_TOGGLE_FULLSCREEN:
        parts.ToggleFullscreen(window, "Ctrl+Alt+F11");
        return 0;
    case WM_APP_TOGGLE_STATEVIEW:
        MainWindowToggleStateView("focus Ctrl+Alt+0");
        return 0;
    case WM_APP_SHOW_TRAY_MENU:
        MainWindowOnShowTrayMenu(window);
        return 0;
    case WM_APP_REMOTE_INPUT_LEAVE:
        OnRemoteInputLeave();
        return 0;
    case WM_APP_TRANSFER_EVENT:
        MainWindowOnTransferEvent(window);
        return 0;
    case WM_APP_LONG_TRANSFER_SHOW:
        MainWindowOnLongTransferShow(window, static_cast<uint64_t>(wParam), static_cast<uint32_t>(lParam));
        return 0;
    case WM_APP_RUNTIME_STATE:
        MainWindowOnRuntimeState(window);
        return 0;
    case WM_APP_DRAG_SERVICE:
        OnDragService(wParam);
        return 0;
    case WM_APP_UI_EVENTS:
        MainWindowOnUiEvents(window);
        return 0;
    case WM_APP_BLACK_COVER_APPLY: // the cover's wish, while RemoteView does not exist
        BlackCoverApplyWish();
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    StallScope scope("UI", "MainWndProc", 200);
    // While WM_DESTROY waits for the lifecycle stop it keeps pumping: what reaches the window then gets
    // default handling only.
    if (MainUi().destroying.load() && message != WM_DESTROY && message != WM_CREATE)
        return ::DefWindowProcW(window, message, wParam, lParam);
    return Dispatch(window, message, wParam, lParam);
}
