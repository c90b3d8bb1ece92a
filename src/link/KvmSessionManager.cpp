#include "link/KvmSessionManager.h"

#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "link/ControlHandlerState.h"
#include "link/KvmSessionHid.h"
#include "link/SessionControllerServices.h"
#include "core/StateManager.h"

namespace {

constexpr const char* kPeerLostReason = "Discovery TCP/heartbeat timeout";
constexpr const char* kDeviceRemovedError = "设备已断开: required USB device VID_067B&PID_27A5 not found";

bool Contains(const char* text, const char* part) {
    return text != nullptr && std::string_view(text).find(part) != std::string_view::npos;
}

} // namespace

KvmSessionManager& KvmSessionManager::Instance() {
    static KvmSessionManager* manager = new KvmSessionManager(ControlHandlerState::Instance());
    return *manager;
}

KvmSessionManager::KvmSessionManager(ControlHandlerState& state, SessionControllerServices* services)
    : m_state(state), m_services(services) {}

SessionControllerServices& KvmSessionManager::Services() const {
    return m_services != nullptr ? *m_services : InstalledSessionControllerServices();
}

bool KvmSessionManager::IsStopping() const {
    return RuntimeGetProgramState() == static_cast<int32_t>(ProgramState::Stopping) || !RuntimeIsAppRunning();
}

bool KvmSessionManager::AnySessionRuns() {
    StateManager& state = RuntimeStateManager();
    return RuntimeIsClientRunning() || RuntimeIsHostRunning() || state.IsHostRunning() ||
           state.IsClientRunning() || state.IsConnected();
}

void KvmSessionManager::StopSessions() {
    Services().StopClientSession();
    Services().StopHostSession();
}

// --- Active peer.

// The texts are copied under the peer mutex, a leaf; the settings, the runtime state (its log line, both
// buses, the window post) and the log are called after it is released.
void KvmSessionManager::SetActivePeer(const std::string& ip, const std::string& name) {
    std::string storedName;
    {
        std::lock_guard<std::mutex> lock(m_peerMutex);
        m_activeIp = ip;
        if (!name.empty())
            m_activeName = name;
        storedName = m_activeName;
    }
    ConfigService::Instance().SetPeerAddress(ip);
    RuntimeSetActivePeer(ip.c_str(), storedName.c_str());
    Log::Write("[SESSION] activePeer ip=%s name=%s", ip.c_str(), storedName.c_str());
}

void KvmSessionManager::ClearActivePeer() {
    {
        std::lock_guard<std::mutex> lock(m_peerMutex);
        m_activeIp.clear();
        m_activeName.clear();
    }
    RuntimeSetActivePeer("", "");
    Log::Write("[SESSION] activePeer cleared");
    m_state.desktop.Reset();
    m_state.requests.Reset();
}

std::string KvmSessionManager::ActivePeerIp() {
    {
        std::lock_guard<std::mutex> lock(m_peerMutex);
        if (!m_activeIp.empty())
            return m_activeIp;
    }
    return ConfigService::Instance().GetPeerAddress();
}

std::string KvmSessionManager::ActivePeerName() {
    std::lock_guard<std::mutex> lock(m_peerMutex);
    return m_activeName;
}

bool KvmSessionManager::IsActivePeer(std::string_view ip) {
    return !ip.empty() && ip == ActivePeerIp();
}

bool KvmSessionManager::ResolvePeerIpChange(const std::string& currentIp, std::string& newIp) {
    const std::string name = ActivePeerName();
    if (name.empty())
        return false;
    for (const PeerRecord& peer : Services().DiscoveredPeers()) {
        if (!peer.ip.empty() && peer.name == name && peer.ip != currentIp) {
            newIp = peer.ip;
            return true;
        }
    }
    return false;
}

// --- Entry points.

void KvmSessionManager::StopAllSessions(const char* reason) {
    std::lock_guard<std::mutex> lock(m_sessionMutex);
    StopAllLocked(reason);
}

void KvmSessionManager::StopAllLocked(const char* reason) {
    const char* why = reason != nullptr ? reason : "";
    Log::Write("KVM stop all sessions reason=%s", why);
    StateManager& state = RuntimeStateManager();
    if (state.IsHidForced()) {
        Log::Write("[HID][FORCE] clear fallback: stop all sessions reason=%s", why);
        ReleaseHidFallback(state, Services());
    }
    const std::string ip = ActivePeerIp();
    // A stop that the peer asked for is not echoed back to it.
    if (AnySessionRuns() && !ip.empty() && !Contains(why, kPeerControlStopReason))
        Services().SendControlStop(ip);
    state.SetUnifiedState(SessionMode::Disconnecting, *why != '\0' ? why : "KVM stopped");
    StopSessions();
    ClearActivePeer();
}

void KvmSessionManager::OnLocalDeviceRemoved() {
    std::lock_guard<std::mutex> lock(m_sessionMutex);
    Log::Write("[DEVICE][SESSION] local authorized device removed; publish WaitingDevice before cleanup");
    StateManager& state = RuntimeStateManager();
    {
        std::lock_guard<std::mutex> stateLock(m_sessionStateMutex);
        ReleaseHidFallback(state, Services());
        state.SetUnifiedState(SessionMode::Disconnecting, "device not inserted");
        RuntimeSetStatusMessage("设备已断开，等待设备插入");
        RuntimeSetErrorText(kDeviceRemovedError);
    }
    StopSessions();
    ClearActivePeer();
    {
        std::lock_guard<std::mutex> stateLock(m_sessionStateMutex);
        state.SetNetworkPeerLost(false, "", "local authorized device removed");
        state.SetUnifiedState(SessionMode::Idle, "等待设备插入");
        RuntimeSetStatusMessage("等待设备插入");
        RuntimeSetErrorText(kDeviceRemovedError);
    }
}

void KvmSessionManager::OnLocalDeviceInserted() {
    std::lock_guard<std::mutex> lock(m_sessionMutex);
    std::lock_guard<std::mutex> stateLock(m_sessionStateMutex);
    if (AnySessionRuns())
        return;
    Log::Write("[DEVICE][SESSION] local authorized device inserted; repair idle state for autoconnect");
    ClearActivePeer();
    StateManager& state = RuntimeStateManager();
    state.SetNetworkPeerLost(false, "", "local authorized device inserted");
    state.SetUnifiedState(SessionMode::Idle, "设备已插入，等待远端");
    RuntimeSetStatusMessage("设备已插入，等待远端");
    RuntimeSetErrorText("");
}

void KvmSessionManager::OnPeerLost() {
    std::lock_guard<std::mutex> lock(m_sessionMutex);
    if (IsStopping()) {
        Log::Write("KVM peer lost ignored during stopping reason=%s", kPeerLostReason);
        return;
    }
    const std::string ip = ActivePeerIp();
    if (ip.empty())
        return;
    const std::string name = ActivePeerName();
    Log::Write("KVM peer lost ip=%s name=%s reason=%s", ip.c_str(), name.c_str(), kPeerLostReason);

    StateManager& state = RuntimeStateManager();
    ReleaseHidFallback(state, Services());
    state.SetRemoteLocked(false, "peer lost");
    state.SetTcpInputConnected(false, kPeerLostReason);
    if (RuntimeSetKeyboardActive(false))
        RuntimeNotifyChanged();

    RuntimeSetStatusMessage(kPeerLostReason);
    RuntimeSetErrorText(kPeerLostReason);
    state.SetUnifiedState(SessionMode::PeerLost, kPeerLostReason);

    StopSessions();
    ClearActivePeer();
    // The user interface keeps naming the peer that went away.
    RuntimeSetActivePeer(ip.c_str(), name.c_str());
    state.SetUnifiedState(SessionMode::PeerLost, kPeerLostReason);
    RuntimeSetRole(RuntimeRole::None);
    RuntimeSetProgramState(ProgramState::PeerLost);
}

bool KvmSessionManager::SwitchToController(const std::string& ip, const std::string& name) {
    std::lock_guard<std::mutex> lock(m_sessionMutex);
    if (IsStopping()) {
        Log::Write("KVM switch to CONTROLLER ignored: stopping/shutdown peer=%s", ip.c_str());
        return false;
    }
    StateManager& state = RuntimeStateManager();
    const bool locked = m_state.desktop.Value() == 1;
    if (RuntimeIsClientRunning() && IsActivePeer(ip) &&
        RuntimeGetRole() == static_cast<int32_t>(RuntimeRole::Controller)) {
        if (state.IsHidForced() && !locked) {
            Log::Write("[HID][FORCE] clear fallback: already controlling unlocked peer=%s", ip.c_str());
            ReleaseHidFallback(state, Services());
        }
        if (locked) {
            Log::Write("[HID][FORCE] keep fallback: active peer locked peer=%s forced=%d", ip.c_str(),
                       state.IsHidForced() ? 1 : 0);
            ForceHidFallback(state, Services());
        }
        Log::Write("KVM switch to CONTROLLER ignored: already controlling peer=%s locked=%d", ip.c_str(),
                   locked ? 1 : 0);
        return true;
    }

    Log::Write("KVM switch to CONTROLLER peer=%s name=%s", ip.c_str(), name.c_str());
    if (locked) {
        Log::Write("[HID][FORCE] keep fallback: switch-to-controller peer is locked peer=%s", ip.c_str());
        ForceHidFallback(state, Services());
    } else {
        ReleaseHidFallback(state, Services());
    }
    RuntimeSetRole(RuntimeRole::Switching);
    RuntimeSetProgramState(ProgramState::Switching);
    RuntimeSetStatusMessage("Switching to controller");

    Services().StopHostSession();
    Services().StopClientSession();
    state.SetNetworkPeerLost(false, ip.c_str(), "switch to controller");
    state.SetPeerLost(false, "switch to controller");

    SetActivePeer(ip, name);
    state.SetUnifiedState(SessionMode::ConnectingController, "Switching to controller");
    if (Services().StartClientSession(ip))
        return true;
    state.SetUnifiedState(SessionMode::Error, "ClientSession start failed");
    return false;
}

bool KvmSessionManager::SwitchToControlled(const std::string& ip, const std::string& name) {
    std::lock_guard<std::mutex> lock(m_sessionMutex);
    if (IsStopping()) {
        Log::Write("KVM switch to CONTROLLED ignored: stopping/shutdown peer=%s", ip.c_str());
        return false;
    }
    if (RuntimeIsHostRunning() && IsActivePeer(ip) &&
        RuntimeGetRole() == static_cast<int32_t>(RuntimeRole::Controlled)) {
        Log::Write("KVM switch to CONTROLLED ignored: already controlled by peer=%s", ip.c_str());
        return true;
    }

    Log::Write("KVM switch to CONTROLLED peer=%s name=%s", ip.c_str(), name.c_str());
    RuntimeSetRole(RuntimeRole::Switching);
    RuntimeSetProgramState(ProgramState::Switching);
    RuntimeSetStatusMessage("Switching to controlled");

    StateManager& state = RuntimeStateManager();
    Services().StopClientSession();
    Services().StopHostSession();
    state.SetNetworkPeerLost(false, ip.c_str(), "switch to controlled");
    state.SetPeerLost(false, "switch to controlled");

    SetActivePeer(ip, name);
    state.SetUnifiedState(SessionMode::ConnectingControlled, "Switching to controlled");
    if (Services().StartHostSession(ip))
        return true;
    state.SetUnifiedState(SessionMode::Error, "HostSession start failed");
    return false;
}
