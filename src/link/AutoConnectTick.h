#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/StateManagerTypes.h"
#include "link/AutoConnectState.h"
#include "link/HealthLine.h"
#include "link/PeerRecord.h"
#include "link/RndisAdapter.h"

// One look of the auto-connect engine at the cable, its network, the session and the peers, as a pure
// decision: the engine gathers the facts, AutoConnect::Tick decides, and the engine carries out the effects
// in their order. Ticks are 32-bit milliseconds that wrap; a stored tick of 0 means "never".

// Automatic attempts wait this long after the user's own connect and after a refused request.
inline constexpr uint32_t kAutoConnectUserConnectSuppressMs = 8000;
inline constexpr uint32_t kAutoConnectFailedRequestSuppressMs = 5000;
// A request that went out is not repeated to the same peer within this time.
inline constexpr uint32_t kAutoConnectSamePeerRetryMs = 3000;
// The Mac peer's health line is shown while it is at most this old.
inline constexpr uint32_t kAutoConnectHealthMaxAgeMs = 10000;
// Repeated waiting lines are written once per interval.
inline constexpr uint32_t kAutoConnectDeviceLogMs = 30000;
inline constexpr uint32_t kAutoConnectLocalNetLogMs = 5000;
inline constexpr uint32_t kAutoConnectNoPeerLogMs = 10000;

struct AutoConnectAppFacts {
    bool shuttingDown = false;     // the first shutdown request was made
    bool appRunning = false;       // the runtime state's application-running flag
    bool lifecycleStarted = false; // the lifecycle modules were started and not stopped since
};

// The runtime state's own session flags, and whether the session controller is sending a control request
// right now (its state then looks like a session being set up with nothing running yet).
struct AutoConnectRuntimeFacts {
    bool hostRunning = false;
    bool clientRunning = false;
    bool requestInProgress = false;
};

// What only the engine's ticks read and write.
struct AutoConnectClocks {
    uint32_t lastAttemptTick = 0;
    std::string lastAttemptPeer; // the peer id of the last request issued here; empty: none
    uint32_t deviceLogTick = 0;  // "device not inserted"
    uint32_t localNetLogTick = 0;
    uint32_t noPeerLogTick = 0;
};

struct AutoConnectTickInput {
    uint32_t now = 0;
    AutoConnectState state = AutoConnectState::Stopped;
    bool intentEnabled = false;
    uint32_t suppressUntil = 0;
    bool cableEvent = false; // the cable was reported present since the last tick
    AutoConnectAppFacts app;
    StateSnapshot session;
    AutoConnectRuntimeFacts runtime;
    bool cablePresent = false;
    CableNetwork network;          // read only while the cable is present
    std::vector<PeerRecord> peers; // discovery's table
    MacHealthEntry health;
    bool english = true; // the user interface language
    AutoConnectClocks clocks;
    // The second look of a tick that repaired an orphaned session state, on a fresh snapshot.
    bool orphanRepaired = false;
};

enum class AutoConnectEffectKind {
    SetState,         // state, reason in text
    Log,              // the line in text
    Status,           // the runtime state's status message
    StatusAndRepaint, // the same, then the main window is repainted
    DeviceRemoved,    // KvmSessionManager::OnLocalDeviceRemoved
    StopAllSessions,  // reason in text
    ClearPeerCache,   // Discovery::ClearPeerCacheForDeviceRemoval
    RuntimeIdle,      // program state IDLE, role none, error text cleared
    RepairOrphan,     // KvmSessionManager::OnLocalDeviceInserted
    RequestControl,   // DiscoveryRequestControlDevice with the peer id in text
    Suppress,         // suppress-until = until
};

struct AutoConnectEffect {
    AutoConnectEffectKind kind = AutoConnectEffectKind::Log;
    AutoConnectState state = AutoConnectState::Stopped;
    std::string text;
    uint32_t until = 0;
};

struct AutoConnectTickResult {
    std::vector<AutoConnectEffect> effects; // in the order they are to be carried out
    AutoConnectClocks clocks;
    // Suppress-until has passed: clear it, unless another thread has set a new one since it was read.
    bool clearSuppress = false;
    // The effects end with RepairOrphan: look again on a fresh snapshot with orphanRepaired set.
    bool lookAgain = false;
};

// The first step of a tick: whether there is anything to look at, and otherwise the state to settle in. The
// engine gathers the rest of the facts only behind an open gate.
struct AutoConnectGate {
    bool open = false;
    AutoConnectState state = AutoConnectState::Stopped;
    const char* reason = "";
};
AutoConnectGate AutoConnectCheckGate(const AutoConnectAppFacts& app, bool intentEnabled);

// A suppress-until of now + ms that is never 0, which means "none".
uint32_t AutoConnectSuppressDeadline(uint32_t now, uint32_t ms);
// Suppress-until is set and still ahead of now (a signed difference, so the tick may wrap in between).
bool AutoConnectSuppressed(uint32_t suppressUntil, uint32_t now);
