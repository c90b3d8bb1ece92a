#pragma once

#include "link/SessionControllerServices.h"

// The session controller's services on Windows: the control protocol senders and the cable presence
// (discovery's peer table is the default). The rest keeps the no-op defaults of SessionControllerServices
// until its service exists; a subclass of this one adds it: start-up's (app/win/ServiceWiring.cpp) adds the
// sessions, the auto-connect, the HID worker and the host's video restart flag, and later the visibility and
// quality sync.
class Win32SessionControllerServices : public SessionControllerServices {
public:
    // TSLY_CONTROL_STOP by TCP, else by UDP (Discovery::SendControlStop).
    void SendControlStop(const std::string& ip) override;
    // TSLY_CONTROL_REQUEST by TCP, else by UDP: the request built from the settings, the primary screen, the
    // local visibility and quality state and the peer's ULTRA capability.
    void SendControlRequest(const std::string& ip) override;
    // DevicePresenceService::Refresh.
    bool RefreshCable(const char* reason) override;
};
