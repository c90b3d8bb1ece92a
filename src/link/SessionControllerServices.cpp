#include "link/SessionControllerServices.h"

#include <atomic>

#include "link/Discovery.h"

namespace {

std::atomic<SessionControllerServices*> g_installed{nullptr};

} // namespace

std::vector<PeerRecord> SessionControllerServices::DiscoveredPeers() {
    return Discovery::GetDiscoveredDevices();
}

std::optional<PeerRecord> SessionControllerServices::FindPeerById(std::string_view id) {
    return Discovery::Service().FindPeerById(id);
}

bool SessionControllerServices::HasPeerWithIp(std::string_view ip) {
    return Discovery::Service().FindPeerByIp(ip).has_value();
}

bool SessionControllerServices::IsPeerUltraCapable(std::string_view ip) {
    return Discovery::Service().IsPeerUltraCapable(ip);
}

void SetSessionControllerServices(SessionControllerServices* services) {
    g_installed.store(services);
}

SessionControllerServices& InstalledSessionControllerServices() {
    static SessionControllerServices* defaults = new SessionControllerServices();
    SessionControllerServices* services = g_installed.load();
    return services != nullptr ? *services : *defaults;
}
