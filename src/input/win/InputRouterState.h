#pragma once

#include <atomic>
#include <cstdint>

// The router's process-wide flags. The router runs on the UI thread (windows and the keyboard hook) and the
// virtual screen's handlers, the worker and the probe on threads of their own: every flag is an atomic.
struct InputRouterState {
    std::atomic<int32_t> autoRoute{-1};    // kAutoRouteTcp / kAutoRouteHid after the first event
    std::atomic<int32_t> hidAvailable{-1}; // 1 after an open or a probe found the cable, -1 otherwise
    std::atomic<bool> virtualScreenScope{false};
    std::atomic<bool> forwardedLeft{false}, forwardedRight{false}, forwardedMiddle{false};
};

InputRouterState& RouterState();
