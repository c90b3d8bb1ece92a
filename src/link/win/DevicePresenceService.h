#pragma once

#include "link/DevicePresence.h"

// The process-wide cable presence: the presence record bound to the SetupAPI scanner, and its monitor.
// Created on first use, never destroyed (the monitor's detached thread may outlive shutdown).
//
// Start-up: Refresh("startup") as the first scan, then Refresh("hardware-service-start") and Start() once
// the windows and lifecycle modules run; shutdown: Stop(). Discovery and the control server rescan with
// Refresh; the StateView's adapter check reads Presence().IsPresent().
namespace DevicePresenceService {

DevicePresence& Presence();
bool Refresh(const char* reason);
bool Start();
void Stop();
// Installs the reactions to presence changes (see IDevicePresenceReactions); null: none.
void SetReactions(IDevicePresenceReactions* reactions);

} // namespace DevicePresenceService
