#pragma once

#include <cstdint>

struct RuntimeSnapshot;

// Whether an input event may leave over the TCP input channel ("tcpReady" in the logs).
struct TcpReadyFacts {
    bool hidForced = false;
    bool remoteControlActive = false;
    bool inputConnected = false;   // the channel has published a handshaken connection
    int32_t inputChannelState = 0; // the state manager's ChannelState of channel 1
};
bool IsTcpReady(const TcpReadyFacts& facts);

// This PC drives a live peer: the controller session runs, the application and the client session run, the
// role is controller, and the program state is none of IDLE, PEER LOST and STOPPING.
bool IsRemoteControlActive(const RuntimeSnapshot& snapshot, bool controllerSessionRunning);

// The automatic route (process-wide, -1 until the first event).
constexpr int32_t kAutoRouteUnknown = -1;
constexpr int32_t kAutoRouteTcp = 1;
constexpr int32_t kAutoRouteHid = 2;

// What one routed event does, given the route the previous event took.
struct RouteChoice {
    bool hid = false;     // queue for the HID worker
    int32_t route = 0;    // kAutoRouteTcp or kAutoRouteHid
    bool changed = false; // log the route line
    bool cancelHidQueue = false;
    bool startProbe = false; // neither the presence cache nor the worker knows the cable is there
    bool startWorker = false;
    const char* reason = ""; // "tcp-input-ready", "forced-hid", "tcp-input-not-ready-prewin"
};
// hidCached: HidPresence's cached result; hidAvailable: the worker's availability (1 known present).
RouteChoice ChooseInputRoute(bool tcpReady, bool hidForced, int32_t previousRoute, int32_t hidCached,
                             int32_t hidAvailable);
