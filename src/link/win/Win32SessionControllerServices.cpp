#include "link/win/Win32SessionControllerServices.h"

#include "core/ConfigService.h"
#include "link/ControlRequestParams.h"
#include "link/win/ControlSender.h"
#include "link/win/DevicePresenceService.h"
#include "link/win/LocalIdentityWin.h"

void Win32SessionControllerServices::SendControlStop(const std::string& ip) {
    Discovery::SendControlStop(ip);
}

void Win32SessionControllerServices::SendControlRequest(const std::string& ip) {
    ControlRequestSources sources;
    sources.config = ConfigService::Instance().GetSnapshot();
    Discovery::PrimaryScreenSize screen = Discovery::ReadPrimaryScreenSize();
    sources.screenWidth = screen.width;
    sources.screenHeight = screen.height;
    LocalVideoSyncState(sources.viewHidden, sources.viewSeq, sources.qualitySeq);
    sources.peerUltraCapable = IsPeerUltraCapable(ip);
    Discovery::SendControlRequest(ip, Discovery::BuildControlRequestParams(sources, ip));
}

bool Win32SessionControllerServices::RefreshCable(const char* reason) {
    return DevicePresenceService::Refresh(reason);
}
