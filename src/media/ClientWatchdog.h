#pragma once

#include <cstdint>

// The controller's video watchdog, decided without side effects: ClientWatchdogPass takes the facts of one
// pass and the clocks the run keeps, updates the clocks and says what the run is to do. ClientPipeline
// gathers the facts and carries the actions out, in the order of the fields below.

// Time limits of the watchdog, in milliseconds.
inline constexpr uint32_t kClientWatchdogPassMs = 1000;
inline constexpr uint32_t kClientQuietStallMs = 1500;     // silence stall without side channels
inline constexpr uint32_t kClientSideAliveStallMs = 2800; // silence stall while a side channel lives
inline constexpr uint32_t kClientLongSilenceMs = 3000;
inline constexpr uint32_t kClientBlackStallMs = 2000;
inline constexpr uint32_t kClientBlackHealthyMs = 1500;
inline constexpr uint32_t kClientPersistentMs = 2500;
inline constexpr uint32_t kClientOfflineMs = 5000;
inline constexpr uint32_t kClientRendererStopMs = 8000;
inline constexpr uint32_t kClientDecoderReleaseMs = 10000;
inline constexpr uint32_t kClientHandshakeRetryMs = 900;
inline constexpr uint32_t kClientRebindRetryMs = 750;
inline constexpr uint32_t kClientOfflineRetryMs = 1500;
inline constexpr uint32_t kClientHidRecoveryMs = 2000;
inline constexpr uint32_t kClientWatchdogLogMs = 2000;
inline constexpr uint32_t kClientOfflineLogMs = 3000;

// True when intervalMs have passed since last (0: never), and then last = now. The one rule of every clock
// the run shares between its steps.
bool ClientClockDue(uint32_t& last, uint32_t now, uint32_t intervalMs);

// What the run keeps between passes; the main loop changes some of it too (frames end a lock mark, clear
// the issued flag and a pending rebind, and write on the shared log clock).
struct ClientWatchdogMemory {
    uint32_t lockMark = 0; // tick at which the run marked the remote desktop locked; 0 not marked
    bool issued = false;   // an in-session reconnect was scheduled for this outage
    bool rebindPending = false;
    uint32_t rebindStart = 0;
    // Restarted by the handshake retry, a peer address change, the rebind retry and the offline retry;
    // each measures its interval on it. The run starts it at its own start.
    uint32_t retryClock = 0;
    // The throttled failure lines of the main loop and of the stall steps share it.
    uint32_t sharedLogClock = 0;
    // The offline recovery line keeps its own: on the shared clock the stall line, written every 2,000 ms,
    // would never leave it the 3,000 ms it waits for, and the retries would go unrecorded.
    uint32_t recoveryLogClock = 0;
    uint32_t conditionLogClock = 0;
    uint32_t lastRestartRequest = 0; // the capture restart request of the black test and the HID recovery
};

struct ClientWatchdogFacts {
    uint32_t now = 0;
    bool firstFrameSeen = false;
    uint32_t lastFrameTick = 0;
    uint32_t blackStart = 0; // 0: the decoded-black clock is not running
    bool devicePresent = false;
    bool peerLost = false; // the state manager's session peer-lost flag
    bool inputConnected = false;
    bool clipboardConnected = false; // sharing enabled and the client's connection open
    bool desktopStateLocked = false; // the desktop-locked cache holds 1
    bool remoteLocked = false;       // the state manager's flag, before this pass
    bool hidForced = false;          // before this pass
    bool videoClosed = false;        // the receiver holds no accepted connection
    bool stillCurrent = false;       // ClientSession::IsStillCurrent
    bool rendererRunning = false;
    bool hasH264Decoder = false;
    bool peerIpChanged = false; // the session controller resolved a new address for the peer
};

enum class ClientWatchdogExit { None, DeviceMissing, PeerLost };
enum class ClientLockChange { None, MarkDesktop, MarkSilence, StickyDesktop, Clear };
enum class ClientWatchdogPhase {
    WaitingFirstFrame, // no frame yet
    Streaming,         // healthy
    SecureDesktop,     // stall pass while the peer's desktop is locked: nothing else runs
    Stall,
};
enum class ClientRetry { None, Sent, Suppressed };

struct ClientWatchdogActions {
    // The values of the pass.
    uint32_t silence = 0; // largest u32 while no frame has come
    uint32_t blackMs = 0;
    bool sideAlive = false;
    bool longSilence = false;
    bool blackStall = false;
    bool locked = false; // the lock condition holds (or a silence mark stays)
    uint32_t lockedMs = 0;

    ClientWatchdogExit exit = ClientWatchdogExit::None; // leave the loop; nothing below applies
    ClientLockChange lock = ClientLockChange::None;
    bool scheduleReconnect = false;
    bool logCondition = false;
    bool peerIpChange = false;
    ClientWatchdogPhase phase = ClientWatchdogPhase::WaitingFirstFrame;
    ClientRetry handshakeRetry = ClientRetry::None;
    bool startRebind = false;
    bool rebindRetry = false; // send and log the rebind retry
    bool hidRecovery = false;
    bool logStalled = false;
    bool persistent = false;
    bool logPersistent = false;
    bool offline = false;
    ClientRetry offlineRetry = ClientRetry::None;
    bool logOfflineRetry = false;
    bool stopRenderer = false;
    bool releaseDecoder = false;
    bool refresh = false; // the per-pass refresh of channels and statistics
};

ClientWatchdogActions ClientWatchdogPass(const ClientWatchdogFacts& facts, ClientWatchdogMemory& memory);
