#include "dragdrop/LocalDragGesture.h"

int64_t LocalDragGesture::Dist2(ScreenPoint a, ScreenPoint b) {
    const int64_t dx = static_cast<int64_t>(a.x) - b.x;
    const int64_t dy = static_cast<int64_t>(a.y) - b.y;
    return dx * dx + dy * dy;
}

GestureStep LocalDragGesture::Poll(bool held, ScreenPoint cursor, bool atEdge, bool selectionIdle,
                                   IGestureProbe& probe) {
    GestureStep step;
    if (!held) {
        step.kind = m_active ? GestureStepKind::Released : GestureStepKind::Idle;
        return step;
    }
    if (!m_active) {
        m_active = true;
        m_cancelled = false;
        m_nativeCancelled = false;
        m_probeNote = false;
        m_start = cursor;
        ++m_id;
        m_startInRemoteView = probe.IsOverRemoteView(cursor);
        m_remoteActiveAtStart = probe.IsRemoteTransferActive();
        step.kind = GestureStepKind::Started;
        if (m_startInRemoteView && m_remoteActiveAtStart) {
            m_cancelled = true;
            step.kind = GestureStepKind::StartedSuppressed;
        }
        return step;
    }
    step.dist2 = Dist2(cursor, m_start);
    step.kind = GestureStepKind::Moving;
    step.startFill = !m_startInRemoteView && step.dist2 >= kDragStartDist2 && selectionIdle;
    if (atEdge) {
        step.kind = GestureStepKind::AtEdge;
        return step;
    }
    if (m_cancelled)
        return step;
    if (step.dist2 > kDragCancelDist2) {
        m_cancelled = true;
        step.kind = GestureStepKind::CancelledTooFar;
        return step;
    }
    if (step.dist2 >= kDragStartDist2 && !m_probeNote && probe.IsOverRemoteView(cursor)) {
        m_probeNote = true;
        step.firstNoProbeOverRemote = true;
    }
    return step;
}

bool LocalDragGesture::MarkNativeCancel() {
    if (m_nativeCancelled)
        return false;
    m_nativeCancelled = true;
    m_cancelled = true;
    return true;
}

void LocalDragGesture::Reset() {
    m_active = false;
    m_start = {};
    m_startInRemoteView = false;
    m_remoteActiveAtStart = false;
    m_cancelled = false;
    m_nativeCancelled = false;
    m_probeNote = false;
}
