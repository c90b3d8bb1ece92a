#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "core/PortSet.h"
#include "core/StateManagerTypes.h"

class EventBus;

// The StateManager, the process-wide record of the session as the whole program sees it.
// Every value is an atomic with exchange semantics; every setter that changes a value writes a "[STATE]"
// line and the transition line "[DIAG][%s] %s %s -> %s reason=%s source=StateManager" (plus the
// "[DIAG][TIMELINE] ..." twin when the "timeline" category is on). A setter that changes nothing logs
// nothing and publishes nothing.
//
// Relation with the runtime state, decided once:
// - The runtime side calls RuntimeSyncSessionState after each store of program state or role (inside
//   RuntimeSetProgramState / RuntimeSetRole). SetUnifiedState stores program state, then role, only through
//   those setters, and never calls the sync itself (program state first: the derived mode depends on it
//   alone for every row, so the timeline shows no intermediate mode).
// - "Clear view" clears the runtime state's keyboardActive flag (the RemoteView keyboard flag), with a
//   change notice when it was set; no separate remote-view field exists.
// - The runtime side mirrors into this object through SetHostRunning, SetClientRunning,
//   SetDesktopSizeCopy, SetStreamSizeCopy, SetLocalDrag, SetRemoteDrag, SetStatusText, SetLastErrorText,
//   SetActivePeer and SetClipboardItemCount, always after releasing the runtime mutex.
//
// Locks: three leaf mutexes (peer text, status text, channel report), never held together, never held
// with the runtime mutex, never held while logging or calling out. SetUnifiedState takes no lock of its
// own: callers serialise it (the session controller's mutex or the session threads).
// A channel number outside 0..3 is refused with
// "[STATE][WARN] channel state refused channel=%d state=%d reason=%s" and changes nothing.

// Where the StateManager writes its lines; the default goes to Log::Write / Log::IsDebugCategoryEnabled /
// LogThrottle::Allow. Tests capture.
class IStateLog {
public:
    virtual ~IStateLog() = default;
    virtual void Line(const char* text) = 0;
    virtual bool CategoryOn(const char* name) = 0;
    virtual bool Allow(const char* key, uint32_t intervalMs) = 0;
};

// What SetUnifiedState and SetChannelState need from Parts built later. Every member is optional; an
// empty one takes the default in brackets. Installed once at start-up (StateManager::SetSeams).
struct StateManagerSeams {
    std::function<bool()> audioEnabled;             // ConfigService AudioEnable > 0 [true]
    std::function<bool()> clipboardEnabled;         // ConfigService clipboardEnable > 0 [true]
    std::function<bool()> controllerRequestedAudio; // req_audio of the active peer's request [false]
    std::function<bool()> inputChannelReady;        // the input channel's handshake flag [false]
    std::function<void()> stopRenderer;             // RemoteViewStopRenderer [nothing]
    std::function<bool()> dragRunning;              // DragDrop running [false]
    std::function<void()> startDrag;                // DragDrop::Start(0) [nothing]
    std::function<void()> stopDrag;                 // DragDrop::Stop [nothing]
};

class StateManager {
public:
    // The process-wide StateManager: created on first use, never destroyed.
    static StateManager& Instance();

    // Separate instances exist for tests. Null log: the process log; null bus: EventBus::Instance().
    explicit StateManager(IStateLog* log = nullptr, EventBus* events = nullptr);
    StateManager(const StateManager&) = delete;
    StateManager& operator=(const StateManager&) = delete;

    void SetSeams(StateManagerSeams seams);

    // --- The flag family. Each returns whether the value changed. An absent or empty reason takes the
    // default of the flag (true / false). Line "[STATE] %s=%d" unless noted.
    bool SetRunning(bool value, const char* reason = nullptr);       // APP running
    bool SetHostRunning(bool value, const char* reason = nullptr);   // SESSION hostRunning
    bool SetClientRunning(bool value, const char* reason = nullptr); // SESSION clientRunning
    bool SetController(bool value, const char* reason = nullptr);    // SESSION controller
    bool SetControlled(bool value, const char* reason = nullptr);    // SESSION controlled
    bool SetConnected(bool value, const char* reason = nullptr);     // SESSION connected
    bool SetReconnecting(bool value, const char* reason = nullptr);  // SESSION reconnecting
    bool SetPeerLost(bool value, const char* reason = nullptr);      // SESSION peerLost
    bool SetRemoteLocked(bool value, const char* reason = nullptr);  // LOCK remoteLocked
    // INPUT tcpInputConnected; then, when value is true, remoteLocked is clear and the route is NONE or HID:
    // SetInputRoute(TCP, reason or "TcpInputConnectedRestoreTcpRoute").
    bool SetTcpInputConnected(bool value, const char* reason = nullptr);
    bool SetHidPresent(bool value, const char* reason = nullptr);       // HID hidPresent
    bool SetFileTransferBusy(bool value, const char* reason = nullptr); // TRANSFER fileTransferBusy
    bool SetClipboardBusy(bool value, const char* reason = nullptr);    // CLIPBOARD clipboardBusy
    bool SetDiscoveryRunning(bool value, const char* reason = nullptr); // "[STATE][NET] discoveryRunning=%d"
    bool SetControlRunning(bool value, const char* reason = nullptr);   // "[STATE][NET] controlRunning=%d"

    // The NETWORK peerLost flag (discovery; the network module's stop). When it changed
    // logs "[STATE][NET] peerLost=%d ip=%s reason=%s" and the transition (NETWORK, peerLost); an absent
    // reason takes "PeerLost" / "PeerRecovered". Returns whether it changed.
    bool SetNetworkPeerLost(bool value, const char* ip, const char* reason);

    // The HID-forced flag: exchanged silently; returns the old value.
    bool ExchangeHidForced(bool value);

    // --- Other setters.
    bool SetHttpServer(bool running, int32_t port);
    bool SetActiveDownloads(int32_t count);
    bool SetLocalDrag(bool active, int32_t count);
    bool SetRemoteDrag(bool active, int32_t count);
    bool SetInputRoute(int32_t route, const char* reason = nullptr);
    bool SetInputRoute(InputRoute route, const char* reason = nullptr) {
        return SetInputRoute(static_cast<int32_t>(route), reason);
    }
    bool SetSessionMode(int32_t mode, const char* reason = nullptr);
    // Absent texts are stored as empty. Logs "[STATE] activePeer ip=%s name=%s" always, and
    // "[DIAG][SESSION] activePeer %s/%s -> %s/%s reason=ActivePeerChanged source=StateManager" on a change.
    void SetActivePeer(const char* ip, const char* name);
    // The clipboard item count mirrored by RuntimeSetClipboardItemCount: stores max(count, 0); when it
    // changed logs "[STATE] clipboardItemCount=%d" and the transition (CLIPBOARD, clipboardItemCount,
    // reason "ClipboardItemCountChanged").
    bool SetClipboardItemCount(int32_t count);
    // When old and new differ: "[DIAG][%s] %s %d -> %d reason=%s source=StateManager" and the timeline
    // twin. Null module "STATE", null field "state", null reason "".
    void LogIntTransition(const char* module, const char* field, int32_t oldValue, int32_t newValue,
                          const char* reason);

    // Port set publication (discovery, settings): stores the seven ports and logs
    // "[STATE][NET] ports discovery=%d control=%d video=%d input=%d audio=%d clipboard=%d http=%d" and
    // "[NET][SERVICE] ports discovery=%u control=%u video=%u input=%u audio=%u clipboard=%u http=%u".
    void PublishPorts(const PortSet& ports);

    // Silent copies written by the runtime state setters.
    void SetDesktopSizeCopy(uint32_t width, uint32_t height);
    void SetStreamSizeCopy(uint32_t width, uint32_t height);
    void SetStatusText(const std::string& text);    // under the status-text mutex
    void SetLastErrorText(const std::string& text); // under the status-text mutex
    // Crash path: store only when the status-text mutex is free at once.
    bool TrySetLastErrorText(const std::string& text);

    // --- Channels. Channel 0..3; state a ChannelState value.
    void SetChannelState(int channel, int32_t state, const char* reason = nullptr);
    void SetChannelState(int channel, ChannelState state, const char* reason = nullptr) {
        SetChannelState(channel, static_cast<int32_t>(state), reason);
    }
    void ResetConnectionStates();

    // --- The unified state. A mode outside 0..7 sets session mode 0 and only performs steps 1 and 3.
    void SetUnifiedState(int32_t mode, const char* reason = nullptr);
    void SetUnifiedState(SessionMode mode, const char* reason = nullptr) {
        SetUnifiedState(static_cast<int32_t>(mode), reason);
    }
    // Passes 0..6 through and maps every other value to 7 (Error).
    void SetUnifiedStateClamped(int32_t mode, const char* reason = nullptr);

    // --- Readers.
    StateSnapshot Snapshot();
    bool IsRunning() const { return m_running.load(); }
    bool IsHostRunning() const { return m_hostRunning.load(); }
    bool IsClientRunning() const { return m_clientRunning.load(); }
    bool IsController() const { return m_controller.load(); }
    bool IsControlled() const { return m_controlled.load(); }
    bool IsConnected() const { return m_connected.load(); }
    bool IsReconnecting() const { return m_reconnecting.load(); }
    bool IsPeerLost() const { return m_peerLost.load(); }
    bool IsNetworkPeerLost() const { return m_networkPeerLost.load(); }
    bool IsRemoteLocked() const { return m_remoteLocked.load(); }
    bool IsTcpInputConnected() const { return m_tcpInputConnected.load(); }
    bool IsHidPresent() const { return m_hidPresent.load(); }
    bool IsHidForced() const { return m_hidForced.load(); }
    bool IsDragActive() const { return m_dragActive.load(); }
    bool IsFileTransferBusy() const { return m_fileTransferBusy.load(); }
    bool IsClipboardBusy() const { return m_clipboardBusy.load(); }
    bool IsDiscoveryRunning() const { return m_discoveryRunning.load(); }
    bool IsControlRunning() const { return m_controlRunning.load(); }
    bool IsHttpServerRunning() const { return m_httpServer.load(); }
    int32_t GetHttpPort() const { return m_httpPort.load(); }
    int32_t GetActiveDownloads() const { return m_activeDownloads.load(); }
    int32_t GetInputRoute() const { return m_inputRoute.load(); }
    int32_t GetSessionMode() const { return m_sessionMode.load(); }
    int32_t GetChannelState(int channel) const; // the StateManager's copy; 0 for a channel outside 0..3
    PortSet GetPorts() const;
    std::string GetPeerIp();
    std::string GetStatusText();
    std::string GetLastErrorText();

private:
    struct FlagSpec;
    bool SetFlag(std::atomic<bool>& flag, const FlagSpec& flagInfo, bool value, const char* reason);
    void LogTransition(const char* module, const char* field, const char* from, const char* to,
                       const char* reason);
    void Write(const char* format, ...)
#if defined(__GNUC__) || defined(__clang__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    void DragConnection(bool connected, const char* reason);
    std::shared_ptr<const StateManagerSeams> Seams();

    IStateLog* m_log;
    EventBus* m_events;

    std::atomic<bool> m_running{false}, m_hostRunning{false}, m_clientRunning{false};
    std::atomic<bool> m_controller{false}, m_controlled{false}, m_connected{false}, m_reconnecting{false};
    std::atomic<bool> m_peerLost{false}, m_networkPeerLost{false}, m_remoteLocked{false};
    std::atomic<bool> m_tcpInputConnected{false}, m_hidPresent{false}, m_hidForced{false};
    std::atomic<bool> m_dragActive{false}, m_localDrag{false}, m_remoteDrag{false};
    std::atomic<int32_t> m_localDragFiles{0}, m_remoteDragFiles{0};
    std::atomic<bool> m_fileTransferBusy{false}, m_clipboardBusy{false};
    std::atomic<int32_t> m_activeDownloads{0}, m_clipboardItems{0};
    std::atomic<bool> m_httpServer{false}, m_discoveryRunning{false}, m_controlRunning{false};
    std::atomic<int32_t> m_httpPort{0};
    std::atomic<int32_t> m_inputRoute{0}, m_sessionMode{0};
    std::atomic<int32_t> m_channels[4] = {{0}, {0}, {0}, {0}};
    std::atomic<uint16_t> m_ports[8] = {{38999}, {58999}, {5003}, {6000}, {5000}, {7001}, {5002}, {0}};
    std::atomic<int32_t> m_streamWidth{0}, m_streamHeight{0}, m_desktopWidth{0}, m_desktopHeight{0};
    std::atomic<bool> m_dragServiceMarked{false}; // "the drag service marked connected"

    std::mutex m_peerMutex; // peer texts
    std::string m_peerIp, m_peerName;
    std::mutex m_statusMutex; // status and last-error texts
    std::string m_statusText, m_lastErrorText;
    std::mutex m_reportMutex; // the last state reported per channel for the service log
    int32_t m_reported[4] = {-1, -1, -1, -1};

    std::mutex m_seamsMutex;
    std::shared_ptr<const StateManagerSeams> m_seams;
};
