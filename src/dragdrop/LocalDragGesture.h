#pragma once

#include <cstdint>

#include "dragdrop/VirtualScreenGeometry.h"

// One physical drag on this PC as the local drag monitor's polls see it: a button goes down (a new
// gesture), the mouse moves, the button comes up. The machine keeps the gesture and says what each poll
// means; the monitor carries it out. UI thread only.

inline constexpr int64_t kDragStartDist2 = 144;      // 12 pixels: the shell's selection is worth reading
inline constexpr int64_t kDragCancelDist2 = 1960000; // 1,400 pixels without reaching the edge: not ours
inline constexpr uint32_t kMonitorIdlePollMs = 120;
inline constexpr uint32_t kMonitorActivePollMs = 30;

// Facts about the screen that a new gesture asks for once.
class IGestureProbe {
public:
    virtual ~IGestureProbe() = default;
    virtual bool IsOverRemoteView(ScreenPoint point) = 0;
    virtual bool IsRemoteTransferActive() = 0;
};

enum class GestureStepKind {
    Idle,              // no button held and no gesture
    Started,           // a new gesture
    StartedSuppressed, // a new gesture over RemoteView while a remote transfer runs: cancelled at once
    Moving,            // held, nothing to do at this point
    AtEdge,            // held at the virtual-screen edge: the edge work runs
    CancelledTooFar,   // moved too far without reaching the edge
    Released,          // the button came up: the release decision runs, then Reset
};

struct GestureStep {
    GestureStepKind kind = GestureStepKind::Idle;
    int64_t dist2 = 0;
    bool startFill = false;              // start the asynchronous selection fill for the start point
    bool firstNoProbeOverRemote = false; // first time past 12 pixels over RemoteView (for the trace)
};

class LocalDragGesture {
public:
    // selectionIdle: no fill runs and the cache is empty. atEdge: a mode is on and the cursor is within 32
    // pixels of its edge.
    GestureStep Poll(bool held, ScreenPoint cursor, bool atEdge, bool selectionIdle, IGestureProbe& probe);
    // The first time in this gesture: marks the shell drag cancelled natively and returns true (send Esc).
    bool MarkNativeCancel();
    // Ends the gesture; the id goes on counting.
    void Reset();

    bool Active() const { return m_active; }
    uint64_t Id() const { return m_id; }
    ScreenPoint Start() const { return m_start; }
    bool StartInRemoteView() const { return m_startInRemoteView; }
    bool RemoteActiveAtStart() const { return m_remoteActiveAtStart; }
    bool Cancelled() const { return m_cancelled; }
    bool NativeCancelled() const { return m_nativeCancelled; }

    static int64_t Dist2(ScreenPoint a, ScreenPoint b);

private:
    bool m_active = false;
    uint64_t m_id = 0;
    ScreenPoint m_start;
    bool m_startInRemoteView = false;
    bool m_remoteActiveAtStart = false;
    bool m_cancelled = false;
    bool m_nativeCancelled = false;
    bool m_probeNote = false;
};
