#pragma once

#include <cstdint>

struct RuntimeSnapshot;

// This PC drives the peer: role 1 (controller), or no controlled role while the client session runs and the
// host session does not.
bool IsThisPcController(int32_t role, bool clientRunning, bool hostRunning);
bool IsThisPcController(const RuntimeSnapshot& snapshot);

// The app runs as the controlled host: role 2, program state 6 (CONTROLLED), host session running, no client
// session.
bool IsControlledHostState(const RuntimeSnapshot& snapshot);

// ControlView's connect button stands in the way of the peer's picture while this PC controls it.
bool ControlViewShouldShow(int32_t programState);

// The controlled host hides its main window once per entry into the controlled state: a restore from the
// tray keeps the window shown until the state changes. UI thread only.
class AutoHideLatch {
public:
    // True when the window is to be hidden now.
    bool Update(bool controlledHost);
    bool Hidden() const { return m_hidden; }

private:
    bool m_hidden = false;
};
