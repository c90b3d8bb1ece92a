#include <exception>
#include <utility>

#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StateManager.h"
#include "core/ThreadHelpers.h"
#include "media/ClientSession.h"

namespace {

constexpr const char* kThreadName = "ClientNoVideoReconnect";
constexpr const char* kReason = "no video packets for 2s";
constexpr int kAttempts = 3;
constexpr uint32_t kAttemptPauseMs = 250;

// Serialises the schedules: one runs at a time.
std::mutex g_scheduleMutex;

unsigned long Ul(uint32_t v) {
    return static_cast<unsigned long>(v);
}

bool JobIsCurrent(const ClientNoVideoReconnectJob& job) {
    return job.session->Services().IsDevicePresent() &&
           job.session->IsStillCurrent(job.generation, job.peerIp);
}

void SetClipboardReconnecting(const char* reason) {
    const bool enabled = ConfigService::Instance().GetSnapshot().clipboardEnable != 0;
    RuntimeStateManager().SetChannelState(
        kChannelClipboard, enabled ? ChannelState::Reconnecting : ChannelState::Disabled, reason);
}

} // namespace

void ClientSession::ScheduleNoVideoReconnect(ClientSession* session, uint32_t generationToServe,
                                             const std::string& peerIp, const std::string& peerName,
                                             uint32_t sinceVideoMs) {
    if (session == nullptr || peerIp.empty())
        return;
    std::lock_guard<std::mutex> lock(g_scheduleMutex);
    SessionServices& services = session->Services();
    const bool present = services.IsDevicePresent();
    if (!present || !session->IsStillCurrent(generationToServe, peerIp)) {
        Log::Write("[VIDEO][WATCHDOG] reconnect canceled before schedule peer=%s devicePresent=%d current=%d",
                   peerIp.c_str(), present ? 1 : 0, session->generation.load() == generationToServe ? 1 : 0);
        return;
    }
    auto job = std::make_unique<ClientNoVideoReconnectJob>();
    job->session = session;
    job->generation = generationToServe;
    job->peerIp = peerIp;
    job->peerName = peerName.empty() ? peerIp : peerName;
    job->sinceVideoMs = sinceVideoMs;
    job->reason = kReason;

    Log::Write("[VIDEO][WATCHDOG] schedule in-session reconnect peer=%s sinceVideoMs=%lu reason=%s",
               peerIp.c_str(), Ul(sinceVideoMs), kReason);
    RuntimeSetProgramState(ProgramState::Connecting);
    RuntimeSetStatusMessage("Remote video lost / requesting reconnect");
    RuntimeSetErrorText("Remote video lost / requesting reconnect");
    StateManager& state = RuntimeStateManager();
    state.SetChannelState(kChannelVideo, ChannelState::Reconnecting, kReason);
    if (!services.IsInputClientConnected())
        state.SetChannelState(kChannelInput, ChannelState::Reconnecting, kReason);
    SetClipboardReconnecting(kReason);

    ClientNoVideoReconnectJob* raw = job.release();
    try {
        services.StartDetachedThread(
            [raw] { NoVideoReconnectWorker(std::unique_ptr<ClientNoVideoReconnectJob>(raw)); });
    } catch (const std::exception& e) {
        delete raw;
        Log::Write("[VIDEO][WATCHDOG] reconnect thread create failed: %s", e.what());
    } catch (...) {
        delete raw;
        Log::Write("[VIDEO][WATCHDOG] reconnect thread create failed: unknown exception");
    }
}

void ClientSession::NoVideoReconnectWorker(std::unique_ptr<ClientNoVideoReconnectJob> job) {
    Log::Write("[THREAD][START] name=%s tid=%lu", kThreadName, Tid());
    const char* peer = job->peerIp.c_str();
    const unsigned long gen = Ul(job->generation);
    SessionServices& services = job->session->Services();
    const ConfigSnapshot config = ConfigService::Instance().GetSnapshot();

    if (!JobIsCurrent(*job)) {
        Log::Write("[VIDEO][WATCHDOG] reconnect worker canceled before begin peer=%s gen=%lu", peer, gen);
        LogThreadStop(kThreadName);
        return;
    }
    Log::Write(
        "[VIDEO][WATCHDOG] in-session reconnect begin peer=%s name=%s sinceVideoMs=%lu reason=%s gen=%lu",
        peer, job->peerName.c_str(), Ul(job->sinceVideoMs), job->reason.c_str(), gen);

    if (!JobIsCurrent(*job)) {
        LogThreadStop(kThreadName);
        return;
    }
    const char* inputReason = job->reason.empty() ? "input TCP forced reconnect" : job->reason.c_str();
    Log::Write("[INPUT][SERVICE][RESTART-CLIENT] host=%s port=%u reason=%s", peer,
               static_cast<unsigned>(config.inputPort), inputReason);
    StateManager& state = RuntimeStateManager();
    state.SetTcpInputConnected(false, "InputClientForcedRestart");
    state.SetChannelState(kChannelInput, ChannelState::Reconnecting, inputReason);
    services.StartHidWorker();
    services.StartHidProbe("restart-client-prewin");
    services.StartInputClient(job->peerIp, config.inputPort, true);

    if (config.clipboardEnable != 0 && JobIsCurrent(*job))
        services.RestartClipboardClient(job->peerIp, config.clipboardPort);

    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        if (!JobIsCurrent(*job)) {
            Log::Write("[VIDEO][WATCHDOG] reconnect worker canceled peer=%s gen=%lu step=%d", peer, gen,
                       attempt - 1);
            LogThreadStop(kThreadName);
            return;
        }
        services.SendControlRequest(job->peerIp);
        Log::Write("[VIDEO][WATCHDOG] control request resend #%d peer=%s", attempt, peer);
        services.Pause(kAttemptPauseMs);
    }

    if (JobIsCurrent(*job)) {
        RuntimeSetProgramState(ProgramState::Connecting);
        RuntimeSetStatusMessage("Remote video reconnect requested");
        Log::Write("[VIDEO][WATCHDOG] in-session reconnect requested peer=%s gen=%lu", peer, gen);
    } else {
        Log::Write("[VIDEO][WATCHDOG] reconnect worker canceled before publish peer=%s gen=%lu", peer, gen);
    }
    LogThreadStop(kThreadName);
}
