#include "dragdrop/win/LocalDragMonitor.h"

#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/RuntimeState.h"
#include "core/StallScope.h"
#include "core/Utf.h"
#include "dragdrop/VirtualScreenLink.h"
#include "dragdrop/win/LocalDragMonitorState.h"
#include "dragdrop/win/VirtualScreen.h"

namespace {

bool Down(int vk) {
    return (::GetAsyncKeyState(vk) & 0x8000) != 0;
}

class MonitorProbe final : public IGestureProbe {
public:
    bool IsOverRemoteView(ScreenPoint p) override {
        return LocalDragMonitorIsPointOverRemoteView(POINT{p.x, p.y});
    }
    bool IsRemoteTransferActive() override { return VirtualScreenLink().IsDragTransferActive(); }
};

POINT ToPoint(ScreenPoint p) {
    return POINT{p.x, p.y};
}

unsigned SendEscape() {
    INPUT keys[2] = {};
    keys[0].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = VK_ESCAPE;
    keys[1] = keys[0];
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return ::SendInput(2, keys, sizeof(INPUT));
}

// Carries the files across: the mouse goes to the peer with the drag visual shown there.
void HoverOnPeer(POINT cursor, int32_t mode) {
    StallScope stall("DragDrop", "HoverVirtualScreenLocalDrag", 50);
    if (!VirtualScreen::IsInputReady())
        return;
    if (!VirtualScreen::IsActive())
        VirtualScreenEnter(mode, cursor, "local-file-drag-hover");
    if (!VirtualScreen::IsActive())
        return;
    VirtualScreen::SetLocalFileDrag(true);
    VirtualScreen::SendDragVisualState(true, "local-file-drag-hover");
    VirtualScreen::PinCursor();
    VirtualScreen::SendCursorMove(false);
    if (LogThrottle::Allow("dragmon.vscreen.hover", 500)) {
        const POINT remote = VirtualScreen::RemoteCursor();
        Log::Write("[VSCREEN][DROP][HOVER] reason=%s active=%d local=%ld,%ld remote=%d,%d mode=%d "
                   "localFileDrag=1",
                   "local-file-drag-hover", 1, cursor.x, cursor.y, static_cast<int>(remote.x),
                   static_cast<int>(remote.y), mode);
    }
}

bool TakeSelection(LocalDragMonitorState& m, std::vector<std::u16string>& paths) {
    uint32_t age = 0;
    ScreenPoint start;
    const uint64_t id = m.gesture.Id();
    switch (m.cache.Take(id, ::GetTickCount(), paths, age, start)) {
    case SelectionTake::Hit:
        Log::Write("[DRAGMON][VSCREEN][LOCALSEL][HIT] id=%llu age=%lu count=%u start=%d,%d first=%s",
                   static_cast<unsigned long long>(id), static_cast<unsigned long>(age),
                   static_cast<unsigned>(paths.size()), start.x, start.y, Utf16ToUtf8(paths.front()).c_str());
        return true;
    case SelectionTake::Stale:
        Log::Write("[DRAGMON][VSCREEN][LOCALSEL][STALE] id=%llu age=%lu max=%lu count=%u",
                   static_cast<unsigned long long>(id), static_cast<unsigned long>(age),
                   static_cast<unsigned long>(kLocalSelectionMaxAgeMs),
                   static_cast<unsigned>(m.cache.Count()));
        return false;
    case SelectionTake::Empty:
        return false;
    }
    return false;
}

void EdgeWork(LocalDragMonitorState& m, POINT cursor) {
    const uint64_t id = m.gesture.Id();
    const POINT start = ToPoint(m.gesture.Start());
    std::vector<std::u16string> paths;
    if (!TakeSelection(m, paths) && !m.cache.IsFillRunning() && (start.x != 0 || start.y != 0) &&
        !m.hoverLateTried) {
        // The shell is not asked on this thread: the read runs on its own and a later poll takes it.
        m.hoverLateTried = true;
        Log::Write("[DRAGMON][VSCREEN][LOCALSEL][LATE_TRY] id=%llu reason=%s start=%ld,%ld",
                   static_cast<unsigned long long>(id), "hover-virtual-edge-late-selection", start.x,
                   start.y);
        StartSelectionFill(m.cache, id, start, "hover-virtual-edge-late-selection", nullptr);
    }
    if (paths.empty()) {
        if (LogThrottle::Allow("dragmon.vscreen.hover.miss", 500))
            Log::Write("[DRAGMON][VSCREEN][LOCAL->REMOTE][HOVER_MISS] id=%llu cfHdrop=%d canceled=%d "
                       "start=%ld,%ld pt=%ld,%ld",
                       static_cast<unsigned long long>(id), 0, m.gesture.Cancelled() ? 1 : 0, start.x,
                       start.y, cursor.x, cursor.y);
        return;
    }
    if (m.gesture.MarkNativeCancel()) {
        const unsigned sent = SendEscape();
        Log::Write("[DRAGMON][VSCREEN][LOCAL->REMOTE][CANCEL_NATIVE] id=%llu sent=%u startSel=%d cfHdrop=%d "
                   "pt=%ld,%ld reason=%s",
                   static_cast<unsigned long long>(id), sent, static_cast<int>(paths.size()), 0, cursor.x,
                   cursor.y, "hover-virtual-edge");
    }
    HoverOnPeer(cursor, VirtualScreen::Mode());
    if (LogThrottle::Allow("dragmon.local.hover", 500))
        Log::Write("[DRAGMON][VSCREEN][LOCAL->REMOTE][HOVER] id=%llu startSel=%d cfHdrop=%d canceled=%d "
                   "nativeCancel=%d pt=%ld,%ld",
                   static_cast<unsigned long long>(id), static_cast<int>(paths.size()), 0,
                   m.gesture.Cancelled() ? 1 : 0, m.gesture.NativeCancelled() ? 1 : 0, cursor.x, cursor.y);
}

void OnNewGesture(LocalDragMonitorState& m, POINT cursor, bool suppressed) {
    m.hoverLateTried = false;
    RuntimeSetDropReady(false, 0, 0, nullptr);
    MonitorTrace("mouse-down", "start", cursor, 0, "new-gesture");
    m.cache.Clear();
    if (!m.gesture.StartInRemoteView())
        return;
    if (suppressed)
        MonitorTrace("mouse-down", "suppress-probe", cursor, 0, "remote-drag-active");
    else
        MonitorTrace("mouse-down", "allow-probe", cursor, 0, "RemoteView-start-without-remote-drag-context");
}

void EndGesture(LocalDragMonitorState& m) {
    m.gesture.Reset();
    m.hoverLateTried = false;
    m.cache.Clear();
    RuntimeSetLocalDrag(0, false, 0, 0, "");
}

} // namespace

LocalDragMonitorState& MonitorState() {
    static LocalDragMonitorState* state = new LocalDragMonitorState(); // fills may finish after shutdown
    return *state;
}

bool AtVirtualEdge(POINT point) {
    const int32_t mode = VirtualScreen::Mode();
    return mode != 0 && VirtualScreen::IsPointAtEdge(point, mode, kDropMargin);
}

void MonitorTrace(const char* phase, const char* decision, POINT point, int64_t dist2, const char* reason) {
    if (!Log::IsDebugCategoryEnabled("drag"))
        return;
    LocalDragMonitorState& m = MonitorState();
    const RuntimeSnapshot s = RuntimeMakeSnapshot();
    Log::Write(
        "[DRAGMON][TRACE] id=%llu phase=%s decision=%s reason=%s pt=%d,%d dist2=%d startInRemoteView=%d "
        "remoteActiveAtStart=%d remoteActiveNow=%d remoteFiles=%d probeVisible=%d done=%d canceled=%d "
        "cacheCount=%d cacheBytes=%llu",
        static_cast<unsigned long long>(m.gesture.Id()), phase, decision, reason, static_cast<int>(point.x),
        static_cast<int>(point.y), static_cast<int>(dist2), m.gesture.StartInRemoteView() ? 1 : 0,
        m.gesture.RemoteActiveAtStart() ? 1 : 0, s.remoteDragActive ? 1 : 0, s.remoteDragCount, 0, 0,
        m.gesture.Cancelled() ? 1 : 0, 0, 0ull);
}

void MonitorPoll() {
    LocalDragMonitorState& m = MonitorState();
    POINT cursor{};
    ::GetCursorPos(&cursor);
    const bool held = Down(VK_LBUTTON) || Down(VK_RBUTTON);
    const bool selectionIdle = !m.cache.IsFillRunning() && m.cache.IsEmpty();
    MonitorProbe probe;
    const GestureStep step = m.gesture.Poll(held, ScreenPoint{cursor.x, cursor.y},
                                            held && AtVirtualEdge(cursor), selectionIdle, probe);
    if (step.startFill)
        StartSelectionFill(m.cache, m.gesture.Id(), ToPoint(m.gesture.Start()), "drag-threshold", nullptr);
    switch (step.kind) {
    case GestureStepKind::Idle:
    case GestureStepKind::Moving:
        break;
    case GestureStepKind::Started:
    case GestureStepKind::StartedSuppressed:
        OnNewGesture(m, cursor, step.kind == GestureStepKind::StartedSuppressed);
        break;
    case GestureStepKind::AtEdge:
        EdgeWork(m, cursor);
        break;
    case GestureStepKind::CancelledTooFar:
        m.cache.Clear();
        Log::Write(
            "[DRAGMON][LOCAL->REMOTE][NO-CFHDROP] id=%llu Probe canceled: moved too far without CF_HDROP "
            "dist2=%d max=%d hint=ExplorerToElevatedUIPIOrNonFileDrag",
            static_cast<unsigned long long>(m.gesture.Id()), static_cast<int>(step.dist2), 1400);
        MonitorTrace("move", "cancel-probe", cursor, step.dist2, "moved-too-far-without-CF_HDROP");
        break;
    case GestureStepKind::Released:
        MonitorOnMouseUp();
        EndGesture(m);
        break;
    }
    if (step.firstNoProbeOverRemote)
        MonitorTrace("move", "no-probe", cursor, step.dist2, "transparent-OLE-probe-removed");
}

LRESULT CALLBACK LocalDragMonitorWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LocalDragMonitorState& m = MonitorState();
    switch (msg) {
    case WM_CREATE:
        m.window.store(hwnd);
        m.interval.store(kMonitorIdlePollMs);
        ::SetTimer(hwnd, kLocalDragMonitorTimerId, kMonitorIdlePollMs, nullptr);
        return 0;
    case WM_TIMER: {
        if (wParam != kLocalDragMonitorTimerId)
            return 0;
        const uint32_t interval = Down(VK_LBUTTON) || Down(VK_RBUTTON) || Down(VK_MBUTTON)
                                      ? kMonitorActivePollMs
                                      : kMonitorIdlePollMs;
        if (interval != m.interval.load()) {
            m.interval.store(interval);
            ::SetTimer(hwnd, kLocalDragMonitorTimerId, interval, nullptr);
        }
        MonitorPoll();
        return 0;
    }
    case kMsgLateSelection:
        MonitorOnLateSelection();
        return 0;
    case WM_PAINT:
        ::ValidateRect(hwnd, nullptr);
        return 0;
    case WM_DESTROY:
        ::KillTimer(hwnd, kLocalDragMonitorTimerId);
        m.window.store(nullptr);
        m.interval.store(0);
        return 0;
    default:
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

void LocalDragMonitorResetDrag() {
    LocalDragMonitorState& m = MonitorState();
    m.gesture.Reset();
    m.hoverLateTried = false;
}

void LocalDragMonitorClearCaches() {
    LocalDragMonitorState& m = MonitorState();
    m.cache.Clear();
    m.lateCache.Clear();
}

std::u16string LocalDragMonitorDropTarget() {
    return Utf8ToUtf16(RuntimeMakeSnapshot().cursorPath);
}

uint64_t LocalDragMonitorGestureId() {
    return MonitorState().gesture.Id();
}

uint32_t LocalDragMonitorInterval() {
    return MonitorState().interval.load();
}
