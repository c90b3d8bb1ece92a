#include "core/RuntimeState.h"
#include "core/StateManager.h"
#include "core/HasText.h"

// SetUnifiedState. Takes no lock of its own (callers serialise it). Role and program state are
// stored through RuntimeSetRole / RuntimeSetProgramState, which run RuntimeSyncSessionState after each
// store (the one caller of the sync) and raise the change notice when the value changed.

namespace {

struct Row {
    int32_t role;
    int32_t programState;
    bool clearView;
    bool zeroSizes;
    bool controller, controlled, connected;
    bool stopRenderer;
    bool routeNone;
};

// Rows by mode 0..7; the tcp input and channel columns are in the code.
const Row kRows[8] = {
    /* 0 Idle                 */ {0, 0, true, true, false, false, false, true, true},
    /* 1 ConnectingController */ {1, 4, true, true, true, false, false, true, false},
    /* 2 ConnectingControlled */ {2, 1, true, true, false, true, false, true, false},
    /* 3 Controller           */ {1, 5, false, false, true, false, true, false, false},
    /* 4 Controlled           */ {2, 6, true, false, false, true, true, false, false},
    /* 5 Disconnecting        */ {0, 0, true, true, false, false, false, true, true},
    /* 6 PeerLost             */ {0, 8, true, true, false, false, false, true, true},
    /* 7 Error                */ {0, 9, true, true, false, false, false, true, true},
};

constexpr int32_t kDisabled = 0, kDisconnected = 1, kListening = 2, kConnecting = 3, kConnected = 4,
                  kError = 6;

} // namespace

void StateManager::SetUnifiedStateClamped(int32_t mode, const char* reason) {
    SetUnifiedState(mode >= 0 && mode <= 6 ? mode : static_cast<int32_t>(SessionMode::Error), reason);
}

void StateManager::SetUnifiedState(int32_t mode, const char* reason) {
    const char* why = reason != nullptr ? reason : "";
    bool valid = mode >= 0 && mode <= 7;

    // 1. Mode, reconnecting and the session peerLost flag, with the reason.
    SetSessionMode(valid ? mode : 0, why);
    SetReconnecting(mode == 1 || mode == 2, why);
    SetPeerLost(mode == 6, why);

    // 2. The row.
    if (valid) {
        const Row& row = kRows[mode];
        auto seams = Seams();
        auto ask = [](const std::function<bool()>& fn, bool fallback) { return fn ? fn() : fallback; };

        // Program state first: the mode depends on it alone (except SWITCHING, which no row stores), so the
        // sync after it already gives the row's mode and the timeline shows no intermediate mode.
        RuntimeSetProgramState(row.programState);
        RuntimeSetRole(row.role);
        if (row.clearView && RuntimeSetKeyboardActive(false))
            RuntimeNotifyChanged();
        if (row.zeroSizes) {
            RuntimeSetDesktopSize(0, 0); // each notifies when its pair was non-zero, and mirrors the copy
            RuntimeSetStreamSize(0, 0);
        }
        SetController(row.controller);
        SetControlled(row.controlled);
        SetConnected(row.connected, why);

        bool ready = false;
        if (mode == 3 || mode == 4) {
            ready = ask(seams->inputChannelReady, false);
            const char* tcpReason =
                mode == 3 ? (ready ? "InputHandshakeAlreadyReady" : "WaitingInputHandshake")
                          : (ready ? "InputHostHandshakeAlreadyReady" : "WaitingInputClientHandshake");
            SetTcpInputConnected(ready, tcpReason);
        } else {
            SetTcpInputConnected(false, why);
            if (mode == 6)
                SetRemoteLocked(false, why);
        }
        if (row.routeNone)
            SetInputRoute(InputRoute::None, why);

        bool audio = ask(seams->audioEnabled, true);
        bool clipboard = ask(seams->clipboardEnabled, true);
        bool requestedAudio = ask(seams->controllerRequestedAudio, false);
        static const char* const kNoAudio = "controller did not request audio";
        switch (mode) {
        case 0:
        case 5:
        case 6:
            for (int channel = 0; channel < kChannelCount; ++channel)
                SetChannelState(channel, kDisconnected, why);
            break;
        case 1:
            SetChannelState(kChannelVideo, kConnecting, why);
            SetChannelState(kChannelInput, kConnecting, why);
            SetChannelState(kChannelAudio, audio ? kConnecting : kDisabled, why);
            SetChannelState(kChannelClipboard, clipboard ? kConnecting : kDisabled, why);
            break;
        case 2:
            SetChannelState(kChannelVideo, kListening, why);
            SetChannelState(kChannelInput, kListening, why);
            SetChannelState(kChannelAudio, requestedAudio ? kListening : kDisabled,
                            requestedAudio ? why : kNoAudio);
            SetChannelState(kChannelClipboard, clipboard ? kListening : kDisabled, why);
            break;
        case 3:
            SetChannelState(kChannelVideo, kConnected, why);
            SetChannelState(kChannelInput, ready ? kConnected : kConnecting,
                            ready ? "input TCP handshake confirmed" : "waiting input TCP handshake");
            SetChannelState(kChannelAudio, audio ? kConnected : kDisabled, why);
            SetChannelState(kChannelClipboard, clipboard ? kConnected : kDisabled, why);
            break;
        case 4:
            SetChannelState(kChannelVideo, kConnected, why);
            SetChannelState(kChannelInput, ready ? kConnected : kListening,
                            ready ? "input TCP handshake confirmed" : "waiting input client handshake");
            SetChannelState(kChannelAudio, requestedAudio ? kConnected : kDisabled,
                            requestedAudio ? why : kNoAudio);
            SetChannelState(kChannelClipboard, clipboard ? kConnected : kDisabled, why);
            break;
        case 7:
            SetChannelState(kChannelVideo, kError, why);
            SetChannelState(kChannelInput, kDisconnected, why);
            SetChannelState(kChannelAudio, kDisconnected, why);
            SetChannelState(kChannelClipboard, kDisconnected, why);
            break;
        default:
            break;
        }

        if (row.stopRenderer && seams->stopRenderer)
            seams->stopRenderer();

        if (mode == 6) {
            const char* text = HasText(reason) ? reason : "Peer offline / waiting remote";
            RuntimeSetStatusMessage(text);
            RuntimeSetErrorText(text);
        } else if (mode == 7) {
            RuntimeSetErrorText(why);
        }
    }

    // 3. The status message and the log line.
    if (HasText(reason))
        RuntimeSetStatusMessage(reason);
    Write("[SESSION] unifiedState=%d reason=%s", static_cast<int>(mode), why);
}
