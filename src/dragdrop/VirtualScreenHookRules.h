#pragma once

#include <cstdint>

#include "dragdrop/VirtualScreenGeometry.h"

// What the virtual screen's low-level mouse hook does with one message. The hook gathers the facts, this
// decides, and the hook carries it out without blocking: a drop that downloads is posted to run after the
// hook has returned.

struct HookFacts {
    int32_t mode = 0;
    bool active = false; // the mouse is on the peer
    bool inputReady = false;
    bool oleDragOverEdge = false;
    bool localFileDrag = false;
    bool injected = false;
    uint32_t message = 0;
    bool dragOutPending = false;
    bool offerHeld = false;
    // For an entry at the edge (not active, WM_MOUSEMOVE):
    bool anyButtonDown = false;
    bool overMainWindow = false;
    bool atCrossingEdge = false;
    bool lastPointValid = false;
    ScreenPoint point;
    ScreenPoint lastPoint;
};

enum class HookAction {
    PassOn,          // hand to the next hook (the point is remembered)
    PinAndSwallow,   // a move while on the peer: the local cursor stays pinned
    ForwardButton,   // send the button to the peer and swallow
    ForwardWheel,    // send the wheel to the peer and swallow
    PinAndPass,      // a move during a file drag across the edge: pinned, but the shell's drag sees it
    EndLocalDrag,    // a button up ends the file drag across the edge; passed on
    LeaveInputLost,  // on the peer but input is not ready: come back, then pass on
    PostDragOutDrop, // the physical release of a remote drag-out: drop it (posted) and swallow
    EnterAtEdge,     // outward motion at the edge: cross to the peer and swallow
};

HookAction DecideHookAction(const HookFacts& facts);

// A physical left down or double-click sets the tracked left button, a physical left up clears it; other
// messages leave it.
bool TrackLeftButton(bool trackedDown, uint32_t message, bool injected);
