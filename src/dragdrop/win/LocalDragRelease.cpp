#include <windows.h>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/Utf.h"
#include "dragdrop/MouseUpDecision.h"
#include "dragdrop/RemoteDragOffer.h"
#include "dragdrop/RemoteDragSlot.h"
#include "dragdrop/VirtualScreenLink.h"
#include "dragdrop/win/DragDrop.h"
#include "dragdrop/win/LocalDragMonitor.h"
#include "dragdrop/win/LocalDragMonitorState.h"
#include "dragdrop/win/VirtualScreen.h"

// The release of a local drag: a drag of the peer's files ends here or on the peer; local files released at
// the edge go to the peer.
namespace {

constexpr int32_t kRoleController = 1;

void CancelOnPeer(const char* by) {
    VirtualScreenLink().CancelRemoteDrag();
    Log::Write("[RDRAG][CANCEL] ESC requested by %s", by);
}

void DropReadyNone() {
    RuntimeSetDropReady(false, 0, 0, nullptr);
}

void DownloadHere(const RemoteDragSlot::State& offer, const std::string& target, uint32_t now) {
    RuntimeSetDropReady(true, static_cast<int32_t>(offer.count), offer.bytes, target.c_str());
    const auto id = static_cast<unsigned long long>(offer.dragId);
    if (target.empty())
        Log::Write("[RDRAG][DROP] release outside target=<default> ready=1 count=%d bytes=%llu dragId=%llu",
                   static_cast<int>(offer.count), static_cast<unsigned long long>(offer.bytes), id);
    const bool started = RemoteDragOffer().TriggerDownload(Utf8ToUtf16(target));
    if (started) {
        RemoteDragSlot::Instance().MarkConsumed(offer.dragId, now);
        CancelOnPeer("local-monitor-mouse-up-outside-after-trigger");
    } else {
        // Nothing downloads: the drop is not ready any more and the drag is not used up, so it can be tried
        // again; the peer's drag is still ended.
        DropReadyNone();
        CancelOnPeer("local-monitor-mouse-up-outside-trigger-failed-clear-takeover");
        Log::Write("[RDRAG][DROP][FAIL] download not started dragId=%llu target=%s", id,
                   target.empty() ? "<default>" : target.c_str());
    }
    Log::Write(
        "[RDRAG][DROP] release outside count=%d bytes=%llu target=%s trigger=%d fallback=%d dragId=%llu",
        static_cast<int>(offer.count), static_cast<unsigned long long>(offer.bytes),
        target.empty() ? "<default>" : target.c_str(), started ? 1 : 0, target.empty() ? 1 : 0, id);
}

void DropSelectionOnPeer(uint64_t id, const std::vector<std::u16string>& paths, POINT point,
                         bool nativeCancel) {
    const bool ok = DragDrop::VirtualScreenLocalDrop(paths, point, "mouse-up-virtual-edge-start-selection");
    Log::Write("[DRAGMON][VSCREEN][LOCAL->REMOTE][MOUSE_UP_STARTSEL] id=%llu count=%u ok=%d nativeCancel=%d "
               "pt=%d,%d",
               static_cast<unsigned long long>(id), static_cast<unsigned>(paths.size()), ok ? 1 : 0,
               nativeCancel ? 1 : 0, static_cast<int>(point.x), static_cast<int>(point.y));
    DropReadyNone();
}

void MissAtEdge(uint64_t id, POINT point) {
    Log::Write("[DRAGMON][VSCREEN][LOCAL->REMOTE][MOUSE_UP_STARTSEL][MISS] id=%llu pt=%d,%d",
               static_cast<unsigned long long>(id), static_cast<int>(point.x), static_cast<int>(point.y));
    DropReadyNone();
}

void EdgeRelease(LocalDragMonitorState& m, POINT cursor) {
    const uint64_t id = m.gesture.Id();
    std::vector<std::u16string> paths;
    uint32_t age = 0;
    ScreenPoint start;
    if (m.cache.Take(id, ::GetTickCount(), paths, age, start) == SelectionTake::Hit) {
        DropSelectionOnPeer(id, paths, cursor, m.gesture.NativeCancelled());
        return;
    }
    const POINT from{m.gesture.Start().x, m.gesture.Start().y};
    HWND window = m.window.load();
    if (m.cache.IsFillRunning() || (from.x == 0 && from.y == 0) || window == nullptr) {
        MissAtEdge(id, cursor);
        return;
    }
    // The shell is asked on a thread of its own; the drop finishes when its answer is posted back.
    Log::Write("[DRAGMON][VSCREEN][LOCALSEL][LATE_TRY] id=%llu reason=%s start=%d,%d",
               static_cast<unsigned long long>(id), "mouse-up-virtual-edge-late-selection",
               static_cast<int>(from.x), static_cast<int>(from.y));
    m.lateGestureId = id;
    m.lateReleasePoint = cursor;
    m.lateNativeCancel = m.gesture.NativeCancelled();
    if (!StartSelectionFill(m.lateCache, id, from, "mouse-up-virtual-edge-late-selection", window))
        MissAtEdge(id, cursor);
}

} // namespace

void MonitorOnMouseUp() {
    LocalDragMonitorState& m = MonitorState();
    const RuntimeSnapshot snapshot = RuntimeMakeSnapshot();
    POINT cursor{};
    ::GetCursorPos(&cursor);
    const uint32_t now = ::GetTickCount();
    const RemoteDragSlot::State offer = RemoteDragSlot::Instance().Read();

    MouseUpFacts facts;
    facts.now = now;
    facts.onPeer = VirtualScreen::IsActive();
    facts.overRemoteView = LocalDragMonitorIsPointOverRemoteView(cursor);
    facts.startInRemoteView = m.gesture.StartInRemoteView();
    facts.lastLocalDropTick = VirtualScreen::LastLocalDropTick();
    facts.dragOutStartTick = VirtualScreen::DragOutStartTick();
    facts.controller = snapshot.role == kRoleController;
    facts.offerHeld = DragDrop::IsRemoteDragPending();
    facts.offerCount = offer.count;
    facts.dragId = offer.dragId;
    facts.consumedDragId = offer.consumedDragId;
    facts.consumedTick = offer.consumedTick;
    facts.atVirtualEdge = AtVirtualEdge(cursor);
    const MouseUpFlags flags = ComputeMouseUpFlags(facts);

    const std::string& target = snapshot.cursorPath;
    if (facts.controller) {
        RemoteDragSlot::Instance().WriteMouseUpCache(
            {now != 0 ? now : 1, target, flags.treatAsRemote, flags.recentLocalDrop, flags.dragOutCandidate});
        Log::Write(
            "[RDRAG][MOUSEUP_CACHE] target=%s overRemoteView=%d recentLocalDrop=%d dragOutCandidate=%d",
            target.c_str(), flags.treatAsRemote ? 1 : 0, flags.recentLocalDrop ? 1 : 0,
            flags.dragOutCandidate ? 1 : 0);
    }
    if (flags.inDragOutWindow && facts.overRemoteView)
        Log::Write("[RDRAG][DROP][VSCREEN_OUT] treat visible RemoteView as local target pt=%ld,%ld target=%s",
                   cursor.x, cursor.y, target.c_str());
    MonitorTrace("mouse-up", "evaluate", cursor, 0, "button-released");

    const auto id = static_cast<unsigned long long>(offer.dragId);
    switch (DecideMouseUp(facts, flags)) {
    case MouseUpDecision::NoSummary:
        Log::Write("[RDRAG][DROP][IGN] pending flag set but no cached summary");
        DropReadyNone();
        break;
    case MouseUpDecision::Duplicate:
        Log::Write("[RDRAG][DROP][IGN] duplicate mouse-up for consumed pending dragId=%llu age=%lu", id,
                   static_cast<unsigned long>(now - offer.consumedTick));
        break;
    case MouseUpDecision::RecentLocalDrop:
        Log::Write("[RDRAG][DROP][IGN] recent local-to-remote drop; suppress controller local download");
        RemoteDragOffer().CancelForLocalDrop("recent-local-drop-into-remoteview");
        DropReadyNone();
        break;
    case MouseUpDecision::StillOnPeer:
        Log::Write(
            "[RDRAG][DROP][FALSE_DRAG_GUARD] mouse-up still inside virtual screen; cancel pending offer "
            "dragId=%llu",
            id);
        RemoteDragOffer().CancelForLocalDrop("virtual-screen-mouse-up-still-remote");
        DropReadyNone();
        break;
    case MouseUpDecision::InsideRemote:
        Log::Write(
            "[RDRAG][DROP][IN_REMOTE] mouse-up over RemoteView; keep normal remote Explorer drag, cancel "
            "cached offer only");
        RemoteDragOffer().CancelForLocalDrop("mouse-up-inside-remoteview-normal-remote-drag");
        CancelOnPeer("mouse-up-inside-remoteview-clear-takeover");
        DropReadyNone();
        break;
    case MouseUpDecision::DownloadHere:
        DownloadHere(offer, target, now);
        break;
    case MouseUpDecision::EdgeDrop:
        EdgeRelease(m, cursor);
        break;
    case MouseUpDecision::Nothing:
        DropReadyNone();
        break;
    }
}

void MonitorOnLateSelection() {
    LocalDragMonitorState& m = MonitorState();
    if (m.lateCache.IsFillRunning())
        return; // a newer release's read is still running; its own message follows
    std::vector<std::u16string> paths;
    uint32_t age = 0;
    ScreenPoint start;
    const uint64_t id = m.lateGestureId;
    if (m.lateCache.Take(id, ::GetTickCount(), paths, age, start) != SelectionTake::Hit) {
        MissAtEdge(id, m.lateReleasePoint);
        return;
    }
    m.lateCache.Clear();
    DropSelectionOnPeer(id, paths, m.lateReleasePoint, m.lateNativeCancel);
}
