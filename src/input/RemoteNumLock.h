#pragma once

#include <cstdint>

// A NumLock KEY packet (virtual key 144) carries, besides down/up, whether the controller says what the
// controlled PC's NumLock should be. Flag 0x04 makes the packet a request rather than a key: with 0x10 it
// asks for one toggle, otherwise for the state in 0x08. Such a packet is never injected as a key itself, only
// the taps that reach the wanted state; its key-up is swallowed.
constexpr uint16_t kNumLockVirtualKey = 144;

enum class RemoteNumLockAction {
    FallThrough,        // no target: inject the key like any other
    Tap,                // key down of a tap request: toggle once
    TapConsumeUp,       // key up of a tap request
    SyncToggle,         // key down, wanted state differs: toggle once
    SyncAlreadyMatched, // key down, wanted state already holds
    SyncConsumeUp,      // key up of a state request
};

// packetFlags is data2 of the KEY packet; currentOn the controlled PC's NumLock state.
RemoteNumLockAction DecideRemoteNumLock(int32_t packetFlags, bool down, bool currentOn);

// False only for FallThrough: the packet itself is not injected.
inline bool ConsumesPacket(RemoteNumLockAction action) {
    return action != RemoteNumLockAction::FallThrough;
}
