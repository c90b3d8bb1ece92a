#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/LongTransferDecisions.h"

// The main window's calls into the pieces that hang off it: the tray, the custom resize and fullscreen,
// ControlView and StateView, the transfer progress window, the keyboard hook, the virtual screen, the
// clipboard channel and discovery. Each default is harmless and says what it does; the pieces install one
// object (SetMainWindowParts) that overrides what they own. UI thread only, unless said otherwise.
class IMainWindowParts {
public:
    virtual ~IMainWindowParts() = default;

    // --- Tray.
    // Default: no icon; TrayFlags().iconAdded stays clear.
    virtual void AddTrayIcon(HWND main) { (void)main; }
    // Default: nothing to remove.
    virtual void RemoveTrayIcon(HWND main) { (void)main; }
    // Default: no balloon is shown.
    virtual void ShowTrayBalloon(HWND main, const std::wstring& text, uint32_t infoFlags,
                                 uint32_t timeoutMs) {
        (void)main, (void)text, (void)infoFlags, (void)timeoutMs;
    }
    // Default: nothing is shown, so nothing to hide.
    virtual void HideTrayBalloon(HWND main) { (void)main; }
    // Default: no menu; the request is consumed (pending flag cleared) so repaints are not held back.
    virtual void ShowTrayMenu(HWND main, POINT at, const char* source);
    // Default: tells discovery the view is shown, shows the window and brings it forward.
    virtual void RestoreFromTray(HWND main);
    // Default: tells discovery the view is hidden, hides the window.
    virtual void HideMainWindowToTray(HWND main);
    // Default: the preference is not read.
    virtual void QueryStartWithWindows(bool forceReload) { (void)forceReload; }
    // Owner-drawn menu items (WM_MEASUREITEM / WM_DRAWITEM). Default: not handled.
    virtual bool HandleMenuItemMessage(UINT message, LPARAM lParam) {
        (void)message, (void)lParam;
        return false;
    }

    // --- Custom resize, fullscreen and DPI.
    // Default: never inside a resize.
    virtual bool IsResizeIdle() { return true; }
    // Default: nothing to defer (never called while idle).
    virtual void DeferLayout(HWND main, const char* reason) { (void)main, (void)reason; }
    // Default: no resize to end.
    virtual void EndResize(HWND main, const char* reason, bool forced) {
        (void)main, (void)reason, (void)forced;
    }
    // Escape during a custom resize; true when one was ended. Default: none runs.
    virtual bool CancelCustomResize(HWND main) {
        (void)main;
        return false;
    }
    // The resize, hover and DPI messages; true with *result when handled. Default: not handled.
    virtual bool HandleResizeMessage(HWND main, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
        (void)main, (void)message, (void)wParam, (void)lParam, (void)result;
        return false;
    }
    // Timers 22788..22791. Default: nothing runs them.
    virtual void OnResizeTimer(HWND main, UINT_PTR id) { (void)main, (void)id; }
    // Default: never fullscreen.
    virtual bool IsFullscreen() { return false; }
    virtual void FullscreenRelayout(HWND main) { (void)main; }
    // Default: fullscreen is not available.
    virtual void ToggleFullscreen(HWND main, const char* source) { (void)main, (void)source; }
    // The fullscreen hint label (its WM_CTLCOLORSTATIC colours); default none.
    virtual HWND FullscreenHintLabel() { return nullptr; }
    // Kills the hint's timers and destroys its window. Default: there is no hint.
    virtual void EndFullscreenHint(HWND main) { (void)main; }
    // Default: logs text alone, without the DPI figures.
    virtual void LogDpiLine(HWND main, const char* text);

    // --- ControlView and StateView.
    // Default: 1.0 (design size).
    virtual double ControlViewScale(HWND main) {
        (void)main;
        return 1.0;
    }
    // Default: left where it was created.
    virtual void LayoutControlView(HWND main, HWND controlView) { (void)main, (void)controlView; }
    // Default: hidden while this PC is controlling (so it does not cover the peer's picture), else shown.
    virtual void SyncControlViewVisibility(HWND controlView);
    // Default: shown or hidden after the StateView visible flag; not moved.
    virtual void LayoutStateView(HWND main, HWND stateView);

    // --- Transfer progress window.
    // Default: DefWindowProcW.
    virtual WNDPROC ProgressWindowProc() { return ::DefWindowProcW; }
    // Default: left where it was created.
    virtual void PlaceProgressWindow(HWND main, HWND progress) { (void)main, (void)progress; }
    // Sets the window's refresh-pending flag; true when it was clear (any thread). Default: no flag, false.
    virtual bool MarkProgressRefreshPending() { return false; }
    // Clears the refresh-pending flag, relabels and shows the window. Default: nothing to show.
    virtual void RefreshProgressWindow(HWND progress) { (void)progress; }
    // The transfer model's snapshot. Default: idle (phase 0).
    virtual TransferUiSnapshot TransferSnapshot() { return {}; }
    // Starts the long-transfer worker for id (it runs once at a time). Default: no worker.
    virtual void StartLongTransferWorker(uint64_t id, uint32_t delayMs) { (void)id, (void)delayMs; }
    // Brings the main window to the front for a transfer that has run ageMs. Default: restores it from the
    // tray.
    virtual void BringForwardForLongTransfer(HWND main, uint64_t id, uint32_t ageMs) {
        (void)id, (void)ageMs;
        RestoreFromTray(main);
    }
    // Default: the transfer service is not built; the choice is only logged.
    virtual void SetTransferConflictRename(bool rename) { (void)rename; }

    // --- Keyboard hook.
    // The low-level keyboard hook procedure; null installs one that passes every key on. Default: the
    // controller's hook (KeyboardHook::LowLevelKeyboardProc).
    virtual HOOKPROC KeyboardHookProc();
    // Timer 22793. Default: the hook's shortcut poll, toggling through ToggleFullscreen and the main window's
    // debounced StateView toggle.
    virtual void HotkeyPoll(HWND main);

    // --- Virtual screen.
    // Default: not available (false).
    virtual bool IsVirtualScreenStarted() { return false; }
    virtual bool StartVirtualScreen(HWND main) {
        (void)main;
        return false;
    }
    virtual void StopVirtualScreen() {}
    virtual void SetVirtualScreenMode(int32_t mode) { (void)mode; }
    // Default: 0 (off).
    virtual int32_t VirtualScreenMode() { return 0; }
    // Within 32 px of the virtual edge. Default: false.
    virtual bool IsNearVirtualEdge(POINT screenPoint) {
        (void)screenPoint;
        return false;
    }

    // --- Clipboard channel (any thread for the queries).
    // Default: the clipboard sharing setting.
    virtual bool IsClipboardServiceEnabled();
    // Default: not running, not connected.
    virtual bool IsClipboardChannelRunning() { return false; }
    virtual bool IsClipboardChannelConnected() { return false; }
    // WM_CLIPBOARDUPDATE handed over, with the main window as clipboard owner. Default: nobody takes it.
    virtual void OnLocalClipboardUpdate(HWND main) { (void)main; }

    // --- Discovery.
    // Tells the peer whether this PC's view of it is hidden. Default: Discovery::SetLocalVideoVisibility.
    virtual void SetLocalVideoVisibility(bool hidden);
};

// The object must live to the end of the process. Null: the defaults.
void SetMainWindowParts(IMainWindowParts* parts);
IMainWindowParts& MainWindowParts();
