#include "link/VideoSync.h"

#include <atomic>

#include "link/VideoSyncPort.h"

namespace {

std::atomic<VideoSyncPort*> g_port{nullptr};

} // namespace

ControllerVideoSync& ControllerVideoSync::Instance() {
    static ControllerVideoSync* sync = new ControllerVideoSync();
    return *sync;
}

void SetVideoSyncPort(VideoSyncPort* port) {
    g_port.store(port);
}

VideoSyncPort& InstalledVideoSyncPort() {
    static VideoSyncPort* defaults = new VideoSyncPort();
    VideoSyncPort* port = g_port.load();
    return port != nullptr ? *port : *defaults;
}

namespace Discovery {

void SetLocalVideoVisibility(bool hidden) {
    ControllerVideoSync::Instance().visibility.SetLocalVideoVisibility(hidden);
}

void ApplyLocalQualitySelection(bool ultra) {
    ControllerVideoSync::Instance().quality.ApplyLocalQualitySelection(ultra);
}

void OnQualityFrameConfirmed(int32_t mode, uint32_t frame) {
    ControllerVideoSync::Instance().quality.OnQualityFrameConfirmed(mode, frame);
}

void OnQualitySwitchFailed(uint32_t failedSeq, bool requestedUltra, int32_t actual) {
    ControllerVideoSync::Instance().quality.OnQualitySwitchFailed(failedSeq, requestedUltra, actual);
}

void ResetQualitySwitch() {
    ControllerVideoSync::Instance().quality.ResetQualitySwitch();
}

void MarkVisibilityUnconfirmed() {
    ControllerVideoSync::Instance().state.visibilityUnconfirmed.store(true);
}

void WakeVisibilityWorker() {
    ControllerVideoSync::Instance().state.visibilityWake.Wake();
}

void WakeSyncWorkers() {
    ControllerVideoSyncState& state = ControllerVideoSync::Instance().state;
    state.visibilityWake.Wake();
    state.qualityWake.Wake();
}

void LocalVideoSyncState(bool& viewHidden, uint32_t& viewSeq, uint32_t& qualitySeq) {
    ControllerVideoSyncState& state = ControllerVideoSync::Instance().state;
    viewHidden = state.viewHidden.load();
    viewSeq = state.viewSeq.load();
    qualitySeq = state.qualitySeq.load();
}

void RunVisibilitySync(const DiscoveryRun& run) {
    ControllerVideoSync::Instance().visibility.Run(run);
}

void RunQualitySync(const DiscoveryRun& run) {
    ControllerVideoSync::Instance().quality.Run(run);
}

} // namespace Discovery
