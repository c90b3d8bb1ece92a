#include "media/ClientSessionRunBody.h"

#include "core/ConfigService.h"
#include "core/RuntimeState.h"
#include "core/StateManager.h"
#include "media/ClientPipeline.h"
#include "media/ClientSession.h"
#include "media/HostVideoSettings.h"
#include "media/Session.h"

namespace {

// The session's surroundings as the pipeline sees them: its generation, the runtime state and state
// manager, and the side channels of SessionServices.
class ClientSessionEnvironment final : public IClientSessionEnvironment {
public:
    ClientSessionEnvironment(ClientSession& session, uint32_t generation)
        : m_session(session), m_generation(generation), m_services(session.Services()) {}

    bool IsCurrent() override { return IsSessionGenerationCurrent(&m_session, m_generation); }
    bool IsStillCurrent(const std::string& peerIp) override {
        return m_session.IsStillCurrent(m_generation, peerIp);
    }
    ConfigSnapshot Config() override { return ConfigService::Instance().GetSnapshot(); }
    bool IsDevicePresent() override { return m_services.IsDevicePresent(); }
    bool IsSessionPeerLost() override { return RuntimeStateManager().IsPeerLost(); }
    bool IsNetworkPeerLost() override { return RuntimeStateManager().IsNetworkPeerLost(); }
    bool ResolvePeerIpChange(const std::string& currentIp, std::string& newIp) override {
        return m_services.ResolvePeerIpChange(currentIp, newIp);
    }
    void SetActivePeer(const std::string& ip) override { m_services.SetActivePeer(ip); }
    std::string PeerName() override { return RuntimeMakeSnapshot().peerName; }
    void SendControlRequest(const std::string& ip) override { m_services.SendControlRequest(ip); }
    void ScheduleNoVideoReconnect(const std::string& peerIp, const std::string& peerName,
                                  uint32_t sinceVideoMs) override {
        ClientSession::ScheduleNoVideoReconnect(&m_session, m_generation, peerIp, peerName, sinceVideoMs);
    }

    int32_t DesktopLockState() override { return m_services.DesktopLockState(); }
    void ResetDesktopLockState() override { m_services.ResetDesktopLockState(); }
    bool IsRemoteLocked() override { return RuntimeStateManager().IsRemoteLocked(); }
    void SetRemoteLocked(bool locked, const char* reason) override {
        RuntimeStateManager().SetRemoteLocked(locked, reason);
    }
    bool IsHidForced() override { return RuntimeStateManager().IsHidForced(); }
    void ForceHidFallback() override { m_services.ForceHidFallback(); }
    void ReleaseHidFallback() override { m_services.ReleaseHidFallback(); }

    void SetProgramState(int32_t state) override { RuntimeSetProgramState(state); }
    void SetControllerRole() override { RuntimeSetRole(RuntimeRole::Controller); }
    void SetUnifiedState(SessionMode mode, const char* reason) override {
        RuntimeStateManager().SetUnifiedState(mode, reason);
    }
    void ResetChannelStates() override { RuntimeStateManager().ResetConnectionStates(); }
    void SetChannelState(int channel, ChannelState state, const char* reason) override {
        RuntimeStateManager().SetChannelState(channel, state, reason);
    }
    ChannelState GetChannelState(int channel) override {
        return static_cast<ChannelState>(RuntimeStateManager().GetChannelState(channel));
    }
    void SetStatus(const char* text) override { RuntimeSetStatusMessage(text); }
    void SetErrorText(const char* text) override { RuntimeSetErrorText(text); }
    void SetDesktopSize(int32_t width, int32_t height) override {
        RuntimeSetDesktopSize(static_cast<uint32_t>(width), static_cast<uint32_t>(height));
    }
    void SetStreamSize(int32_t width, int32_t height) override {
        RuntimeSetStreamSize(static_cast<uint32_t>(width), static_cast<uint32_t>(height));
    }
    void SetClientStats(int32_t receiveFps, int32_t decodeFps, int32_t kbps) override {
        // The render thread publishes the draw rate each second; keep it.
        RuntimeSetClientVideoStats(receiveFps, decodeFps, RuntimeMakeSnapshot().clientDrawFps, kbps);
    }
    void LogWindowDpi(const char* tag) override { m_services.LogWindowDpi(tag); }
    void ResetQualitySwitch() override { m_services.ResetQualitySwitch(); }
    void ConfirmFrameMode(bool tiles) override { m_services.ConfirmFrameMode(tiles); }
    std::string TransferTick() override { return m_services.TransferWindowTick(); }

    void StartInputClient(const std::string& ip, uint16_t port, bool force) override {
        m_services.StartInputClient(ip, port, force);
    }
    bool IsInputConnected() override { return m_services.IsInputClientConnected(); }
    bool IsInputTcpReady() override { return m_services.IsInputTcpReady(); }
    bool SendVideoRestartRequest() override { return m_services.SendVideoRestartRequest(); }
    void StartHidWorker() override { m_services.StartHidWorker(); }
    void StartHidProbe(const char* reason) override { m_services.StartHidProbe(reason); }
    void StartClipboardClient(const std::string& ip, uint16_t port) override {
        StateManager& state = RuntimeStateManager();
        state.SetClipboardBusy(true);
        m_services.StartClipboardClient(ip, port);
        state.SetClipboardBusy(false);
    }
    bool IsClipboardConnected() override { return m_services.IsClipboardConnected(); }
    void StartAudioPlayer(uint16_t port) override { m_services.StartAudioPlayer(port); }

private:
    ClientSession& m_session;
    const uint32_t m_generation;
    SessionServices& m_services;
};

} // namespace

SessionRunEnd ClientSessionRunBody::Run(const SessionThreadArg& arg) {
    // Only the controller's session runs this body.
    auto& session = static_cast<ClientSession&>(*arg.session);
    ClientSessionEnvironment env(session, arg.generation);
    SessionServices& services = session.Services();
    std::unique_ptr<IClientVideoReceiver> receiver = m_platform.CreateVideoReceiver(
        [&services](const std::string& ip) { return IsCableVideoAddress(ip) && services.IsActivePeer(ip); });
    if (!session.AttachVideoReceiver(arg.generation, receiver.get()))
        return SessionRunEnd::Finished; // stopped before it began
    ClientPipelinePorts ports{env, m_platform.Clock(), *receiver, m_platform.Decoders(),
                              m_platform.Renderer()};
    ClientPipeline pipeline(ports, arg.peerIp);
    SessionRunEnd end = SessionRunEnd::Finished;
    try {
        end = pipeline.Run();
    } catch (...) {
        session.DetachVideoReceiver(receiver.get());
        throw;
    }
    session.DetachVideoReceiver(receiver.get());
    return end;
}
