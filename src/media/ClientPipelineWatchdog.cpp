#include "core/Log.h"
#include "core/RuntimeState.h"
#include "media/ClientPipeline.h"

namespace {

unsigned long Ul(uint32_t v) {
    return static_cast<unsigned long>(v);
}

int Flag(bool value) {
    return value ? 1 : 0;
}

int32_t State(ProgramState state) {
    return static_cast<int32_t>(state);
}

} // namespace

ClientWatchdogFacts ClientPipeline::GatherFacts(std::string& newPeerIp) {
    ClientWatchdogFacts f;
    f.now = m_clock.Now();
    f.firstFrameSeen = m_firstFrame;
    f.lastFrameTick = m_lastFrame;
    f.blackStart = m_blackStart;
    f.devicePresent = m_env.IsDevicePresent();
    f.peerLost = m_env.IsSessionPeerLost();
    f.inputConnected = m_env.IsInputConnected();
    f.clipboardConnected = m_config.clipboardEnable != 0 && m_env.IsClipboardConnected();
    f.desktopStateLocked = m_env.DesktopLockState() == 1;
    f.remoteLocked = m_env.IsRemoteLocked();
    f.hidForced = m_env.IsHidForced();
    f.videoClosed = !m_receiver.HasConnection();
    f.stillCurrent = m_env.IsStillCurrent(m_peerIp);
    f.rendererRunning = m_renderer.IsRunning();
    f.hasH264Decoder = m_decoder && !m_decoder->IsTiles();
    if (f.devicePresent && !f.peerLost)
        f.peerIpChanged =
            m_env.ResolvePeerIpChange(m_peerIp, newPeerIp) && !newPeerIp.empty() && newPeerIp != m_peerIp;
    return f;
}

bool ClientPipeline::WatchdogPass() {
    std::string newPeerIp;
    const ClientWatchdogFacts facts = GatherFacts(newPeerIp);
    const bool hadLockMark = m_watch.lockMark != 0;
    const ClientWatchdogActions a = ClientWatchdogPass(facts, m_watch);

    if (a.exit == ClientWatchdogExit::DeviceMissing) {
        if (hadLockMark)
            m_env.SetRemoteLocked(false, "local authorized device removed");
        m_env.ReleaseHidFallback();
        Log::Write("[CLIENT][OFFLINE] local authorized device missing; exit client worker peer=%s",
                   m_peerIp.c_str());
        m_end = SessionRunEnd::Finished;
        return false;
    }
    if (a.exit == ClientWatchdogExit::PeerLost) {
        m_env.SetRemoteLocked(false, "peer offline");
        m_env.ReleaseHidFallback();
        m_env.SetStatus("Peer offline / waiting remote");
        m_env.SetErrorText("Peer offline / waiting remote");
        for (int channel : {kChannelVideo, kChannelInput, kChannelAudio, kChannelClipboard})
            m_env.SetChannelState(channel, ChannelState::Disconnected, "peer offline");
        Log::Write("[CLIENT][OFFLINE] session-owned peer offline; exit client worker peer=%s peerLost=%d "
                   "discoveryLost=%d",
                   m_peerIp.c_str(), Flag(facts.peerLost), Flag(m_env.IsNetworkPeerLost()));
        m_end = SessionRunEnd::PeerLost;
        return false;
    }

    ApplyLock(a);
    if (a.scheduleReconnect)
        m_env.ScheduleNoVideoReconnect(m_peerIp, m_env.PeerName(), a.silence);
    if (a.logCondition)
        Log::Write(
            "[VIDEO][WATCHDOG] condition recv_silence_ms=%lu black_ms=%lu remote_locked=%d locked_ms=%lu "
            "issued=%d input=%d clipboard=%d",
            Ul(a.silence), Ul(a.blackMs), Flag(a.locked), Ul(a.lockedMs), Flag(m_watch.issued),
            Flag(facts.inputConnected), Flag(facts.clipboardConnected));
    PublishDesktopSize();
    if (a.peerIpChange)
        ApplyPeerIpChange(newPeerIp);

    switch (a.phase) {
    case ClientWatchdogPhase::WaitingFirstFrame:
        m_env.SetChannelState(kChannelVideo, ChannelState::Connecting, "waiting first TCP video frame");
        if (a.handshakeRetry == ClientRetry::Sent) {
            SendControlRequest();
            m_env.SetStatus("Waiting first video frame; control request retried");
            Log::Write("Client handshake retry control request peer=%s waited_ms=%lu", m_peerIp.c_str(),
                       Ul(facts.now - m_runStart));
        } else if (a.handshakeRetry == ClientRetry::Suppressed) {
            LogRetrySuppressed("Client handshake retry suppressed peer=%s role=%d client=%d host=%d");
        }
        break;
    case ClientWatchdogPhase::Streaming:
        m_env.SetChannelState(kChannelVideo, ChannelState::Connected, nullptr);
        break;
    case ClientWatchdogPhase::SecureDesktop:
        m_env.SetProgramState(State(ProgramState::Controlling));
        m_env.SetStatus("Secure desktop video active");
        m_env.SetChannelState(kChannelVideo, ChannelState::Connected,
                              "secure desktop keep session connected");
        return true;
    case ClientWatchdogPhase::Stall:
        ApplyStall(a);
        break;
    }
    if (a.refresh)
        Refresh(a);
    return true;
}

void ClientPipeline::ApplyLock(const ClientWatchdogActions& a) {
    switch (a.lock) {
    case ClientLockChange::None:
        return;
    case ClientLockChange::MarkDesktop:
    case ClientLockChange::MarkSilence: {
        const bool desktop = a.lock == ClientLockChange::MarkDesktop;
        m_env.SetRemoteLocked(true,
                              desktop ? "remote desktop state locked" : "controller no video frames for 2s");
        m_env.ForceHidFallback();
        Log::Write("[LOCK][CLIENT] remote_locked=1 source=%s recv_silence_ms=%lu sideAlive=%d",
                   desktop ? "desktop-state" : "video-silence", Ul(a.silence), Flag(a.sideAlive));
        return;
    }
    case ClientLockChange::StickyDesktop:
        m_env.SetRemoteLocked(true, "remote desktop state locked sticky");
        m_env.ForceHidFallback();
        return;
    case ClientLockChange::Clear:
        m_env.SetRemoteLocked(false,
                              a.sideAlive ? "controller video packet resumed" : "peer side channels closed");
        m_env.ReleaseHidFallback();
        Log::Write("[LOCK][CLIENT] remote_locked=0 video/side-channel state recv_silence_ms=%lu sideAlive=%d",
                   Ul(a.silence), Flag(a.sideAlive));
        return;
    }
}

void ClientPipeline::SetClipboardChannel(ChannelState whenEnabled, const char* reason) {
    m_env.SetChannelState(kChannelClipboard,
                          m_config.clipboardEnable != 0 ? whenEnabled : ChannelState::Disabled, reason);
}

void ClientPipeline::SendControlRequest() {
    if (!m_peerIp.empty())
        m_env.SendControlRequest(m_peerIp);
}

void ClientPipeline::LogRetrySuppressed(const char* line) {
    Log::Write(line, m_peerIp.c_str(), static_cast<int>(RuntimeGetRole()), Flag(RuntimeIsClientRunning()),
               Flag(RuntimeIsHostRunning()));
}

void ClientPipeline::ApplyPeerIpChange(const std::string& newIp) {
    Log::Write("Client reconnect resolved peer IP change %s -> %s", m_peerIp.c_str(), newIp.c_str());
    m_peerIp = newIp;
    m_env.SetActivePeer(m_peerIp);
    m_env.SetStatus("Peer IP changed / reconnecting");
    m_env.SetChannelState(kChannelInput, ChannelState::Reconnecting, "peer IP changed");
    SetClipboardChannel(ChannelState::Reconnecting, "peer IP changed");
    Log::Write("[INPUT][SERVICE][START-CLIENT] host=%s port=%u", m_peerIp.c_str(),
               static_cast<unsigned>(m_config.inputPort));
    m_env.StartHidWorker();
    m_env.StartHidProbe("start-client-prewin");
    m_env.StartInputClient(m_peerIp, m_config.inputPort, false);
    if (m_config.clipboardEnable != 0)
        m_env.StartClipboardClient(m_peerIp, m_config.clipboardPort);
    SendControlRequest();
}

void ClientPipeline::StartRebind(const ClientWatchdogActions& a) {
    m_env.ResetDesktopLockState();
    m_env.SetRemoteLocked(false, "loginwindow video+input closed / Aqua rebind");
    m_env.ReleaseHidFallback();
    if (m_renderer.IsRunning())
        m_renderer.Stop();
    m_env.SetDesktopSize(0, 0);
    m_env.SetProgramState(State(ProgramState::Connecting));
    m_env.SetStatus("Mac login completed / reconnecting desktop");
    m_env.SetErrorText("LoginWindow ended / waiting Aqua desktop");
    m_env.SetChannelState(kChannelVideo, ChannelState::Reconnecting,
                          "loginwindow video peer closed / Aqua rebind");
    m_env.SetChannelState(kChannelInput, ChannelState::Reconnecting,
                          "loginwindow input peer closed / Aqua rebind");
    SetClipboardChannel(ChannelState::Reconnecting, "loginwindow-to-aqua session rebind");
    Log::Write("[SESSION][LOGINWINDOW_EXIT] video peer closed + input peer closed while remoteLocked; "
               "action=Aqua-rebind peer=%s recv_silence_ms=%lu clipboard=%d",
               m_peerIp.c_str(), Ul(a.silence), Flag(m_config.clipboardEnable != 0));
}

void ClientPipeline::ApplyStall(const ClientWatchdogActions& a) {
    const bool input = m_env.IsInputConnected();
    const bool clipboard = m_config.clipboardEnable != 0 && m_env.IsClipboardConnected();
    if (a.startRebind)
        StartRebind(a);
    if (a.rebindRetry) {
        SendControlRequest();
        Log::Write("[SESSION][REBIND] LoginWindow->Aqua CONTROL_REQUEST retry peer=%s elapsed_ms=%lu",
                   m_peerIp.c_str(), Ul(m_clock.Now() - m_watch.rebindStart));
    }
    if (a.hidRecovery) {
        // Offered while HID is forced; the packet goes out only on a TCP-ready input path, which needs the
        // force released in between by another thread. Otherwise the line says ok=0.
        const bool ok = m_env.IsInputTcpReady() && m_env.SendVideoRestartRequest();
        Log::Write("[HID][RECOVERY] request host video restart sinceVideoMs=%lu ok=%d", Ul(a.silence),
                   Flag(ok));
    }

    m_env.SetChannelState(kChannelVideo, ChannelState::Reconnecting,
                          a.blackStall ? "decoded black video for >1.5s"
                                       : "no TCP video frames after secure-transition grace");
    m_env.SetProgramState(State(ProgramState::Connecting));
    m_env.SetStatus(a.blackStall ? "Peer video stalled / reconnecting" : "Peer video lost / reconnecting");
    if (a.logStalled)
        Log::Write(
            "[VIDEO][WATCHDOG] detect stalled video recv_silence_ms=%lu black_ms=%lu issued=%d input=%d "
            "clipboard=%d",
            Ul(a.silence), Ul(a.blackMs), Flag(m_watch.issued), Flag(input), Flag(clipboard));

    if (a.persistent) {
        const char* reason = "peer disconnected / reconnecting";
        m_env.SetProgramState(State(ProgramState::Connecting));
        m_env.SetErrorText("Peer disconnected / reconnecting");
        m_env.SetStatus("Peer disconnected / reconnecting");
        m_env.SetChannelState(kChannelVideo, ChannelState::Reconnecting, reason);
        m_env.SetChannelState(kChannelInput, ChannelState::Reconnecting, reason);
        SetClipboardChannel(ChannelState::Reconnecting, reason);
        if (a.logPersistent)
            Log::Write("Client persistent reconnect: no video for %lu ms, input=%d clipboard=%d anySide=%d",
                       Ul(a.silence), Flag(input), Flag(clipboard), Flag(a.sideAlive));
    }

    if (a.offline) {
        m_env.SetStatus("Peer video offline / waiting recovery");
        m_env.SetErrorText("Peer video offline / waiting recovery");
        m_env.SetChannelState(kChannelVideo, ChannelState::Reconnecting, "waiting video heartbeat recovery");
        if (a.offlineRetry == ClientRetry::Sent) {
            SendControlRequest();
            if (a.logOfflineRetry)
                Log::Write("Client runtime recovery: no video for %lu ms, control request retried peer=%s",
                           Ul(a.silence), m_peerIp.c_str());
        } else if (a.offlineRetry == ClientRetry::Suppressed && a.logOfflineRetry) {
            LogRetrySuppressed("Client runtime recovery retry suppressed peer=%s role=%d client=%d host=%d");
        }
    }

    if (a.stopRenderer) {
        m_renderer.Stop();
        m_env.SetDesktopSize(0, 0);
    }
    if (a.releaseDecoder)
        ResetDecoder();
}

void ClientPipeline::Refresh(const ClientWatchdogActions& a) {
    const bool input = m_env.IsInputConnected();
    m_env.SetChannelState(kChannelInput, input ? ChannelState::Connected : ChannelState::Reconnecting,
                          nullptr);
    SetClipboardChannel(m_env.IsClipboardConnected() ? ChannelState::Connected : ChannelState::Reconnecting,
                        nullptr);
    if (m_config.audioEnable != 0) {
        const bool offline = m_firstFrame && a.silence > kClientQuietStallMs && !a.sideAlive;
        m_env.SetChannelState(kChannelAudio, offline ? ChannelState::Reconnecting : ChannelState::Connected,
                              offline ? "peer side channels offline" : nullptr);
    } else {
        m_env.SetChannelState(kChannelAudio, ChannelState::Disabled, nullptr);
    }

    const uint32_t kbps = static_cast<uint32_t>(m_receivedBytes / 1024);
    m_env.SetClientStats(static_cast<int32_t>(m_received), static_cast<int32_t>(m_decoded),
                         static_cast<int32_t>(kbps));
    const std::string transfer = m_env.TransferTick();
    if (!transfer.empty())
        m_env.SetStatus(transfer.c_str());
    Log::Write("client stat codec=%s recv=%lu decode=%lu render=%lu recv_kbps=%lu decode_avg_ms=%.3f "
               "decode_max_ms=%.3f stream=%dx%d total_recv=%llu total_decode=%llu total_render=%llu",
               m_tiles ? "ULTRA" : "H264", Ul(m_received), Ul(m_decoded), Ul(m_rendered), Ul(kbps),
               m_decoded > 0 ? m_decodeSumMs / m_decoded : 0.0, m_decodeMaxMs, m_streamWidth, m_streamHeight,
               static_cast<unsigned long long>(m_totalReceived),
               static_cast<unsigned long long>(m_totalDecoded),
               static_cast<unsigned long long>(m_totalRendered));
    m_received = m_decoded = m_rendered = 0;
    m_receivedBytes = 0;
    m_decodeSumMs = m_decodeMaxMs = 0;
}
