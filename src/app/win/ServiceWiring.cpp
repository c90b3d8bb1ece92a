#include "app/win/ServiceWiring.h"

#include <atomic>

#include "app/AppLifecycle.h"
#include "app/CursorPathMonitorLifecycleModule.h"
#include "app/DiscoveryLifecycleModule.h"
#include "app/DragVisualLifecycleModule.h"
#include "app/MouseMonitorLifecycleModule.h"
#include "app/ScreenScaleMonitorLifecycleModule.h"
#include "app/FileTransferLifecycleModule.h"
#include "core/RuntimeState.h"
#include "core/win/RegistrySettingsPlatform.h"
#include "dragdrop/win/DragDrop.h"
#include "input/InputPacket.h"
#include "input/RemoteInputRoute.h"
#include "input/win/AsyncHidWorker.h"
#include "input/win/CursorPathMonitor.h"
#include "input/win/HidPresence.h"
#include "input/win/InputChannel.h"
#include "input/win/MouseMonitor.h"
#include "input/win/ScreenScaleMonitor.h"
#include "link/AutoConnect.h"
#include "link/AutoConnectProcessPorts.h"
#include "link/ControlHandler.h"
#include "link/ControlHandlerState.h"
#include "link/Discovery.h"
#include "link/DiscoveryReactions.h"
#include "link/DiscoveryService.h"
#include "link/KvmSessionHid.h"
#include "link/KvmSessionManager.h"
#include "link/SessionControllerServices.h"
#include "link/VideoSync.h"
#include "link/VideoSyncHandler.h"
#include "link/win/ControlSender.h"
#include "link/win/ControlServer.h"
#include "link/win/Win32SessionControllerServices.h"
#include "link/win/Win32VideoSyncPort.h"
#include "link/win/DevicePresenceService.h"
#include "link/win/DiscoveryProcess.h"
#include "link/win/RndisAdapterWin.h"
#include "media/ClientSession.h"
#include "media/ClientSessionRunBody.h"
#include "media/HostSession.h"
#include "media/HostSessionRunBody.h"
#include "media/SessionServices.h"
#include "media/win/AudioLoopbackSender.h"
#include "media/win/AudioUdpPlayer.h"
#include "media/win/ClientPlatformWin.h"
#include "media/win/HostPlatformWin.h"
#include "media/win/RemoteViewRenderer.h"
#include "transfer/win/ClipboardChannel.h"
#include "transfer/win/FileTransferService.h"
#include "ui/win/BlackCover.h"
#include "ui/win/TransferProgressView.h"

namespace {

class LinkDiscoveryReactions final : public IDiscoveryReactions {
public:
    void RunControlServer(const DiscoveryRun& run) override { Discovery::TcpControlServerLoop(run); }
    void RunVisibilitySync(const DiscoveryRun& run) override { Discovery::RunVisibilitySync(run); }
    void RunQualitySync(const DiscoveryRun& run) override { Discovery::RunQualitySync(run); }
    void WakeSyncWorkers() override { Discovery::WakeSyncWorkers(); }
    void MarkVisibilityUnconfirmed() override { Discovery::MarkVisibilityUnconfirmed(); }
    void WakeVisibilityWorker() override { Discovery::WakeVisibilityWorker(); }
    void ResetControlCaches() override { Discovery::ResetControlCaches(); }
    void HandleControlMessage(const std::string& senderIp, std::string_view message) override {
        Discovery::HandleControlMessage(senderIp, message);
    }
    bool IsActivePeer(const std::string& ip) override {
        return KvmSessionManager::Instance().IsActivePeer(ip);
    }
    void OnPeerLost() override { KvmSessionManager::Instance().OnPeerLost(); }
    bool IsInputChannelConnected() override { return InputChannel::Instance().IsConnected(); }
};

class LinkPresenceReactions final : public IDevicePresenceReactions {
public:
    void SessionDeviceInserted() override { KvmSessionManager::Instance().OnLocalDeviceInserted(); }
    void DiscoveryBroadcastNow() override { Discovery::Service().RequestBroadcastNow(); }
    void AutoConnectDevicePresent() override { AutoConnect::Instance().OnDevicePresence(true); }
    void SessionDeviceRemoved() override { KvmSessionManager::Instance().OnLocalDeviceRemoved(); }
    void DiscoveryClearPeerCache() override { Discovery::ClearPeerCacheForDeviceRemoval(); }
    void AutoConnectDeviceRemoved() override { AutoConnect::Instance().OnDevicePresence(false); }
    void WakeDeviceListWaiters() override { Discovery::Service().WakeDeviceListWaiters(); }
};

// What only the platform and the application know: the cable, its network and the lifecycle.
class LinkAutoConnectPorts final : public ProcessAutoConnectPorts {
public:
    AutoConnectAppFacts AppFacts() override {
        AutoConnectAppFacts facts = ProcessAutoConnectPorts::AppFacts();
        facts.shuttingDown = AppLifecycleIsShuttingDown();
        facts.lifecycleStarted = AppLifecycleIsStarted();
        return facts;
    }
    bool CablePresent() override { return DevicePresenceService::Presence().IsPresent(); }
    CableNetwork QueryCableNetwork() override { return ::QueryCableNetwork(); }
};

// The sessions are reached from here, above both link/ and media/, so neither area includes the other back.
class LinkSessionControllerServices final : public Win32SessionControllerServices {
public:
    bool StartHostSession(const std::string& ip) override { return HostSession::Instance().Start(ip); }
    void StopHostSession() override { HostSession::Instance().Stop(); }
    bool StartClientSession(const std::string& ip) override { return ClientSession::Instance().Start(ip); }
    void StopClientSession() override { ClientSession::Instance().Stop(); }
    void RequestHostVideoRestart() override { ::RequestHostVideoRestart(); }
    void StartHidWorker() override { AsyncHidWorker::Instance().Start(); }
    void StartHidProbe(const char* reason) override { StartHidProbeAsync(reason); }
    void CancelHidQueue(const char* reason) override { AsyncHidWorkerCancel(reason); }
    bool CachedHidState() override { return HidPresence::Cached() == 1; }
    bool IsAutoConnectIntentEnabled() override { return AutoConnect::Instance().IsIntentEnabled(); }
    void SuppressAutoConnect(uint32_t ms, const char* reason) override {
        AutoConnect::Instance().Suppress(ms, reason);
    }
    void SetAutoConnectIntent(bool enabled, const char* reason) override {
        AutoConnect::Instance().SetIntent(enabled, reason);
    }
    bool HandleVideoVisibility(const std::string& ip, std::string_view message, uint32_t& viewSeq) override {
        return Discovery::HandleVideoVisibility(ip, message, viewSeq);
    }
    bool HandleVideoQualityRequest(const std::string& ip, std::string_view message, uint32_t& qualitySeq,
                                   bool& ultra) override {
        return Discovery::HandleVideoQualityRequest(ip, message, qualitySeq, ultra);
    }
    void LocalVideoSyncState(bool& viewHidden, uint32_t& viewSeq, uint32_t& qualitySeq) override {
        Discovery::LocalVideoSyncState(viewHidden, viewSeq, qualitySeq);
    }
};

class LinkSessionServices final : public SessionServices {
public:
    HostVideoRequest ControllerVideoRequest() override {
        const ControlRequestParams stored = Discovery::GetControllerVideoRequest();
        HostVideoRequest request;
        request.width = stored.width;
        request.height = stored.height;
        request.fps = stored.fps;
        request.bitrate = stored.bitrate;
        request.viewHidden = stored.viewHidden != 0;
        request.audio = stored.audio != 0;
        request.ultra = stored.quality != 0;
        return request;
    }
    bool IsControllerViewHidden() override { return Discovery::IsControllerViewHidden(); }
    bool ControllerRequestedAudio() override { return Discovery::ControllerRequestedAudio(); }
    void NotifyDesktopState(const std::string& ip, bool locked) override {
        Discovery::NotifyDesktopState(ip, locked);
    }
    void SetActivePeer(const std::string& ip) override {
        KvmSessionManager::Instance().SetActivePeer(ip, "");
    }
    bool IsActivePeer(const std::string& ip) override {
        return KvmSessionManager::Instance().IsActivePeer(ip);
    }
    bool IsDevicePresent() override { return DevicePresenceService::Presence().IsPresent(); }
    void StopRenderer() override { RemoteViewStopRenderer(); }
    void RestoreClearTypeGuard(const char* reason) override {
        RegistrySettingsPlatform::Instance().ClearTypeGuard().Restore(reason);
    }

    // Controller session.
    void SendControlRequest(const std::string& ip) override {
        InstalledSessionControllerServices().SendControlRequest(ip);
    }
    int32_t DesktopLockState() override { return ControlHandlerState::Instance().desktop.Value(); }
    void ResetDesktopLockState() override { Discovery::ResetDesktopStateCache(); }
    bool ResolvePeerIpChange(const std::string& currentIp, std::string& newIp) override {
        return KvmSessionManager::Instance().ResolvePeerIpChange(currentIp, newIp);
    }
    bool IsInputTcpReady() override { return RemoteInputRoute().IsTcpReady(); }
    // Pictures are numbered from the start of each client session, for the quality sync's log lines.
    void ConfirmFrameMode(bool tiles) override {
        Discovery::OnQualityFrameConfirmed(tiles ? 1 : 0, m_framesShown.fetch_add(1) + 1);
    }
    void ResetQualitySwitch() override {
        m_framesShown.store(0);
        Discovery::ResetQualitySwitch();
    }

    // Remote sound: the sender on the controlled PC, the player on the controller.
    void StartAudioSender(const std::string& ip, uint16_t port) override {
        AudioLoopbackSender::Instance().Start(ip, port);
    }
    void StopAudioSender() override { AudioLoopbackSender::Instance().Stop(); }
    bool IsAudioSenderRunning() override { return AudioLoopbackSender::Instance().IsRunning(); }
    void StartAudioPlayer(uint16_t port) override { AudioUdpPlayer::Instance().Start(port); }
    void StopAudioPlayer() override { AudioUdpPlayer::Instance().Stop(); }

    // Clipboard channel: the host on the controlled PC, the client on the controller.
    bool IsClipboardRunning() override { return ClipboardChannel::Instance().IsRunning(); }
    bool IsClipboardConnected() override { return ClipboardChannel::Instance().IsConnected(); }
    void StopClipboardChannel() override { ClipboardChannel::Instance().Stop(); }
    bool StartClipboardHost(uint16_t port) override { return ClipboardChannel::Instance().StartHost(port); }
    void StartClipboardClient(const std::string& ip, uint16_t port) override {
        ClipboardService::StartClient(ip, port);
    }
    // A start stops the running client first, so the reconnect gets a fresh connection.
    void RestartClipboardClient(const std::string& ip, uint16_t port) override {
        ClipboardService::StartClient(ip, port);
    }
    std::string TransferWindowTick() override { return ::TransferWindowTick(); }

    // Input channel, both roles.
    void StartInputHost(uint16_t port) override { InputChannel::Instance().StartHost(port); }
    bool IsInputConnected() override { return InputChannel::Instance().IsConnected(); }
    void StopInputChannel() override { InputChannel::Instance().Stop(); }
    void CancelHidQueue(const char* reason) override { AsyncHidWorkerCancel(reason); }
    void StartInputClient(const std::string& ip, uint16_t port, bool force) override {
        InputChannel::Instance().StartClient(ip, port, force);
    }
    bool IsInputClientConnected() override { return InputChannel::Instance().IsConnected(); }
    bool SendVideoRestartRequest() override {
        return InputChannel::Instance().SendPriorityPacket(MakeInputPacket(
            InputPacketType::SystemKey, 0, 0, static_cast<int32_t>(SystemKeyCode::VideoRestart), 0));
    }
    void StartHidWorker() override { InstalledSessionControllerServices().StartHidWorker(); }
    void StartHidProbe(const char* reason) override {
        InstalledSessionControllerServices().StartHidProbe(reason);
    }
    void ForceHidFallback() override {
        ::ForceHidFallback(RuntimeStateManager(), InstalledSessionControllerServices());
    }
    void ReleaseHidFallback() override {
        ::ReleaseHidFallback(RuntimeStateManager(), InstalledSessionControllerServices());
    }

private:
    std::atomic<uint32_t> m_framesShown{0};
};

} // namespace

void ConnectLinkServices() {
    // All kept to process end: detached worker threads may still call them at exit.
    SetSessionControllerServices(new LinkSessionControllerServices());
    SetVideoSyncPort(new Win32VideoSyncPort);
    Discovery::SetReactions(new LinkDiscoveryReactions);
    DevicePresenceService::SetReactions(new LinkPresenceReactions);
    auto* sessionServices = new LinkSessionServices;
    HostSession::Instance().SetServices(sessionServices);
    ClientSession::Instance().SetServices(sessionServices);
    HostSession::Instance().SetRunBody(new HostSessionRunBody(Win32HostPlatform::Instance()));
    Win32ClientPlatform::Instance().SetRenderer(&RemoteViewRendererPort());
    ClientSession::Instance().SetRunBody(new ClientSessionRunBody(Win32ClientPlatform::Instance()));
    DiscoveryLifecycleModule::BindService(&Discovery::Start, &Discovery::Stop);
    FileTransferLifecycleModule::BindService(&FileTransferService::Start, &FileTransferService::Stop);
    AutoConnect::Instance().SetPorts(*new LinkAutoConnectPorts);
}

void ConnectDragServices() {
    MouseMonitorLifecycleModule::BindService(&MouseMonitor::Start, &MouseMonitor::Stop);
    ScreenScaleMonitorLifecycleModule::BindService(&ScreenScaleMonitor::Start, &ScreenScaleMonitor::Stop);
    CursorPathMonitorLifecycleModule::BindService(&CursorPathMonitor::Start, &CursorPathMonitor::Stop);
    DragVisualLifecycleModule::BindOverlayStop([] { DragVisualOverlay::Stop(); });
    InstallBlackCover();
}
