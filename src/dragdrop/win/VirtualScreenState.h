#pragma once

#include <windows.h>
#include <wrl/client.h>

#include <atomic>
#include <climits>
#include <mutex>
#include <string>
#include <vector>

#include "core/HasText.h"
#include "core/win/Handles.h"
#include "dragdrop/VirtualCursorMotion.h"
#include "dragdrop/VirtualScreenGeometry.h"
#include "dragdrop/win/VirtualScreenDropTarget.h"

// The virtual screen's state, shared by its files. UI thread, except the members marked atomic and the
// drop completions (under their mutex).

// Posted to the manager window: a physical release finished a remote drag-out (from the hook), a drop
// worker finished.
inline constexpr UINT kMsgDragOutDrop = WM_APP + 0x241;
inline constexpr UINT kMsgDropDone = WM_APP + 0x242;

struct DropCompletion {
    std::string reason;
    std::string first; // the first path, UTF-8
    uint32_t count = 0;
    bool ok = false;
    bool wasActive = false;
};

struct VirtualScreenState {
    std::atomic<int32_t> mode{0};
    std::atomic<bool> active{false};
    int32_t entryMode = 0; // the mode the cursor crossed in: mode off still restores through that edge
    ScreenPoint pin;
    VirtualCursorMotion motion;
    ScreenPoint lastHookPoint{INT_MIN, INT_MIN}; // both INT_MIN: none
    bool leftTrackedDown = false;
    std::atomic<bool> localFileDrag{false};
    std::atomic<bool> dragVisualSent{false};
    bool oleDragOverEdge = false;
    bool dragOutPending = false;
    std::atomic<uint32_t> dragOutStartTick{0};
    std::atomic<uint32_t> lastLocalDropTick{0};

    HWND manager = nullptr;
    HWND edge = nullptr;
    HWND mainWindow = nullptr;
    UniqueHook hook;
    bool rawRegistered = false;
    Microsoft::WRL::ComPtr<VirtualScreenDropTarget> dropTarget;
    bool dropTargetRegistered = false;
    bool oleInitialized = false;

    std::mutex completionMutex;
    std::vector<DropCompletion> completions; // under completionMutex
};

VirtualScreenState& VsState();

// An optional reason, or its default.
inline const char* ReasonOr(const char* reason, const char* fallback) {
    return HasText(reason) ? reason : fallback;
}

class IVirtualScreenEdge;
// The virtual screen as the drag service and RemoteView see it (installed while started).
IVirtualScreenEdge& VsEdge();
// Sends the virtual cursor when the input scope is on and input is ready (logs a blocked scope).
ICursorSender& VsCursorSender();
ScreenRect VsDesktopRect();
RemoteScreenSize VsRemoteSize();
ScreenPoint ToScreenPoint(POINT p);
bool VsIsOverMainWindow(POINT p);
// The overlay's drag-visual flag, refreshed at once; logs the state line when it changed.
void VsSetOverlay(bool active, const char* reason);
void VsUpdateEdgeWindow();
// Handles the drop completions the workers queued.
void VsDrainDropCompletions();
LRESULT CALLBACK VsManagerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK VsEdgeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
