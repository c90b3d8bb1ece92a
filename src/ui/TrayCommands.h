#pragma once

#include <cstdint>

// What each tray command does, and the small decisions of the settings actions.

enum class TrayAction {
    None, // 0 (the menu closed without a choice) or an id the menu does not have
    Disconnect,
    Reconnect,
    Exit,
    SetLanguage,         // value 1 English, 0 Chinese
    SetConflictRename,   // value 1 rename, 0 overwrite
    SetStartWithWindows, // value 1 on, 0 off
    SetAudio,            // value 1 on, 0 off
    SetDiskSide,         // value 1 remote, 0 local
    SetOtherDeviceSide,  // value 1 remote, 0 local
    SendCtrlAltDel,
    DeviceReset,
    RestoreDefaults,
    SetVirtualScreenMode, // value 0..4
    OpenLogFolder,
    SetVideoQuality, // value 1 ultra, 0 default
};

struct TrayCommand {
    TrayAction action = TrayAction::None;
    int32_t value = 0;
};

TrayCommand TrayCommandFor(uint32_t commandId);

// The command talks to the cable's HID interface: greyed and ignored without the cable, and run off the UI
// thread, since the cable's replies and pauses take up to seconds.
bool IsCableAction(TrayAction action);

// Choosing the audio state that is already set changes nothing.
inline bool AudioChoiceChanges(bool wantEnabled, bool currentlyEnabled) {
    return wantEnabled != currentlyEnabled;
}

// Where a flipped audio setting goes.
enum class AudioToggleRoute {
    NotifyPeer,    // controller with an active peer: tell the peer (TrayAudioRequestUpdate)
    SkipNoPeer,    // controller without a peer: only logged
    KeepSession,   // controlled: the running session keeps what the controller asked for
    StopLocalAudio // neither: stop the sender and the player
};
AudioToggleRoute DecideAudioToggleRoute(bool clientRunning, bool hostRunning, int32_t role, bool peerKnown);

// The virtual-screen mode stored after a switch: 0..4 as they are, anything else as 0 (off).
uint32_t StoredVirtualScreenMode(int32_t mode);

// The cable's side byte for the disk and port switches: 1 local, 0 remote.
inline uint8_t CableSideFor(bool remote) {
    return remote ? 0 : 1;
}
