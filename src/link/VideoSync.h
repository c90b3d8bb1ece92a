#pragma once

#include <cstdint>

#include "link/QualitySync.h"
#include "link/VideoSyncState.h"
#include "link/VisibilitySync.h"

class DiscoveryRun;
class VideoSyncPort;

// The controller's visibility and quality sync of the process: its state, the local choices and the two
// workers (threads VideoVisibilitySync and VideoQualitySync, run by the discovery service from its start to
// its stop). Created on first use, never destroyed.
struct ControllerVideoSync {
    static ControllerVideoSync& Instance();

    ControllerVideoSyncState state;
    VisibilitySync visibility{state};
    QualitySync quality{state};
};

// Installs the port of the sync (null: the defaults of VideoSyncPort, which send nothing). The object must
// live to the end of the process.
void SetVideoSyncPort(VideoSyncPort* port);
VideoSyncPort& InstalledVideoSyncPort();

namespace Discovery {

void SetLocalVideoVisibility(bool hidden);
void ApplyLocalQualitySelection(bool ultra);
void OnQualityFrameConfirmed(int32_t mode, uint32_t frame);
void OnQualitySwitchFailed(uint32_t failedSeq, bool requestedUltra, int32_t actual);
void ResetQualitySwitch();
// Service start and cable removal: the peer has to hear the visibility again.
void MarkVisibilityUnconfirmed();
void WakeVisibilityWorker();
// Both workers leave their waits (the run has stopped).
void WakeSyncWorkers();
// What every outgoing control request carries.
void LocalVideoSyncState(bool& viewHidden, uint32_t& viewSeq, uint32_t& qualitySeq);
void RunVisibilitySync(const DiscoveryRun& run);
void RunQualitySync(const DiscoveryRun& run);

} // namespace Discovery
