#include "media/ClientSession.h"

#include "core/RuntimeState.h"
#include "core/StateManager.h"
#include "media/ClientPipelinePorts.h"

namespace {
const char* const kExitReason = "ClientSession exit";
} // namespace

const Session::Role ClientSession::kRole{
    "ClientSession",
    "ClientSession::m_thread",
    "ClientSession::m_thread(stale)",
    "ClientSession::Stop",
    "client lifecycle",
    static_cast<int32_t>(RuntimeRole::Controller),
    static_cast<int32_t>(ProgramState::ClientStarting),
    false,
    &RuntimeSetClientRunning,
    &RuntimeIsHostRunning,
};

ClientSession& ClientSession::Instance() {
    static ClientSession* session = new ClientSession(SessionOwnership::Instance());
    return *session;
}

ClientSession::ClientSession(SessionOwnership& ownership) : Session(kRole, ownership) {}

bool ClientSession::IsStillCurrent(uint32_t generationToCheck, const std::string& peerIp) const {
    if (!IsSessionGenerationCurrent(this, generationToCheck))
        return false;
    SessionServices& services = Services();
    if (!services.IsDevicePresent() || peerIp.empty() || !services.IsActivePeer(peerIp))
        return false;
    return RuntimeGetRole() == static_cast<int32_t>(RuntimeRole::Controller) && RuntimeIsClientRunning() &&
           !RuntimeIsHostRunning();
}

void ClientSession::StopAudio() {
    Services().StopAudioPlayer();
}

void ClientSession::EndOwnedRun(SessionRunEnd end) {
    const bool peerLost = end == SessionRunEnd::PeerLost;
    StopAudio();
    StopClipboardChannel("client session thread exit");
    StopInputChannel();
    Services().ResetQualitySwitch();

    if (!RuntimeIsHostRunning()) {
        RuntimeSetRole(RuntimeRole::None);
        RuntimeSetProgramState(peerLost ? ProgramState::PeerLost : ProgramState::Idle);
    }
    Services().StopRenderer();
    RuntimeSetDesktopSize(0, 0);
    RuntimeSetStreamSize(0, 0);
    if (RuntimeSetKeyboardActive(false))
        RuntimeNotifyChanged();
    StateManager& state = RuntimeStateManager();
    state.SetRemoteLocked(false, kExitReason);
    state.SetChannelState(kChannelVideo, ChannelState::Disconnected, peerLost ? "peer lost" : kExitReason);
    for (int channel : {kChannelInput, kChannelAudio, kChannelClipboard})
        state.SetChannelState(channel, ChannelState::Disconnected, kExitReason);
    ClearRunningFlags();
}

void ClientSession::FailOwnedRun() {
    RuntimeSetErrorText("Client TCP video receiver init failed");
    RuntimeStateManager().SetChannelState(kChannelVideo, ChannelState::Error,
                                          "TCP video receiver init failed");
    RuntimeSetProgramState(ProgramState::Error);
    RuntimeSetStatusMessageAndRepaint("Client: TCP video receiver init failed. See log.");
    ClearRunningFlags();
    StopAudio();
    StopClipboardChannel("client video listen failed");
    StopInputChannel();
}

bool ClientSession::AttachVideoReceiver(uint32_t generationToCheck, IClientVideoReceiver* receiver) {
    std::lock_guard<std::mutex> lock(m_receiverMutex);
    // Stop clears `running` before it takes this mutex, so a receiver is either refused here or closed there.
    if (!IsSessionGenerationCurrent(this, generationToCheck))
        return false;
    m_receiver = receiver;
    return true;
}

void ClientSession::DetachVideoReceiver(IClientVideoReceiver* receiver) {
    std::lock_guard<std::mutex> lock(m_receiverMutex);
    if (m_receiver == receiver)
        m_receiver = nullptr;
}

void ClientSession::CloseVideo() {
    std::lock_guard<std::mutex> lock(m_receiverMutex);
    if (m_receiver != nullptr)
        m_receiver->Close();
    m_receiver = nullptr;
}
