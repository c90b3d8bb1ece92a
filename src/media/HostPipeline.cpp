#include "media/HostPipeline.h"

#include <algorithm>
#include <utility>

#include "core/Log.h"
#include "core/StateManagerTypes.h"
#include "media/FrameChecks.h"
#include "media/FrameCrop.h"
#include "media/SessionClock.h"
#include "media/VideoColor.h"

namespace {

constexpr uint32_t kRestartPauseMs = 500;
constexpr uint32_t kRetryPauseMs = 1000;
constexpr uint32_t kFirstFrameMs = 1000;
constexpr uint32_t kFrameWaitMs = 100;
constexpr uint32_t kForceBgraMs = 8000;
constexpr uint32_t kAudioRuleMs = 500;
constexpr uint32_t kWaitSliceMs = 100;

unsigned long Ul(uint32_t v) {
    return static_cast<unsigned long>(v);
}

int32_t ChannelValue(ChannelState state) {
    return static_cast<int32_t>(state);
}

} // namespace

HostPipeline::HostPipeline(const HostPipelinePorts& ports, std::string peerIp)
    : m_env(ports.env), m_clock(ports.clock), m_sender(ports.sender), m_secure(ports.secure),
      m_display(ports.display), m_factory(ports.factory), m_peerIp(std::move(peerIp)) {}

bool HostPipeline::IsCurrent() {
    return m_env.IsCurrent();
}

void HostPipeline::WaitWhileCurrent(uint32_t ms) {
    while (ms > 0 && IsCurrent()) {
        const uint32_t slice = std::min(ms, kWaitSliceMs);
        m_clock.Wait(slice);
        ms -= slice;
    }
}

SessionRunEnd HostPipeline::Run() {
    m_config = m_env.Config();
    m_request = m_env.ControllerRequest();
    m_video = EffectiveHostVideo(m_request, m_config);
    m_viewHidden = m_request.viewHidden;
    Log::Write(
        "HostSession thread start V642.9 RuntimeRecovery peer=%s controller_req=%dx%d fps=%d bitrate=%d "
        "viewHidden=%d audio=%d effective=%dx%d fps=%d bitrate=%d",
        m_peerIp.c_str(), static_cast<int>(m_request.width), static_cast<int>(m_request.height),
        static_cast<int>(m_request.fps), static_cast<int>(m_request.bitrate), m_request.viewHidden ? 1 : 0,
        m_request.audio ? 1 : 0, m_video.maxWidth, m_video.maxHeight, m_video.fps, m_video.bitrate);
    m_env.SetUnifiedState(static_cast<int32_t>(SessionMode::ConnectingControlled), "Host thread starting");
    m_env.LogDesktopMetrics();

    if (!StartChannels() || !ConnectVideo())
        return SessionRunEnd::VideoFailed;
    TakeDisplayBaseline();

    for (uint32_t number = 1; IsCurrent(); ++number) {
        if (!BuildOnce(number))
            break;
    }
    m_sender.Shutdown();
    return m_end;
}

bool HostPipeline::StartChannels() {
    Log::Write("[INPUT][SERVICE][START-HOST] port=%u", static_cast<unsigned>(m_config.inputPort));
    m_env.StartInputHost(m_config.inputPort);

    if (m_config.clipboardEnable != 0) {
        const bool ok = m_env.StartClipboardHost(m_config.clipboardPort);
        m_env.SetChannelState(kChannelClipboard,
                              ChannelValue(ok ? ChannelState::Listening : ChannelState::Error),
                              ok ? "clipboard host listening" : "clipboard host start failed");
        Log::Write("[CLIP][SERVICE][HOST] port=%u ok=%d", static_cast<unsigned>(m_config.clipboardPort),
                   ok ? 1 : 0);
    }

    if (m_video.audio) {
        m_env.SetChannelState(kChannelAudio, ChannelValue(ChannelState::Listening),
                              "controller requested audio");
        m_env.StartAudioSender(m_peerIp, m_config.audioPort);
    } else {
        m_env.SetChannelState(kChannelAudio, ChannelValue(ChannelState::Disabled),
                              "controller did not request audio");
        Log::Write("[AUDIO][HOST][DISABLED] controller_req_audio=0 localAudio=%d skip AudioLoopbackSender",
                   m_config.audioEnable != 0 ? 1 : 0);
    }
    return true;
}

bool HostPipeline::ConnectVideo() {
    // The video stream carries this desktop: it goes to the controller this session serves, on the cable.
    if (!IsCableVideoAddress(m_peerIp) || !m_env.IsActivePeer(m_peerIp)) {
        Log::Write(
            "[VIDEO][HOST][REFUSED] peer=%s is not the active peer inside 10.0.0.0/8; no video connection",
            m_peerIp.c_str());
        return false;
    }
    return m_sender.Connect(m_peerIp, m_config.videoPort);
}

void HostPipeline::TakeDisplayBaseline() {
    std::string text;
    m_hasBaseline = m_display.TakeBaseline(text);
    if (m_hasBaseline)
        Log::Write("[DISPLAY][HOST][BASELINE] %s", text.c_str());
    else
        Log::Write(
            "[DISPLAY][HOST][BASELINE] query failed; display-change stop guard disabled until next valid "
            "probe");
}

bool HostPipeline::ReconnectVideo() {
    if (!m_dropSender && m_sender.IsConnected())
        return true;
    m_sender.Shutdown();
    m_dropSender = false;
    Log::Write("[VIDEO][HOST][RECONNECT] reconnect video peer=%s:%u", m_peerIp.c_str(),
               static_cast<unsigned>(m_config.videoPort));
    if (m_sender.Connect(m_peerIp, m_config.videoPort)) {
        Log::Write("[VIDEO][HOST][RECONNECT] video connection restored peer=%s:%u failures=%lu",
                   m_peerIp.c_str(), static_cast<unsigned>(m_config.videoPort), Ul(m_reconnectFailures));
        m_reconnectFailures = 0;
        return true;
    }
    ++m_reconnectFailures;
    // Keeps trying while the session is wanted: the controller's receiver listens again after its watchdog.
    m_env.SetChannelState(kChannelVideo, ChannelValue(ChannelState::Reconnecting), "video reconnect failed");
    Log::Write("[VIDEO][HOST][RECONNECT_FAIL] peer=%s:%u failures=%lu; retry in %lums", m_peerIp.c_str(),
               static_cast<unsigned>(m_config.videoPort), Ul(m_reconnectFailures), Ul(kRestartPauseMs));
    WaitWhileCurrent(kRestartPauseMs);
    return false;
}

void HostPipeline::DropVideoConnection(const char* reason) {
    m_dropSender = true;
    // Not streaming until the connection is made again: peer-loss detection must not take the session for
    // a live transport, or a controller that has gone for good would keep it open.
    m_env.SetUnifiedState(static_cast<int32_t>(SessionMode::ConnectingControlled), "Host video reconnecting");
    m_env.SetChannelState(kChannelVideo, ChannelValue(ChannelState::Reconnecting), reason);
}

bool HostPipeline::BuildOnce(uint32_t number) {
    m_ultra = m_env.ControllerRequest().ultra;
    m_codec = m_ultra ? "ULTRA" : "H264";
    m_env.SetStatus("Host: initializing capture/encoder...", false);
    Log::Write("Host pipeline rebuild #%u codec=%s resolution_policy=existing fps_policy=existing", number,
               m_codec);

    if (!ReconnectVideo())
        return true;

    switch (RunSecureStartup(m_ultra)) {
    case SecureStartup::StopSession:
        return false;
    case SecureStartup::NextBuild:
        return true;
    case SecureStartup::NotActive:
        break;
    }
    if (!IsCurrent())
        return false;

    Build build;
    build.lowBandwidth = ComputeHostLowBandwidth(m_video.fps, m_config);
    build.duplicator = m_factory.CreateDuplicator();
    if (!build.duplicator || !build.duplicator->Init()) {
        if (build.duplicator)
            build.duplicator->Shutdown();
        build.duplicator.reset();
        RunGdiFallback(build);
        return true;
    }
    build.duplicator->DesktopSize(build.desktopWidth, build.desktopHeight);

    if (!StartDuplication(build) || !WaitFirstFrame(build))
        return true;
    if (!CreateEncoder(build, build.cached.width, build.cached.height)) {
        m_env.SetStatus("Host: video encoder init failed. See log. Retrying...", true);
        build.duplicator->StopCapture();
        build.duplicator->Shutdown();
        WaitWhileCurrent(kRetryPauseMs);
        return true;
    }
    LogStreaming(build, build.path, "Host streaming video");
    const HostLowBandwidth& low = build.lowBandwidth;
    Log::Write(
        "V15 low bandwidth: enable=%d active_frame_ms=%lu idle_frame_ms=%lu idle_fps=%d idle_keepalive_ms=%d "
        "hidden_heartbeat_ms=%lu",
        low.enable ? 1 : 0, Ul(low.activeFrameMs), Ul(low.idleFrameMs), static_cast<int>(m_config.idleFps),
        static_cast<int>(m_config.idleKeepaliveMs), Ul(low.hiddenHeartbeatMs));

    build.pacer.Reset(m_clock.Now());
    build.lastSend = m_clock.Now();
    Step step = Step::Continue;
    while (step == Step::Continue && IsCurrent())
        step = StreamPass(build);
    if (step != Step::EndSession)
        RestartPause(build);
    return step != Step::EndSession;
}

bool HostPipeline::StartDuplication(Build& build) {
    const uint32_t now = m_clock.Now();
    const bool qualityForce = m_ultra; // the tile codec takes BGRA pictures only
    const bool envForce = [&] {
        const std::optional<std::string> value = m_env.Environment("TSLY_COLOR_FORCE_BGRA");
        return value.has_value() && IsEnvSwitchOn(value->c_str());
    }();
    const bool recoveryForce = m_forceBgraUntil != 0 && static_cast<int32_t>(m_forceBgraUntil - now) > 0;
    Log::Write(
        "[COLOR][HOST][PIPELINE-SELECT] codec=%s qualityForceBGRA=%d envForceBGRA=%d recoveryForceBGRA=%d "
        "maxVideo=%dx%d dupFormat=%s transfer=%s hdrDesktopActive=%d",
        m_codec, qualityForce ? 1 : 0, envForce ? 1 : 0, recoveryForce ? 1 : 0, m_video.maxWidth,
        m_video.maxHeight, "SDR_BT709_NV12", "BT709", 0);
    if (recoveryForce) {
        const uint32_t remain = m_forceBgraUntil - now;
        Log::Write("[COLOR][HOST][PIPELINE-SELECT] force BGRA/GDI capture path reason=%s remain_ms=%lu",
                   "secure-desktop-recovery", Ul(remain));
        Log::Write("Host secure-desktop recovery: force BGRA/GDI capture path remain_ms=%lu", Ul(remain));
    } else {
        m_forceBgraUntil = 0;
    }

    build.nv12 = !(qualityForce || envForce || recoveryForce) && build.duplicator->StartNV12();
    if (!build.nv12 && !build.duplicator->StartBGRA(m_video.maxWidth, m_video.maxHeight)) {
        Log::Write("Host no first frame, retry pipeline");
        build.duplicator->Shutdown();
        WaitWhileCurrent(kRestartPauseMs);
        return false;
    }
    build.path = build.nv12 ? "GPU_NV12_NATIVE" : "BGRA_CPU_NV12";
    m_viewHidden = m_env.ControllerViewHidden();
    SetCadence(build);
    LogVisibilityPolicy(build.path);
    return true;
}

bool HostPipeline::WaitFirstFrame(Build& build) {
    const uint32_t start = m_clock.Now();
    bool lost = false;
    HostFrame frame;
    bool got = false;
    while (IsCurrent() && m_clock.Now() - start < kFirstFrameMs) {
        if (TickRateLimit(m_audioTick, kAudioRuleMs))
            ApplyAudioAndVisibility(build, build.path);
        if (build.duplicator->LatestFrame(frame, kFrameWaitMs)) {
            got = true;
            break;
        }
        const CaptureStatus status = build.duplicator->Status();
        if (status == CaptureStatus::AccessLost || status == CaptureStatus::DeviceLost) {
            lost = true;
            break;
        }
    }
    if (lost) {
        Log::Write("Host first async frame capture lost, rebuild pipeline");
        if (!build.nv12) {
            std::unique_ptr<IHostGdiCapture> snapshot = m_factory.CreateGdiCapture();
            if (snapshot && snapshot->Snapshot(frame, m_video.maxWidth, m_video.maxHeight)) {
                Log::Write("Host first frame from GDI snapshot %dx%d", frame.width, frame.height);
                got = true;
            }
        }
    }
    if (got) {
        AcceptFrame(build, std::move(frame));
        return true;
    }
    if (!IsCurrent()) {
        Teardown(build);
        return false;
    }
    Log::Write("Host no first frame, retry pipeline");
    if (build.nv12) {
        m_forceBgraUntil = m_clock.Now() + kForceBgraMs;
        Log::Write("Host no first NV12 frame; force BGRA/GDI recovery path");
    }
    build.duplicator->StopCapture();
    build.duplicator->Shutdown();
    WaitWhileCurrent(kRestartPauseMs);
    return false;
}

void HostPipeline::AcceptFrame(Build& build, HostFrame&& frame) {
    if (!frame.nv12)
        CropEvenBGRA(frame.pixels, frame.width, frame.height);
    build.lastFresh = m_clock.Now();
    const bool black = frame.nv12 ? IsBlackFrameLuma(frame.pixels, frame.width, frame.height)
                                  : IsBlackFrameBGRA(frame.pixels, frame.width, frame.height);
    if (!black)
        build.blackSince = 0;
    else if (build.blackSince == 0)
        build.blackSince = std::max<uint32_t>(1, build.lastFresh);
    build.cached = std::move(frame);
    build.hasCached = true;
}

bool HostPipeline::CreateEncoder(Build& build, int32_t width, int32_t height) {
    build.encoder = m_factory.CreateEncoder(m_ultra);
    if (build.encoder && build.encoder->Init(width, height, m_video.fps, m_video.bitrate))
        return true;
    if (build.encoder)
        build.encoder->Shutdown();
    build.encoder.reset();
    return false;
}

void HostPipeline::LogStreaming(const Build& build, const char* path, const char* unifiedReason) {
    const int32_t width = build.cached.width, height = build.cached.height;
    m_env.SetStreamSize(width, height);
    m_env.SetDesktopSize(build.desktopWidth, build.desktopHeight);
    const unsigned port = m_config.videoPort;
    Log::Write(
        "[COLOR][HOST][STREAMING] peer=%s:%u enc=%dx%d desktop=%dx%d fps=%d bitrate=%d max_video=%dx%d "
        "path=%s format=%s transfer=%s bitDepth=%lu hdrFlags=0x%08lX isHdrDesktopActive=%d",
        m_peerIp.c_str(), port, width, height, build.desktopWidth, build.desktopHeight, m_video.fps,
        m_video.bitrate, m_video.maxWidth, m_video.maxHeight, path, "SDR_BT709_NV12", "BT709", 8ul,
        static_cast<unsigned long>(kVideoHdrFlagsBase), 0);
    if (build.duplicator)
        Log::Write(
            "Host streaming codec=%s TCP to %s:%u %dx%d native=%dx%d fps=%d bitrate=%d max_video=%dx%d "
            "path=%s V54",
            m_codec, m_peerIp.c_str(), port, width, height, build.desktopWidth, build.desktopHeight,
            m_video.fps, m_video.bitrate, m_video.maxWidth, m_video.maxHeight, path);
    m_env.SetUnifiedState(static_cast<int32_t>(SessionMode::Controlled), unifiedReason);
}

void HostPipeline::Teardown(Build& build) {
    m_secure.Close();
    if (build.encoder)
        build.encoder->Shutdown();
    build.encoder.reset();
    if (build.duplicator) {
        build.duplicator->StopCapture();
        build.duplicator->Shutdown();
    }
    build.duplicator.reset();
    if (build.gdi)
        build.gdi->Release();
    build.gdi.reset();
}

void HostPipeline::RestartPause(Build& build) {
    Teardown(build);
    if (!IsCurrent())
        return;
    Log::Write("Host pipeline will restart in 500ms");
    WaitWhileCurrent(kRestartPauseMs);
}

HostPipeline::Step HostPipeline::EndForReconnect(Build& build, const char* status, const char* error,
                                                 const char* videoReason, const char* inputReason) {
    m_env.SetStatus(status, false);
    m_env.SetErrorText(error);
    m_env.SetChannelState(kChannelVideo, ChannelValue(ChannelState::Reconnecting), videoReason);
    m_env.SetChannelState(kChannelInput, ChannelValue(ChannelState::Reconnecting), inputReason);
    m_env.StopSession();
    m_end = SessionRunEnd::StoppedForReconnect;
    Teardown(build);
    return Step::EndSession;
}
