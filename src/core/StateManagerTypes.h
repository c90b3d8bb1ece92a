#pragma once

#include <cstdint>
#include <string>

#include "core/PortSet.h"

// The enumerations of the unified session state and the StateManager snapshot record.

enum class SessionMode : int32_t {
    Idle = 0,
    ConnectingController = 1,
    ConnectingControlled = 2,
    Controller = 3,
    Controlled = 4,
    Disconnecting = 5,
    PeerLost = 6,
    Error = 7,
};

enum class ChannelState : int32_t {
    Disabled = 0,
    Disconnected = 1,
    Listening = 2,
    Connecting = 3,
    Connected = 4,
    Reconnecting = 5,
    Error = 6,
};

enum class InputRoute : int32_t {
    None = 0,
    Tcp = 1,
    Hid = 2,
};

// Channel numbers.
constexpr int kChannelVideo = 0;
constexpr int kChannelInput = 1;
constexpr int kChannelAudio = 2;
constexpr int kChannelClipboard = 3;
constexpr int kChannelCount = 4;

// "Idle" ... "Error" for 0..7, else "Unknown".
const char* SessionModeName(int32_t mode);
// "Disabled" ... "Error" for 0..6, else "Unknown".
const char* ConnectionStateName(int32_t state);
// "Video", "Input", "Audio", "Clipboard" for 0..3, else "Unknown".
const char* ChannelName(int channel);
// "NONE", "TCP", "HID" for 0..2; any other value "NONE" (as the diagnostic lines print it).
const char* InputRouteName(int32_t route);

inline const char* SessionModeName(SessionMode m) {
    return SessionModeName(static_cast<int32_t>(m));
}
inline const char* ConnectionStateName(ChannelState s) {
    return ConnectionStateName(static_cast<int32_t>(s));
}
inline const char* InputRouteName(InputRoute r) {
    return InputRouteName(static_cast<int32_t>(r));
}

// A copy of every value of the StateManager (StateManager::Snapshot). Flags are 0/1.
struct StateSnapshot {
    // APP / SESSION
    bool running = false;
    bool hostRunning = false;
    bool clientRunning = false;
    bool controller = false;
    bool controlled = false;
    bool connected = false;
    bool reconnecting = false;
    bool peerLost = false;        // the SESSION peerLost flag
    bool networkPeerLost = false; // the NETWORK peerLost flag (discovery)
    int32_t sessionMode = 0;      // SessionMode
    // LOCK / INPUT / HID
    bool remoteLocked = false;
    bool tcpInputConnected = false;
    bool hidPresent = false;
    bool hidForced = false; // the HID-forced flag ("useHid" in the diagnostic lines)
    int32_t inputRoute = 0; // InputRoute
    // DRAG / TRANSFER / CLIPBOARD
    bool dragActive = false;
    bool localDrag = false;
    int32_t localDragFiles = 0;
    bool remoteDrag = false;
    int32_t remoteDragFiles = 0;
    bool fileTransferBusy = false;
    int32_t activeDownloads = 0;
    bool clipboardBusy = false;
    int32_t clipboardItems = 0;
    // NETWORK
    bool discoveryRunning = false;
    bool controlRunning = false;
    bool httpServer = false;
    int32_t httpPort = 0;
    int32_t channelStates[4] = {0, 0, 0, 0}; // the StateManager's copies: Video, Input, Audio, Clipboard
    PortSet ports;                           // the last published port set
    // Sizes (copies of the runtime state's)
    int32_t streamWidth = 0, streamHeight = 0;
    int32_t desktopWidth = 0, desktopHeight = 0;
    // Texts
    std::string peerIp, peerName;
    std::string statusText, lastErrorText;
};
