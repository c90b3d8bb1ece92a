#pragma once

#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "core/win/Handles.h"
#include "ui/LongTransferDecisions.h"
#include "ui/RuntimeRefreshGate.h"
#include "ui/SessionRoles.h"
#include "ui/StateViewToggleGate.h"

// The main window's process-wide state (one window per process). Plain members belong to the UI thread;
// the atomics are read by other threads.
struct MainWindowUi {
    std::atomic<HWND> window{nullptr};
    std::atomic<bool> destroying{false};
    std::atomic<bool> asyncShutdownDone{false}; // set by the tray's exit worker

    HWND progressWindow = nullptr;
    // EventBus ids; the bus has no unsubscribe, so they outlive the window and are reused by the next one.
    uint64_t eventSubscriptions[4] = {0, 0, 0, 0}; // types 2, 3, 4, 5

    RuntimeRefreshGate refreshGate;
    StateViewToggleGate stateViewToggle;
    bool stateViewVisible = false;
    LongTransferTracking longTransfer;
    AutoHideLatch autoHide;
    std::atomic<bool> blackViewPainted{false};
    int32_t dragServiceUiState = -1; // -1 before the first drag-service message
    bool clipboardListening = false;

    UniqueHook keyboardHook;
    UniqueGdiObject hintBrush; // RGB(40,40,40), created once
    UniqueIcon bigIcon, smallIcon;
};

MainWindowUi& MainUi();

// Internal steps of the window procedure, one file each.
void MainWindowOnCreate(HWND window, HINSTANCE instance);
void MainWindowOnDestroy(HWND window);
void MainWindowOnTrayCallback(HWND window, WPARAM wParam, LPARAM lParam);
void MainWindowOnShowTrayMenu(HWND window);
void MainWindowOnTaskbarCreated(HWND window);
void MainWindowOnRuntimeState(HWND window);
void MainWindowOnRuntimeRetryTimer(HWND window);
void MainWindowOnTransferEvent(HWND window);
void MainWindowOnLongTransferShow(HWND window, uint64_t id, uint32_t ageMs);
void MainWindowOnDropFiles(HWND window, HDROP drop);
void MainWindowOnUiEvents(HWND window);
void MainWindowSubscribeEvents();
void MainWindowToggleStateView(const char* source);
// The RemoteView black cover in step with the session (the runtime-state refresh and ControlView's timer).
void SyncBlackView();
void UninstallKeyboardGrabHook();
// The injected (or the application's) lifecycle stop.
void MainWindowStopLifecycle(const char* reason);
// Repaints StateView when it exists.
void RepaintStateView();
// Sets the runtime record's status message, then repaints StateView.
void SetStatusAndRepaint(const char* text);
// The runtime record's child handles as windows.
HWND RemoteViewWindow();
HWND ControlViewWindow();
HWND StateViewWindow();
