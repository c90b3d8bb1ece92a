#include "core/StateManager.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <string_view>
#include <utility>

#include "core/EventBus.h"
#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/HasText.h"

// Lock rule of this file: m_peerMutex, m_statusMutex and m_reportMutex are held only to copy or compare;
// every log line and every call out is made after release.

namespace {

class ProcessStateLog final : public IStateLog {
public:
    void Line(const char* text) override { Log::Write("%s", text); }
    bool CategoryOn(const char* name) override { return Log::IsDebugCategoryEnabled(name); }
    bool Allow(const char* key, uint32_t intervalMs) override { return LogThrottle::Allow(key, intervalMs); }
};

IStateLog& ProcessLog() {
    static ProcessStateLog* log = new ProcessStateLog();
    return *log;
}

const char* Bit(bool value) {
    return value ? "1" : "0";
}
} // namespace

struct StateManager::FlagSpec {
    const char* module;
    const char* field;
    const char* reasonTrue;
    const char* reasonFalse;
    bool netLine; // "[STATE][NET] %s=%d" instead of "[STATE] %s=%d"
};

StateManager& StateManager::Instance() {
    // Never destroyed: detached workers may still set states while the process exits.
    static StateManager* instance = new StateManager();
    return *instance;
}

StateManager::StateManager(IStateLog* log, EventBus* events)
    : m_log(log != nullptr ? log : &ProcessLog()), m_events(events),
      m_seams(std::make_shared<const StateManagerSeams>()) {}

void StateManager::SetSeams(StateManagerSeams seams) {
    auto next = std::make_shared<const StateManagerSeams>(std::move(seams));
    std::lock_guard<std::mutex> lock(m_seamsMutex);
    m_seams = std::move(next);
}

std::shared_ptr<const StateManagerSeams> StateManager::Seams() {
    std::lock_guard<std::mutex> lock(m_seamsMutex);
    return m_seams;
}

void StateManager::Write(const char* format, ...) {
    char text[2048];
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (n < 0)
        return;
    m_log->Line(text);
}

void StateManager::LogTransition(const char* module, const char* field, const char* from, const char* to,
                                 const char* reason) {
    const char* why = reason != nullptr ? reason : "";
    Write("[DIAG][%s] %s %s -> %s reason=%s source=%s", module, field, from, to, why, "StateManager");
    if (m_log->CategoryOn("timeline"))
        Write("[DIAG][TIMELINE] module=%s state=%s from=%s to=%s reason=%s source=%s", module, field, from,
              to, why, "StateManager");
}

void StateManager::LogIntTransition(const char* module, const char* field, int32_t oldValue, int32_t newValue,
                                    const char* reason) {
    if (oldValue == newValue)
        return;
    char from[16];
    char to[16];
    std::snprintf(from, sizeof from, "%d", static_cast<int>(oldValue));
    std::snprintf(to, sizeof to, "%d", static_cast<int>(newValue));
    LogTransition(module != nullptr ? module : "STATE", field != nullptr ? field : "state", from, to,
                  reason != nullptr ? reason : "");
}

bool StateManager::SetFlag(std::atomic<bool>& flag, const FlagSpec& flagInfo, bool value,
                           const char* reason) {
    bool old = flag.exchange(value);
    if (old == value)
        return false;
    const char* why = HasText(reason) ? reason : (value ? flagInfo.reasonTrue : flagInfo.reasonFalse);
    if (flagInfo.netLine)
        Write("[STATE][NET] %s=%d", flagInfo.field, value ? 1 : 0);
    else
        Write("[STATE] %s=%d", flagInfo.field, value ? 1 : 0);
    LogTransition(flagInfo.module, flagInfo.field, Bit(old), Bit(value), why);
    return true;
}

bool StateManager::SetRunning(bool value, const char* reason) {
    static const FlagSpec info{"APP", "running", "RunningChanged", "RunningChanged", false};
    return SetFlag(m_running, info, value, reason);
}

bool StateManager::SetHostRunning(bool value, const char* reason) {
    static const FlagSpec info{"SESSION", "hostRunning", "HostRunningChanged", "HostRunningChanged", false};
    return SetFlag(m_hostRunning, info, value, reason);
}

bool StateManager::SetClientRunning(bool value, const char* reason) {
    static const FlagSpec info{"SESSION", "clientRunning", "ClientRunningChanged", "ClientRunningChanged",
                               false};
    return SetFlag(m_clientRunning, info, value, reason);
}

bool StateManager::SetController(bool value, const char* reason) {
    static const FlagSpec info{"SESSION", "controller", "ControllerFlagChanged", "ControllerFlagChanged",
                               false};
    return SetFlag(m_controller, info, value, reason);
}

bool StateManager::SetControlled(bool value, const char* reason) {
    static const FlagSpec info{"SESSION", "controlled", "ControlledFlagChanged", "ControlledFlagChanged",
                               false};
    return SetFlag(m_controlled, info, value, reason);
}

bool StateManager::SetConnected(bool value, const char* reason) {
    static const FlagSpec info{"SESSION", "connected", "Connected", "Disconnected", false};
    return SetFlag(m_connected, info, value, reason);
}

bool StateManager::SetReconnecting(bool value, const char* reason) {
    static const FlagSpec info{"SESSION", "reconnecting", "ReconnectStart", "ReconnectStop", false};
    return SetFlag(m_reconnecting, info, value, reason);
}

bool StateManager::SetPeerLost(bool value, const char* reason) {
    static const FlagSpec info{"SESSION", "peerLost", "PeerLost", "PeerRecovered", false};
    return SetFlag(m_peerLost, info, value, reason);
}

bool StateManager::SetRemoteLocked(bool value, const char* reason) {
    static const FlagSpec info{"LOCK", "remoteLocked", "RemoteLocked", "RemoteUnlocked", false};
    return SetFlag(m_remoteLocked, info, value, reason);
}

bool StateManager::SetTcpInputConnected(bool value, const char* reason) {
    static const FlagSpec info{"INPUT", "tcpInputConnected", "TcpInputConnected", "TcpInputDisconnected",
                               false};
    bool changed = SetFlag(m_tcpInputConnected, info, value, reason);
    if (value && !m_remoteLocked.load()) {
        int32_t route = m_inputRoute.load();
        if (route == static_cast<int32_t>(InputRoute::None) || route == static_cast<int32_t>(InputRoute::Hid))
            SetInputRoute(InputRoute::Tcp, HasText(reason) ? reason : "TcpInputConnectedRestoreTcpRoute");
    }
    return changed;
}

bool StateManager::SetHidPresent(bool value, const char* reason) {
    static const FlagSpec info{"HID", "hidPresent", "HidAttached", "HidRemoved", false};
    return SetFlag(m_hidPresent, info, value, reason);
}

bool StateManager::SetFileTransferBusy(bool value, const char* reason) {
    static const FlagSpec info{"TRANSFER", "fileTransferBusy", "TransferStart", "TransferStop", false};
    return SetFlag(m_fileTransferBusy, info, value, reason);
}

bool StateManager::SetClipboardBusy(bool value, const char* reason) {
    static const FlagSpec info{"CLIPBOARD", "clipboardBusy", "ClipboardBusy", "ClipboardIdle", false};
    return SetFlag(m_clipboardBusy, info, value, reason);
}

bool StateManager::SetDiscoveryRunning(bool value, const char* reason) {
    static const FlagSpec info{"NETWORK", "discoveryRunning", "DiscoveryStart", "DiscoveryStop", true};
    return SetFlag(m_discoveryRunning, info, value, reason);
}

bool StateManager::SetControlRunning(bool value, const char* reason) {
    static const FlagSpec info{"NETWORK", "controlRunning", "ControlStart", "ControlStop", true};
    return SetFlag(m_controlRunning, info, value, reason);
}

bool StateManager::SetNetworkPeerLost(bool value, const char* ip, const char* reason) {
    bool old = m_networkPeerLost.exchange(value);
    if (old == value)
        return false;
    const char* why = HasText(reason) ? reason : (value ? "PeerLost" : "PeerRecovered");
    Write("[STATE][NET] peerLost=%d ip=%s reason=%s", value ? 1 : 0, ip != nullptr ? ip : "", why);
    LogTransition("NETWORK", "peerLost", Bit(old), Bit(value), why);
    return true;
}

bool StateManager::ExchangeHidForced(bool value) {
    return m_hidForced.exchange(value);
}

bool StateManager::SetHttpServer(bool running, int32_t port) {
    int32_t stored = running ? port : 0;
    bool old = m_httpServer.exchange(running);
    bool portChanged = m_httpPort.exchange(stored) != stored;
    if (old != running) {
        Write("[STATE] httpServer running=%d port=%d", running ? 1 : 0, static_cast<int>(stored));
        LogTransition("NETWORK", "httpServer", Bit(old), Bit(running),
                      running ? "HttpServerStart" : "HttpServerStop");
    }
    return old != running || portChanged;
}

bool StateManager::SetActiveDownloads(int32_t count) {
    int32_t stored = std::max<int32_t>(count, 0);
    bool busy = stored >= 1;
    int32_t old = m_activeDownloads.exchange(stored);
    bool oldBusy = m_fileTransferBusy.exchange(busy);
    if (old == stored && oldBusy == busy)
        return false;
    Write("[STATE] activeDownloads=%d fileTransferBusy=%d", static_cast<int>(stored), busy ? 1 : 0);
    LogIntTransition("TRANSFER", "activeDownloads", old, stored, "ActiveDownloadsChanged");
    if (oldBusy != busy)
        LogTransition("TRANSFER", "fileTransferBusy", Bit(oldBusy), Bit(busy),
                      busy ? "DownloadStart" : "DownloadComplete");
    return true;
}

bool StateManager::SetLocalDrag(bool active, int32_t count) {
    int32_t stored = active && count >= 0 ? count : 0;
    bool oldFlag = m_localDrag.exchange(active);
    int32_t oldCount = m_localDragFiles.exchange(stored);
    bool drag = active || m_remoteDrag.load();
    bool oldDrag = m_dragActive.exchange(drag);
    const char* why = active ? "LocalDragStart" : "LocalDragStop";
    bool changed = oldFlag != active || oldCount != stored;
    if (changed) {
        Write("[STATE] localDrag active=%d count=%d", active ? 1 : 0, static_cast<int>(stored));
        if (oldFlag != active)
            LogTransition("DRAG", "localDrag", Bit(oldFlag), Bit(active), why);
        LogIntTransition("DRAG", "localDragFiles", oldCount, stored, "LocalDragFileCountChanged");
    }
    if (oldDrag != drag)
        LogTransition("DRAG", "dragActive", Bit(oldDrag), Bit(drag), why);
    return changed || oldDrag != drag;
}

bool StateManager::SetRemoteDrag(bool active, int32_t count) {
    int32_t stored = active && count >= 0 ? count : 0;
    bool oldFlag = m_remoteDrag.exchange(active);
    int32_t oldCount = m_remoteDragFiles.exchange(stored);
    bool drag = active || m_localDrag.load();
    bool oldDrag = m_dragActive.exchange(drag);
    const char* why = active ? "RemoteDragStart" : "RemoteDragStop";
    bool changed = oldFlag != active || oldCount != stored;
    if (changed) {
        Write("[STATE] remoteDrag active=%d count=%d", active ? 1 : 0, static_cast<int>(stored));
        if (oldFlag != active)
            LogTransition("DRAG", "remoteDrag", Bit(oldFlag), Bit(active), why);
        LogIntTransition("DRAG", "remoteDragFiles", oldCount, stored, "RemoteDragFileCountChanged");
    }
    if (oldDrag != drag)
        LogTransition("DRAG", "dragActive", Bit(oldDrag), Bit(drag), why);
    return changed || oldDrag != drag;
}

bool StateManager::SetInputRoute(int32_t route, const char* reason) {
    int32_t old = m_inputRoute.exchange(route);
    if (old == route)
        return false;
    Write("[STATE] inputRoute=%d", static_cast<int>(route));
    const char* from = InputRouteName(old);
    const char* to = InputRouteName(route);
    if (std::string_view(from) != to)
        LogTransition("INPUT", "route", from, to, HasText(reason) ? reason : "InputRouteChanged");
    return true;
}

bool StateManager::SetSessionMode(int32_t mode, const char* reason) {
    int32_t old = m_sessionMode.exchange(mode);
    if (old == mode)
        return false;
    if (m_log->Allow("[STATE] sessionMode", 1000))
        Write("[STATE] sessionMode=%d", static_cast<int>(mode));
    LogTransition("SESSION", "mode", SessionModeName(old), SessionModeName(mode),
                  HasText(reason) ? reason : "SessionModeChanged");
    return true;
}

void StateManager::SetActivePeer(const char* ip, const char* name) {
    std::string newIp = ip != nullptr ? ip : "";
    std::string newName = name != nullptr ? name : "";
    std::string oldIp, oldName;
    {
        std::lock_guard<std::mutex> lock(m_peerMutex);
        oldIp = std::exchange(m_peerIp, newIp);
        oldName = std::exchange(m_peerName, newName);
    }
    Write("[STATE] activePeer ip=%s name=%s", newIp.c_str(), newName.c_str());
    if (oldIp != newIp || oldName != newName)
        Write("[DIAG][SESSION] activePeer %s/%s -> %s/%s reason=ActivePeerChanged source=StateManager",
              oldIp.c_str(), oldName.c_str(), newIp.c_str(), newName.c_str());
}

bool StateManager::SetClipboardItemCount(int32_t count) {
    int32_t stored = std::max<int32_t>(count, 0);
    int32_t old = m_clipboardItems.exchange(stored);
    if (old == stored)
        return false;
    Write("[STATE] %s=%d", "clipboardItemCount", static_cast<int>(stored));
    LogIntTransition("CLIPBOARD", "clipboardItemCount", old, stored, "ClipboardItemCountChanged");
    return true;
}

void StateManager::PublishPorts(const PortSet& p) {
    const uint16_t values[8] = {
        p.discoveryPrimary, p.discoveryLegacy, p.control, p.video, p.input, p.audio, p.clipboard, p.http};
    for (int i = 0; i < 8; ++i)
        m_ports[i].store(values[i]);
    Write("[STATE][NET] ports discovery=%d control=%d video=%d input=%d audio=%d clipboard=%d http=%d",
          p.discoveryPrimary, p.control, p.video, p.input, p.audio, p.clipboard, p.http);
    Write("[NET][SERVICE] ports discovery=%u control=%u video=%u input=%u audio=%u clipboard=%u http=%u",
          unsigned{p.discoveryPrimary}, unsigned{p.control}, unsigned{p.video}, unsigned{p.input},
          unsigned{p.audio}, unsigned{p.clipboard}, unsigned{p.http});
}

PortSet StateManager::GetPorts() const {
    PortSet p;
    p.discoveryPrimary = m_ports[0].load();
    p.discoveryLegacy = m_ports[1].load();
    p.control = m_ports[2].load();
    p.video = m_ports[3].load();
    p.input = m_ports[4].load();
    p.audio = m_ports[5].load();
    p.clipboard = m_ports[6].load();
    p.http = m_ports[7].load();
    return p;
}

void StateManager::SetDesktopSizeCopy(uint32_t width, uint32_t height) {
    m_desktopWidth.store(static_cast<int32_t>(width));
    m_desktopHeight.store(static_cast<int32_t>(height));
}

void StateManager::SetStreamSizeCopy(uint32_t width, uint32_t height) {
    m_streamWidth.store(static_cast<int32_t>(width));
    m_streamHeight.store(static_cast<int32_t>(height));
}

void StateManager::SetStatusText(const std::string& text) {
    std::lock_guard<std::mutex> lock(m_statusMutex);
    m_statusText = text;
}

void StateManager::SetLastErrorText(const std::string& text) {
    std::lock_guard<std::mutex> lock(m_statusMutex);
    m_lastErrorText = text;
}

bool StateManager::TrySetLastErrorText(const std::string& text) {
    std::unique_lock<std::mutex> lock(m_statusMutex, std::try_to_lock);
    if (!lock.owns_lock())
        return false;
    m_lastErrorText = text;
    return true;
}

int32_t StateManager::GetChannelState(int channel) const {
    return channel >= 0 && channel < kChannelCount ? m_channels[channel].load() : 0;
}

std::string StateManager::GetPeerIp() {
    std::lock_guard<std::mutex> lock(m_peerMutex);
    return m_peerIp;
}

std::string StateManager::GetStatusText() {
    std::lock_guard<std::mutex> lock(m_statusMutex);
    return m_statusText;
}

std::string StateManager::GetLastErrorText() {
    std::lock_guard<std::mutex> lock(m_statusMutex);
    return m_lastErrorText;
}

StateSnapshot StateManager::Snapshot() {
    StateSnapshot s;
    s.running = m_running.load();
    s.hostRunning = m_hostRunning.load();
    s.clientRunning = m_clientRunning.load();
    s.controller = m_controller.load();
    s.controlled = m_controlled.load();
    s.connected = m_connected.load();
    s.reconnecting = m_reconnecting.load();
    s.peerLost = m_peerLost.load();
    s.networkPeerLost = m_networkPeerLost.load();
    s.sessionMode = m_sessionMode.load();
    s.remoteLocked = m_remoteLocked.load();
    s.tcpInputConnected = m_tcpInputConnected.load();
    s.hidPresent = m_hidPresent.load();
    s.hidForced = m_hidForced.load();
    s.inputRoute = m_inputRoute.load();
    s.dragActive = m_dragActive.load();
    s.localDrag = m_localDrag.load();
    s.localDragFiles = m_localDragFiles.load();
    s.remoteDrag = m_remoteDrag.load();
    s.remoteDragFiles = m_remoteDragFiles.load();
    s.fileTransferBusy = m_fileTransferBusy.load();
    s.activeDownloads = m_activeDownloads.load();
    s.clipboardBusy = m_clipboardBusy.load();
    s.clipboardItems = m_clipboardItems.load();
    s.discoveryRunning = m_discoveryRunning.load();
    s.controlRunning = m_controlRunning.load();
    s.httpServer = m_httpServer.load();
    s.httpPort = m_httpPort.load();
    for (int i = 0; i < kChannelCount; ++i)
        s.channelStates[i] = m_channels[i].load();
    s.ports = GetPorts();
    s.streamWidth = m_streamWidth.load();
    s.streamHeight = m_streamHeight.load();
    s.desktopWidth = m_desktopWidth.load();
    s.desktopHeight = m_desktopHeight.load();
    {
        std::lock_guard<std::mutex> lock(m_peerMutex);
        s.peerIp = m_peerIp;
        s.peerName = m_peerName;
    }
    {
        std::lock_guard<std::mutex> lock(m_statusMutex);
        s.statusText = m_statusText;
        s.lastErrorText = m_lastErrorText;
    }
    return s;
}
