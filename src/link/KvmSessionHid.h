#pragma once

class SessionControllerServices;
class StateManager;

// The HID fallback of the controller: while the peer's desktop is locked, keyboard and mouse go through the
// cable's HID interface instead of the TCP input channel. The HID-forced flag of the state manager says
// which; these two are the only ways it is changed by the session controller and the control handling.

// When the flag goes from 0 to 1: route HID with reason "ForceHidFallback", start the HID worker and its
// probe ("force-hid"), log "[HIDASYNC][FORCE] fallback=1 cachedHid=%d". Returns whether the flag changed.
bool ForceHidFallback(StateManager& state, SessionControllerServices& services);

// When the flag goes from 1 to 0: route TCP with reason "ReleaseHidFallback", cancel the HID worker's queue
// ("fallback-disabled"), log "[HIDASYNC][FORCE] fallback=0 cachedHid=%d". Returns whether it changed.
bool ReleaseHidFallback(StateManager& state, SessionControllerServices& services);
