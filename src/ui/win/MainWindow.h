#pragma once

#include <windows.h>

#include <cstdint>

#include "app/StartupPlatform.h"

inline constexpr wchar_t kMainWindowClass[] = L"Tessaly_UDPVideo_Demo_Wnd";

// Messages posted to the main window; the numbers are fixed because other threads and windows post them.
inline constexpr UINT WM_APP_FINAL_DESTROY = 0x8410;      // the asynchronous shutdown is done
inline constexpr UINT WM_APP_TRAY_CALLBACK = 0x8411;      // lParam low word: the notify event
inline constexpr UINT WM_APP_TOGGLE_FULLSCREEN = 0x8412;  // keyboard hook, RemoteView
inline constexpr UINT WM_APP_TOGGLE_STATEVIEW = 0x8413;   // keyboard hook, RemoteView
inline constexpr UINT WM_APP_SHOW_TRAY_MENU = 0x8414;     // posted by the tray request itself
inline constexpr UINT WM_APP_REMOTE_INPUT_LEAVE = 0x8415; // the mouse left RemoteView
inline constexpr UINT WM_APP_TRANSFER_EVENT = 0x8416;     // a file-transfer event was published
inline constexpr UINT WM_APP_LONG_TRANSFER_SHOW = 0x8417; // wParam transfer id, lParam age in ms
inline constexpr UINT WM_APP_RUNTIME_STATE = 0x8420;      // the runtime state's change notice
inline constexpr UINT WM_APP_DRAG_SERVICE = 0x8430;       // wParam 1 connected, 0 not
// Event-bus work queued for the UI thread (balloons, StateView repaints).
inline constexpr UINT WM_APP_UI_EVENTS = 0x8440;
// The progress window's own relayout message.
inline constexpr UINT WM_APP_PROGRESS_RELAYOUT = 0x8530;

// Main-window timers.
inline constexpr UINT_PTR kTimerBalloonHide = 22787;
inline constexpr UINT_PTR kTimerFullscreenHint = 22788;
inline constexpr UINT_PTR kTimerResizeFinalLayout = 22789;
inline constexpr UINT_PTR kTimerResizeWatchdog = 22790;
inline constexpr UINT_PTR kTimerResizePoll = 22791;
inline constexpr UINT_PTR kTimerRuntimeRetry = 22792;
inline constexpr UINT_PTR kTimerHotkeyPoll = 22793;
inline constexpr UINT kHotkeyPollMs = 50;
// RemoteView's drag-hover timer, handled by RemoteView.

// 0 when registered, else the Win32 error (ERROR_CLASS_ALREADY_EXISTS included).
uint32_t RegisterTessalyWindowClass(HINSTANCE instance, WindowClass windowClass);
// Creates the main window and shows it with showCommand; false with the Win32 error on failure.
CallResult CreateMainWindow(HINSTANCE instance, int showCommand);
HWND MainWindowHandle();

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void LayoutChildren(HWND window);
void UpdateMainWindowTitle(HWND window);
void InstallKeyboardGrabHook();

// Set in WM_DESTROY; workers that post to the window (the long-transfer worker) stop when they see it.
bool MainWindowIsDestroying();
// The tray's exit path calls it once the lifecycle modules are stopped, so WM_DESTROY does not stop them
// again.
void MainWindowMarkAsyncShutdownDone();

// How the window starts and stops the lifecycle modules: AppLifecycleStartAll / AppLifecycleStopAll unless
// a test injects its own (null members: those).
struct MainWindowLifecycle {
    bool (*start)() = nullptr;
    void (*stop)(const char* reason) = nullptr;
};
void SetMainWindowLifecycle(const MainWindowLifecycle& lifecycle);
