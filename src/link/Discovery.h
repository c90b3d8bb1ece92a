#pragma once

#include <string>
#include <vector>

#include "link/DiscoveryService.h"

// The process-wide discovery service. Created on first use and never destroyed (its threads may outlive
// shutdown). Starting and stopping it is Windows work: link/win/DiscoveryProcess.h.
namespace Discovery {

DiscoveryService& Service();

// The system behind the process-wide service; the Windows shell installs its own before the first start.
// Until then: the log's tick, sleeps on the run, every liveness check fails, the cable counts as present.
// The platform must live to the end of the process.
void InstallPlatform(IDiscoveryPlatform* platform);

// Installs the reactions of the services around discovery (see IDiscoveryReactions); null: none.
void SetReactions(IDiscoveryReactions* reactions);

// The readers and writers other services call (see DiscoveryService).
std::vector<PeerRecord> GetDiscoveredDevices();
bool IsPeerUltraCapable(const std::string& ip);
void OnDeviceFound(const PeerRecord& record);
void ClearPeerCacheForDeviceRemoval();

} // namespace Discovery
