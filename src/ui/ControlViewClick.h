#pragma once

#include <cstddef>
#include <cstdint>

// What a click on ControlView's button does, by the program state and what the cable and discovery see.
enum class ControlViewClick {
    Disconnect,   // a session is starting, running or stopping: end it
    Connect,      // the cable is in and a peer was discovered: ask the first one for control
    NoDevice,     // the cable is in, no peer yet
    CableMissing, // no cable
};

// Starting, connecting, controlling, controlled, switching and stopping count as active.
bool IsControlViewSessionActive(int32_t programState);
ControlViewClick DecideControlViewClick(int32_t programState, bool cablePresent, size_t discoveredPeers);
