#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/RemoteViewKeys.h"

// RemoteView's process-wide state. UI thread only.
struct RemoteViewState {
    static constexpr LONG kNoPoint = static_cast<LONG>(0x80000000);

    bool mouseInside = false;
    // The window whose WM_MOUSELEAVE ends the entry: RemoteView, or the cover lying over it.
    HWND trackedWindow = nullptr;
    // A left press in RemoteView, until its release: where it went down, locally and on the peer.
    bool leftDrag = false;
    POINT dragStartClient{};
    POINT dragStartRemote{};
    bool returnedToStart = false;
    POINT lastTimerPoint{kNoPoint, kNoPoint};
    StateViewDebounce stateViewDebounce;
    // The main window's client size while the renderer's size/move pause defers the layout.
    bool sizePending = false;
    SIZE pendingSize{};
    uint32_t lastDeferLogTick = 0;
};

RemoteViewState& RemoteViewUiState();

// The window as the input route names it.
inline uintptr_t RouteWindow(HWND hwnd) {
    return reinterpret_cast<uintptr_t>(hwnd);
}
