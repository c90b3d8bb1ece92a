#include "dragdrop/MouseUpDecision.h"

namespace {

bool Within(uint32_t now, uint32_t tick, uint32_t spanMs, bool inclusive) {
    if (tick == 0)
        return false;
    const uint32_t age = now - tick;
    return inclusive ? age <= spanMs : age < spanMs;
}

} // namespace

MouseUpFlags ComputeMouseUpFlags(const MouseUpFacts& f) {
    MouseUpFlags flags;
    flags.recentLocalDrop = Within(f.now, f.lastLocalDropTick, kRecentLocalDropMs, false);
    flags.inDragOutWindow = Within(f.now, f.dragOutStartTick, kDragOutWindowMs, true);
    flags.treatAsRemote = f.onPeer || (f.overRemoteView && !flags.inDragOutWindow);
    if (f.onPeer)
        flags.dragOutCandidate = false;
    else if (f.startInRemoteView && !flags.treatAsRemote)
        flags.dragOutCandidate = true;
    else
        flags.dragOutCandidate = flags.inDragOutWindow;
    return flags;
}

MouseUpDecision DecideMouseUp(const MouseUpFacts& f, const MouseUpFlags& flags) {
    if (f.controller && f.offerHeld) {
        if (f.offerCount < 1)
            return MouseUpDecision::NoSummary;
        if (f.consumedDragId == f.dragId && Within(f.now, f.consumedTick, kDuplicateReleaseMs, false))
            return MouseUpDecision::Duplicate;
        if (flags.recentLocalDrop)
            return MouseUpDecision::RecentLocalDrop;
        if (f.onPeer)
            return MouseUpDecision::StillOnPeer;
        if (flags.treatAsRemote)
            return MouseUpDecision::InsideRemote;
        return MouseUpDecision::DownloadHere;
    }
    return f.atVirtualEdge ? MouseUpDecision::EdgeDrop : MouseUpDecision::Nothing;
}
