#pragma once

#include <cstdint>

// What the release of a local drag means, decided over a snapshot taken at the release. On the controller
// with an offer of the peer's files held, the first matching rule wins; otherwise a release at the
// virtual-screen edge drops the gesture's selection on the peer.

inline constexpr uint32_t kDuplicateReleaseMs = 800;
inline constexpr uint32_t kRecentLocalDropMs = 600;
inline constexpr uint32_t kDragOutWindowMs = 15000;

struct MouseUpFacts {
    uint32_t now = 0;
    bool onPeer = false; // the virtual screen holds the cursor on the peer
    bool overRemoteView = false;
    bool startInRemoteView = false;
    uint32_t lastLocalDropTick = 0; // 0: none
    uint32_t dragOutStartTick = 0;  // 0: none
    bool controller = false;
    bool offerHeld = false;
    uint32_t offerCount = 0;
    uint64_t dragId = 0;
    uint64_t consumedDragId = 0;
    uint32_t consumedTick = 0;  // 0: none
    bool atVirtualEdge = false; // a mode is on and the cursor is within 32 pixels of its edge
};

struct MouseUpFlags {
    bool recentLocalDrop = false;
    bool inDragOutWindow = false;
    bool treatAsRemote = false;
    bool dragOutCandidate = false;
};

enum class MouseUpDecision {
    NoSummary,       // an offer is flagged but carries no files
    Duplicate,       // the same offer was used up by a release less than 800 ms ago
    RecentLocalDrop, // local files were dropped on the peer less than 600 ms ago: cancel the offer
    StillOnPeer,     // released while the cursor is on the peer: cancel the offer
    InsideRemote,    // released over RemoteView: the peer's own drag goes on; cancel the offer
    DownloadHere,    // released outside: download the offer into the folder under the cursor
    EdgeDrop,        // no offer: drop the gesture's selection on the peer
    Nothing,
};

MouseUpFlags ComputeMouseUpFlags(const MouseUpFacts& facts);
MouseUpDecision DecideMouseUp(const MouseUpFacts& facts, const MouseUpFlags& flags);
