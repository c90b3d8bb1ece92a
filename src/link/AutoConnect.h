#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "core/Printf.h"
#include "core/WorkerThread.h"
#include "link/AutoConnectPorts.h"
#include "link/AutoConnectState.h"
#include "link/AutoConnectTick.h"

// Auto-connect: while the user wants it (the intent) and the cable is plugged in, the engine thread looks
// once a second, and at once when discovery's device list or the cable changes, at the cable, its network,
// the session and the peers; when a peer is there and no session runs it asks the first peer for control.
// It also repairs a session state that no session stands behind, keeps a one-line link status for the user,
// and backs off after failures and while the user or the peer is connecting by hand.
//
// State, intent and suppress-until are atomics: SetIntent, Suppress and OnDevicePresence come from the UI
// thread, the control server and the presence monitor while the engine ticks. Every state change logs
// "[AUTOCONNECT][STATE] %s -> %s reason=%s intent=%s"; setting the current state logs nothing.
class LogWriter;

class AutoConnect {
public:
    static constexpr uint32_t kWakePeriodMs = 1000;
    // How long Stop waits for the engine thread to leave before it is detached (a tick may be sending a
    // control request).
    static constexpr uint32_t kStopWaitMs = 1500;

    // The process-wide engine, over ProcessAutoConnectPorts until start-up installs the shell's ports.
    // Created on first use, never destroyed.
    static AutoConnect& Instance();

    // The ports must outlive the engine (or be replaced first). A null log writes through the process-wide
    // log.
    explicit AutoConnect(IAutoConnectPorts& ports, uint32_t wakePeriodMs = kWakePeriodMs,
                         LogWriter* log = nullptr);
    ~AutoConnect();
    AutoConnect(const AutoConnect&) = delete;
    AutoConnect& operator=(const AutoConnect&) = delete;

    // Replaces the ports; the object must live to the end of the process (a detached engine thread may
    // still use the old ones).
    void SetPorts(IAutoConnectPorts& ports);

    // Starts the engine thread (state Idle, "engine start"); a running engine only logs.
    void Start();
    // Clears the running flag and wakes the engine, which leaves its loop by itself; waits for it up to
    // kStopWaitMs, then detaches it. Called on the engine thread itself it detaches at once. State Stopped.
    void Stop();
    // Enabling with a reason holding "user connect", "tray connect" or "control button connect" first
    // suppresses automatic attempts for 8000 ms, so that the user's own connection is not raced. Disabling
    // clears suppress-until and sets Idle (engine running) or Stopped.
    void SetIntent(bool enabled, const char* reason);
    // No attempt for ms from now; state Cooldown with the reason ("manual suppress" when none).
    void Suppress(uint32_t ms, const char* reason);
    // The cable came (the next tick forgets the last attempt; the cooldown ends) or went; wakes the engine.
    void OnDevicePresence(bool present);

    // One tick on the caller's thread (the engine runs one per wake). A tick that finds another one running
    // returns at once.
    void RunTick();

    AutoConnectState State() const { return static_cast<AutoConnectState>(m_state.load()); }
    bool IsIntentEnabled() const { return m_intent.load(); }
    bool IsRunning() const { return m_running.load(); }
    uint32_t SuppressUntil() const { return m_suppressUntil.load(); }

    // --- The decisions, pure.
    // One look (the steps of a tick) over the facts in input.
    static AutoConnectTickResult Tick(const AutoConnectTickInput& input);
    // After DiscoveryRequestControlDevice went to peerId: its result line and, when it failed, the cooldown.
    // state is the engine's state at that moment.
    static std::vector<AutoConnectEffect> AfterRequest(bool ok, const std::string& peerId, bool intentEnabled,
                                                       AutoConnectState state, uint32_t now);

private:
    IAutoConnectPorts& Ports() const { return *m_ports.load(); }
    void Write(const char* format, ...) TSLY_PRINTF(2, 3);
    // Exchanges the state; logs the change line when it changed.
    void SetState(AutoConnectState state, const char* reason);
    AutoConnectTickInput GatherFacts(IAutoConnectPorts& ports);
    void Apply(IAutoConnectPorts& ports, const std::vector<AutoConnectEffect>& effects);
    void ThreadProc(const StopSignal& stop);

    std::atomic<IAutoConnectPorts*> m_ports;
    const uint32_t m_wakePeriodMs;
    LogWriter* m_log;

    std::atomic<int32_t> m_state{static_cast<int32_t>(AutoConnectState::Stopped)};
    std::atomic<bool> m_intent{false};
    std::atomic<uint32_t> m_suppressUntil{0}; // 0: none
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_ticking{false};    // the re-entrancy flag
    std::atomic<bool> m_cableEvent{false}; // set when the cable is reported present; taken by the next tick
    AutoConnectClocks m_clocks;            // only inside a tick (m_ticking held)

    std::mutex m_threadMutex; // Start and Stop of the engine thread
    WorkerThread m_worker;
};
