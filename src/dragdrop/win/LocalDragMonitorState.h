#pragma once

#include <windows.h>

#include <atomic>

#include "dragdrop/LocalDragGesture.h"
#include "dragdrop/LocalSelectionCache.h"

// The monitor's state, shared by its files: the gesture on the UI thread, the caches under their mutexes.

// Posted to the monitor window when a release's late selection read has finished.
inline constexpr UINT kMsgLateSelection = WM_APP + 0x251;

struct LocalDragMonitorState {
    LocalDragGesture gesture;
    LocalSelectionCache cache;     // the gesture's selection
    LocalSelectionCache lateCache; // a release's late read, which outlives the gesture
    uint64_t lateGestureId = 0;
    POINT lateReleasePoint{};
    bool lateNativeCancel = false;
    bool hoverLateTried = false;
    std::atomic<HWND> window{nullptr};
    std::atomic<uint32_t> interval{0};
};

LocalDragMonitorState& MonitorState();

void MonitorPoll();
void MonitorOnMouseUp();
void MonitorOnLateSelection();
// Starts a detached read of the selection at start for the gesture into cache; false when no thread ran.
bool StartSelectionFill(LocalSelectionCache& cache, uint64_t gestureId, POINT start, const char* reason,
                        HWND notify);
void MonitorTrace(const char* phase, const char* decision, POINT point, int64_t dist2, const char* reason);
bool AtVirtualEdge(POINT point);
