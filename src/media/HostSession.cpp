#include "media/HostSession.h"

#include <atomic>

#include "core/RuntimeState.h"
#include "core/StateManager.h"

namespace {
const char* const kExitReason = "HostSession exit";
} // namespace

const Session::Role HostSession::kRole{
    "HostSession",
    "HostSession::m_thread",
    "HostSession::m_thread(stale)",
    "HostSession::Stop",
    "host lifecycle",
    static_cast<int32_t>(RuntimeRole::Controlled),
    static_cast<int32_t>(ProgramState::HostStarting),
    true,
    &RuntimeSetHostRunning,
    &RuntimeIsClientRunning,
};

HostSession& HostSession::Instance() {
    static HostSession* session = new HostSession(SessionOwnership::Instance());
    return *session;
}

HostSession::HostSession(SessionOwnership& ownership) : Session(kRole, ownership) {}

void HostSession::StopAudio() {
    Services().StopAudioSender();
}

void HostSession::EndOwnedRun(SessionRunEnd end) {
    RuntimeSetHostVideoStats(0, 0, 0, 0);
    RuntimeSetClientVideoStats(0, 0, 0, 0);
    StopAudio();
    StopClipboardChannel("host session thread exit");
    StopInputChannel();

    if (!RuntimeIsClientRunning()) {
        RuntimeSetRole(RuntimeRole::None);
        RuntimeSetProgramState(ProgramState::Idle);
    }
    StateManager& state = RuntimeStateManager();
    // A run that stopped for the controller's reconnect leaves Video and Input Reconnecting, as it set them.
    const bool keepReconnecting = end == SessionRunEnd::StoppedForReconnect;
    for (int channel : {kChannelVideo, kChannelInput, kChannelAudio, kChannelClipboard}) {
        if (keepReconnecting && (channel == kChannelVideo || channel == kChannelInput))
            continue;
        state.SetChannelState(channel, ChannelState::Disconnected, kExitReason);
    }
    ClearRunningFlags();
}

void HostSession::FailOwnedRun() {
    RuntimeSetErrorText("Host TCP video sender init failed");
    RuntimeStateManager().SetChannelState(kChannelVideo, ChannelState::Error, "TCP video sender init failed");
    RuntimeSetProgramState(ProgramState::Error);
    RuntimeSetStatusMessageAndRepaint("Host: TCP video sender init failed. See log.");
    ClearRunningFlags();
    StopAudio();
    // The run started the clipboard host before it connected; nothing would stop it until the next session.
    StopClipboardChannel("host video connect failed");
    StopInputChannel();
}

namespace {
std::atomic<bool> g_hostVideoRestartRequested{false};
} // namespace

void RequestHostVideoRestart() {
    g_hostVideoRestartRequested.store(true);
}

bool TakeHostVideoRestartRequest() {
    return g_hostVideoRestartRequested.exchange(false);
}
