#pragma once

#include <cstddef>
#include <cstdint>

// The facts the main window gathers when files are dropped on it.
struct DropFacts {
    int32_t virtualScreenMode = 0; // 0 off
    bool nearVirtualEdge = false;  // the cursor is within 32 px of the virtual-screen edge
    bool clipboardEnabled = false;
    bool appRunning = false;
    size_t pathCount = 0;
    bool remoteControlActive = false; // this PC controls a live peer
};

enum class DropAction {
    IgnoreVirtualEdge, // a drop meant for the edge window landed here: not used
    FailDisabled,      // clipboard sharing (the file channel) is off
    IgnoreNotRunning,  // the app is starting or stopping: dropped silently
    FailEmpty,
    FailNotReady, // no live peer to send to
    Offer,
};

// The first rule that applies, in this order. Whatever the answer, the caller has already finished the drop.
DropAction DecideDroppedFiles(const DropFacts& facts);
