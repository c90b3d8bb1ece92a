#include "media/HostSessionRunBody.h"

#include <cstdlib>

#include "core/ConfigService.h"
#include "core/RuntimeState.h"
#include "core/StateManager.h"
#include "media/HostPipeline.h"
#include "media/HostSession.h"
#include "media/Session.h"

namespace {

// The session's surroundings as the pipeline sees them: its generation, the control handling's request,
// the runtime state and the side channels of SessionServices.
class HostSessionEnvironment final : public IHostSessionEnvironment {
public:
    HostSessionEnvironment(const SessionThreadArg& arg, IHostPlatform& platform)
        : m_session(*arg.session), m_generation(arg.generation), m_services(arg.session->Services()),
          m_platform(platform) {}

    bool IsCurrent() override { return IsSessionGenerationCurrent(&m_session, m_generation); }
    void StopSession() override {
        // Only this thread's own session: a newer generation is not this run's to stop.
        if (m_session.generation.load() == m_generation)
            m_session.running.store(0);
    }
    ConfigSnapshot Config() override { return ConfigService::Instance().GetSnapshot(); }
    HostVideoRequest ControllerRequest() override { return m_services.ControllerVideoRequest(); }
    bool ControllerViewHidden() override { return m_services.IsControllerViewHidden(); }
    bool ControllerWantsAudio() override { return m_services.ControllerRequestedAudio(); }
    bool IsActivePeer(const std::string& ip) override { return m_services.IsActivePeer(ip); }
    bool TakeRestartRequest() override { return TakeHostVideoRestartRequest(); }
    std::optional<std::string> Environment(const char* name) override {
        const char* value = std::getenv(name);
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    }

    void SetUnifiedState(int32_t mode, const char* reason) override {
        RuntimeStateManager().SetUnifiedState(mode, reason);
    }
    void SetChannelState(int channel, int32_t state, const char* reason) override {
        RuntimeStateManager().SetChannelState(channel, state, reason);
    }
    void SetStatus(const char* text, bool repaint) override {
        if (repaint)
            RuntimeSetStatusMessageAndRepaint(text);
        else
            RuntimeSetStatusMessage(text);
    }
    void SetErrorText(const char* text) override { RuntimeSetErrorText(text); }
    void SetStreamSize(int32_t width, int32_t height) override {
        RuntimeSetStreamSize(static_cast<uint32_t>(width), static_cast<uint32_t>(height));
    }
    void SetDesktopSize(int32_t width, int32_t height) override {
        RuntimeSetDesktopSize(static_cast<uint32_t>(width), static_cast<uint32_t>(height));
    }
    void SetVideoStats(int32_t captureFps, int32_t encodeFps, int32_t sendFps, int32_t kbps) override {
        RuntimeSetHostVideoStats(captureFps, encodeFps, sendFps, kbps);
    }
    void LogDesktopMetrics() override { m_platform.LogDesktopMetrics(); }

    void StartInputHost(uint16_t port) override { m_services.StartInputHost(port); }
    bool IsInputConnected() override { return m_services.IsInputConnected(); }
    bool StartClipboardHost(uint16_t port) override {
        StateManager& state = RuntimeStateManager();
        state.SetClipboardBusy(true);
        const bool ok = m_services.StartClipboardHost(port);
        state.SetClipboardBusy(false);
        return ok;
    }
    bool IsClipboardConnected() override { return m_services.IsClipboardConnected(); }
    void StartAudioSender(const std::string& ip, uint16_t port) override {
        m_services.StartAudioSender(ip, port);
    }
    void StopAudioSender() override { m_services.StopAudioSender(); }
    bool IsAudioSenderRunning() override { return m_services.IsAudioSenderRunning(); }
    void SendDesktopState(const std::string& ip, bool locked) override {
        m_services.NotifyDesktopState(ip, locked);
    }
    std::string TransferTick() override { return m_services.TransferWindowTick(); }

private:
    Session& m_session;
    const uint32_t m_generation;
    SessionServices& m_services;
    IHostPlatform& m_platform;
};

} // namespace

SessionRunEnd HostSessionRunBody::Run(const SessionThreadArg& arg) {
    HostSessionEnvironment env(arg, m_platform);
    std::unique_ptr<IHostVideoSender> sender = m_platform.CreateVideoSender();
    std::unique_ptr<IHostSecureDesktop> secure = m_platform.CreateSecureDesktop();
    std::unique_ptr<IHostDisplayProbe> display = m_platform.CreateDisplayProbe();
    HostPipelinePorts ports{env, m_platform.Clock(), *sender, *secure, *display, m_platform.Factory()};
    HostPipeline pipeline(ports, arg.peerIp);
    return pipeline.Run();
}
