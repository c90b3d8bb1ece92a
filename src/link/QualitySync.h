#pragma once

#include <cstdint>
#include <string>

class DiscoveryRun;
class VideoSyncPort;
struct ControllerVideoSyncState;

// The controller asks the controlled PC for a video quality mode (H264 or ULTRA, the JPEG tiles):
// TSLY_VIDEO_QUALITY, pushed by the VideoQualitySync worker. A switch is complete only when a frame in the
// new mode arrives; an acknowledged switch without such a frame for 5000 ms, or three failed sends, roll
// the choice back to the mode that still works.

const char* QualityModeName(bool ultra);            // "ULTRA" / "H264"
const char* FrameQualityName(int32_t frameQuality); // also "UNKNOWN" before the first frame

// The mode a failed switch falls back to: ULTRA when H264 was requested and the frames are not known to be
// H264 (ULTRA, or none seen yet), otherwise H264.
bool QualityFallbackUltra(bool requestedUltra, int32_t actualQuality);

// Watching an acknowledged switch for its frame, and the pace of resends.
inline constexpr uint32_t kQualityFrameWaitMs = 5000;
inline constexpr uint32_t kQualityResendMs = 300;
inline constexpr uint32_t kQualityAckedResendMs = 5000;
inline constexpr uint32_t kQualityAttempts = 3;
inline constexpr uint32_t kQualityAttemptPauseMs = 300;

// What the worker remembers between turns.
struct QualitySyncMemory {
    std::string peer; // the peer it last sent to (or found settled); empty: forgotten
    uint32_t sentSeq = 0;
    uint32_t sendTick = 0;
    bool watching = false; // a sequence is under watch since watchTick
    uint32_t watchSeq = 0;
    uint32_t watchTick = 0;
};

struct QualityFacts {
    bool desiredUltra = false;
    int32_t actual = -1;
    uint32_t seq = 0;
    uint32_t ack = 0;
    bool pending = false;
    uint32_t now = 0;
};

enum class QualityTurnAction {
    None,     // nothing to do this turn
    Complete, // the switch is acknowledged and a frame shows the desired mode
    RollBack, // acknowledged, but no frame in the desired mode within kQualityFrameWaitMs of watching
    Send,     // send the request (the full control request first when fullRequest)
};

struct QualityTurnPlan {
    QualityTurnAction action = QualityTurnAction::None;
    bool setPending = false; // frames show another mode than desired while no switch was pending
    bool fullRequest = false;
};

// Steps 3 to 6 of a turn for the active peer: decides and updates the memory (peer remembered, watch
// started or ended, send recorded).
QualityTurnPlan PlanQualityTurn(QualitySyncMemory& memory, const std::string& peer,
                                const QualityFacts& facts);

// The local quality choice, frame confirmation, rollback and the worker. Null port: the installed one
// (InstalledVideoSyncPort), looked up at every call.
class QualitySync {
public:
    explicit QualitySync(ControllerVideoSyncState& state, VideoSyncPort* port = nullptr);
    QualitySync(const QualitySync&) = delete;
    QualitySync& operator=(const QualitySync&) = delete;

    // The user picked a mode (tray). A known peer whose record lacks ULTRA: H264 is taken at once, ULTRA is
    // refused (H264 stored and saved, "unsupported" balloon). Otherwise a new quality sequence starts a
    // switch that the worker pushes once a session runs; a peer without a record (offline) is no peer without
    // the capability.
    void ApplyLocalQualitySelection(bool ultra);
    // A frame in this mode (non-zero: ULTRA) was shown (client session, for every picture) or is taken as
    // shown (worker). Completes a pending switch when it shows the desired mode.
    void OnQualityFrameConfirmed(int32_t mode, uint32_t frame);
    // Rolls back the switch of failedSeq, unless the quality sequence has moved on: stores the fallback,
    // starts a repair switch to it and shows the failure balloon.
    void OnQualitySwitchFailed(uint32_t failedSeq, bool requestedUltra, int32_t actual);
    // A client session starts or ends: no frame seen, nothing acknowledged.
    void ResetQualitySwitch();

    // Thread VideoQualitySync: turns after waits of at most 100 ms until the run stops. A run that stops
    // during the attempts of a send leaves the switch pending, neither accepted nor rolled back.
    void Run(const DiscoveryRun& run);
    void Turn(const DiscoveryRun& run);

private:
    VideoSyncPort& Port() const;
    bool ActualIsDesired(bool desiredUltra) const;
    void SendSwitch(const DiscoveryRun& run, const std::string& peer, const QualityFacts& facts);

    ControllerVideoSyncState& m_state;
    VideoSyncPort* m_port;
    QualitySyncMemory m_memory; // the worker's own
};
