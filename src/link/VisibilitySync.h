#pragma once

#include <cstdint>
#include <string>

class DiscoveryRun;
class VideoSyncPort;
struct ControllerVideoSyncState;

// The controller tells the controlled PC whether its remote view is hidden (the controlled PC then sends one
// frame a second): TSLY_VIDEO_VISIBILITY, pushed by the VideoVisibilitySync worker until a TSLY_ACK confirms
// the current flag and sequence, and repeated now and then so that a restarted host session learns it too.

// Re-sent this long after the last confirmation even when nothing changed.
uint32_t VisibilityRefreshMs(bool hidden); // 2000 hidden, 5000 shown
// The pause between attempts after `failures` unconfirmed ones: 300 ms below 2, 1000 ms below 5, else 2000.
uint32_t VisibilityRetryDelayMs(uint32_t failures);

// What the worker remembers between turns.
struct VisibilitySyncMemory {
    std::string peer; // the peer it last sent to; empty: forgotten
    uint32_t confirmedSeq = 0;
    bool confirmedHidden = false;
    bool confirmed = false; // confirmTick is valid
    uint32_t confirmTick = 0;
    bool attempted = false; // attemptTick is valid
    uint32_t attemptTick = 0;
    uint32_t failures = 0;
};

struct VisibilityFacts {
    std::string peer;
    bool hidden = false;
    uint32_t viewSeq = 0;
    bool unconfirmed = false;
    uint32_t now = 0;
};

struct VisibilityTurnPlan {
    bool send = false;
    // "peer-change", "state-change", "retry-unconfirmed" or "periodic-resync"; null when nothing is due.
    const char* reason = nullptr;
    uint32_t refreshMs = 0;
    uint32_t retryMs = 0; // the retry delay that applies to this attempt
};

// Nothing is due for the same peer with unchanged, confirmed values confirmed less than the refresh ago.
// Otherwise an attempt is made once the retry delay has passed since the last one (or none was made yet).
VisibilityTurnPlan PlanVisibilityTurn(const VisibilitySyncMemory& memory, const VisibilityFacts& facts);

// The local visibility and its worker. Null port: the installed one (InstalledVideoSyncPort), looked up at
// every call.
class VisibilitySync {
public:
    explicit VisibilitySync(ControllerVideoSyncState& state, VideoSyncPort* port = nullptr);
    VisibilitySync(const VisibilitySync&) = delete;
    VisibilitySync& operator=(const VisibilitySync&) = delete;

    // The remote view was shown or hidden (main window, tray). A change raises the view sequence, marks the
    // visibility unconfirmed and logs "[VIDEO][VISIBILITY][LOCAL] ..."; the same flag again logs
    // "[VIDEO][VISIBILITY][LOCAL_CONFIRM] ...". Either way the worker is woken.
    void SetLocalVideoVisibility(bool hidden);

    // Thread VideoVisibilitySync: turns after waits of at most 200 ms until the run stops.
    void Run(const DiscoveryRun& run);
    // One turn: only while this PC is the controller with its client session running; sends when due.
    void Turn();

private:
    VideoSyncPort& Port() const;

    ControllerVideoSyncState& m_state;
    VideoSyncPort* m_port;
    VisibilitySyncMemory m_memory; // the worker's own
};
