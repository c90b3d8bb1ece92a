#pragma once

#include <cstdint>

// Whether the keyboard hook takes keys away from the local desktop for the peer (its "grab" condition).
// The shell gathers these facts for every key event.
struct RemoteInputScopeFacts {
    bool virtualScreenHoldsCursor = false; // the virtual screen holds the cursor on the peer
    bool tcpReady = false;                 // the input router's TCP-ready condition
    bool remoteInputEnable = false;        // the remoteInputEnable setting
    bool hidForced = false;
    bool keyboardActive = false; // the runtime record's flag: the mouse or the focus is in RemoteView
    bool cursorOverRemoteView = false;
    bool clientRunning = false; // the controller session runs
    bool appRunning = false;
    int32_t role = 0;
    int32_t programState = 0;
    bool mainWindowForeground = false; // the main window, a child of it or a window of this process
};

bool IsRemoteInputScopeActive(const RemoteInputScopeFacts& facts);
