#include "media/ClientPipeline.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <utility>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "media/FrameChecks.h"
#include "media/VideoFrameHeader.h"

namespace {

constexpr uint32_t kFailureLogMs = 2000;
constexpr uint32_t kDecoderRetryMs = 100;
constexpr uint32_t kRendererRetryMs = 50;
constexpr uint32_t kStreakReset = 3;
constexpr uint32_t kSubmitResetMs = 1000;
constexpr uint32_t kBlackRestartMs = 1800;
constexpr uint32_t kBlackRestartIntervalMs = 2500;
constexpr uint32_t kHidKeepLogMs = 3000;
constexpr int32_t kDefaultHintWidth = 1920;
constexpr int32_t kDefaultHintHeight = 1080;
constexpr uint32_t kIdleWaitMs = 1;

// The "[HID][FORCE] video frame received" line shares one clock across session threads.
std::atomic<uint32_t> g_hidKeepLog{0};

bool HidKeepLogDue(uint32_t now) {
    uint32_t last = g_hidKeepLog.load();
    if (last != 0 && now - last <= kHidKeepLogMs)
        return false;
    return g_hidKeepLog.compare_exchange_strong(last, now != 0 ? now : 1);
}

unsigned long Ul(uint32_t v) {
    return static_cast<unsigned long>(v);
}

} // namespace

ClientPipeline::ClientPipeline(const ClientPipelinePorts& ports, std::string peerIp)
    : m_env(ports.env), m_clock(ports.clock), m_receiver(ports.receiver), m_decoders(ports.decoders),
      m_renderer(ports.renderer), m_peerIp(std::move(peerIp)) {}

SessionRunEnd ClientPipeline::Run() {
    m_config = m_env.Config();
    m_runStart = m_clock.Now();
    m_watch.retryClock = m_runStart;
    m_env.ResetQualitySwitch();
    m_env.SetProgramState(static_cast<int32_t>(ProgramState::Connecting));
    Log::Write("ClientSession thread start V2026.05.27.4 persistent reconnect");
    StartChannels();

    if (!m_receiver.Listen(m_config.videoPort)) {
        m_receiver.Close();
        // A listener closed by Stop is no failure of this session: the common end follows.
        return m_env.IsCurrent() ? SessionRunEnd::VideoFailed : SessionRunEnd::Finished;
    }
    Log::Write(
        "Client receiving TCP video on port=%u, decoding and rendering live, GPU NV12 renderer enabled",
        static_cast<unsigned>(m_config.videoPort));

    ClientVideoFrame frame;
    while (m_env.IsCurrent()) {
        if (m_receiver.Receive(frame))
            HandleFrame(frame);
        else
            m_clock.Wait(kIdleWaitMs);
        if (ClientClockDue(m_lastPass, m_clock.Now(), kClientWatchdogPassMs) && !WatchdogPass())
            break;
    }

    m_receiver.Close();
    if (m_decoder)
        m_decoder->EndStream();
    m_decoder.reset();
    return m_end;
}

void ClientPipeline::StartChannels() {
    m_env.ResetChannelStates();
    if (m_env.IsRemoteLocked())
        m_env.SetRemoteLocked(false, "ClientSession start");

    const bool audio = m_config.audioEnable != 0;
    const bool clipboard = m_config.clipboardEnable != 0;
    m_env.SetChannelState(kChannelVideo, ChannelState::Connecting, "waiting TCP video");
    m_env.SetChannelState(kChannelInput, ChannelState::Connecting, "connecting input TCP");
    m_env.SetChannelState(kChannelAudio, audio ? ChannelState::Connecting : ChannelState::Disabled,
                          audio ? "waiting audio UDP" : "audio disabled");
    m_env.SetChannelState(kChannelClipboard, clipboard ? ChannelState::Connecting : ChannelState::Disabled,
                          clipboard ? "connecting clipboard TCP" : "clipboard disabled");
    m_env.LogWindowDpi("Client render window startup");

    Log::Write("[INPUT][SERVICE][START-CLIENT] host=%s port=%u", m_peerIp.c_str(),
               static_cast<unsigned>(m_config.inputPort));
    m_env.StartHidWorker();
    m_env.StartHidProbe("start-client-prewin");
    m_env.StartInputClient(m_peerIp, m_config.inputPort, false);
    if (clipboard)
        m_env.StartClipboardClient(m_peerIp, m_config.clipboardPort);
    if (audio)
        m_env.StartAudioPlayer(m_config.audioPort);
}

bool ClientPipeline::SharedLogDue(uint32_t intervalMs) {
    return ClientClockDue(m_watch.sharedLogClock, m_clock.Now(), intervalMs);
}

void ClientPipeline::HandleFrame(const ClientVideoFrame& frame) {
    m_lastFrame = m_clock.Now();
    ++m_received;
    ++m_totalReceived;
    m_receivedBytes += frame.payload.size();
    if (m_watch.rebindPending) {
        Log::Write("[SESSION][LOGINWINDOW_EXIT] Aqua video attached; rebind complete peer=%s frame=%lu",
                   m_peerIp.c_str(), Ul(frame.frameId));
        m_watch.rebindPending = false;
    }
    TrackLockOnFrame(frame);
    m_lastVideoWidth = frame.videoWidth;
    m_lastVideoHeight = frame.videoHeight;
    m_lastDesktopWidth = frame.desktopWidth;
    m_lastDesktopHeight = frame.desktopHeight;
    PublishDesktopSize();
    if (!m_firstFrame) {
        m_firstFrame = true;
        m_env.SetChannelState(kChannelVideo, ChannelState::Connected, "first TCP video frame");
        m_env.SetControllerRole();
        m_env.SetStatus("Video packet received; waiting decoded frame");
    } else if (m_env.GetChannelState(kChannelVideo) != ChannelState::Connected) {
        m_env.SetChannelState(kChannelVideo, ChannelState::Connected, "TCP video resumed");
    }

    if (!PrepareDecoder(frame))
        return;
    ClientPicture picture;
    const double before = m_decodeSumMs;
    if (!DecodeFrame(frame, picture))
        return;
    const double decodeMs = m_decodeSumMs - before;
    if (!EnsureRenderer(picture) || !AcceptSubtype(picture))
        return;
    CheckBlack(picture);
    Submit(frame, picture, decodeMs);
}

void ClientPipeline::TrackLockOnFrame(const ClientVideoFrame& frame) {
    const uint32_t now = m_clock.Now();
    if (m_env.DesktopLockState() == 1) {
        if (m_watch.lockMark == 0)
            m_watch.lockMark = now != 0 ? now : 1;
        m_env.SetRemoteLocked(true, "peer desktop state locked");
        m_env.ForceHidFallback();
    } else if (m_watch.lockMark != 0) {
        m_watch.lockMark = 0;
        m_blackStart = 0;
        m_watch.issued = false;
        m_env.SetRemoteLocked(false, "controller video packet resumed");
        m_env.ReleaseHidFallback();
        m_env.SetProgramState(static_cast<int32_t>(ProgramState::Controlling));
        m_env.SetChannelState(kChannelVideo, ChannelState::Connected,
                              "normal desktop frame resumed after unlock");
        Log::Write("[LOCK][CLIENT] remote_locked=0 normal desktop frame resumed frameId=%lu",
                   Ul(frame.frameId));
    }
    if (m_env.IsHidForced() && HidKeepLogDue(now))
        Log::Write("[HID][FORCE] video frame received, keep HID fallback for secure desktop");
}

void ClientPipeline::PublishDesktopSize() {
    if (m_lastDesktopWidth > 0 && m_lastDesktopHeight > 0)
        m_env.SetDesktopSize(m_lastDesktopWidth, m_lastDesktopHeight);
    else if (m_lastVideoWidth > 0 && m_lastVideoHeight > 0)
        m_env.SetDesktopSize(m_lastVideoWidth, m_lastVideoHeight);
}

void ClientPipeline::ResetDecoder() {
    if (m_decoder)
        m_decoder->EndStream();
    m_decoder.reset();
}

bool ClientPipeline::PrepareDecoder(const ClientVideoFrame& frame) {
    const bool tiles = frame.codec == static_cast<uint32_t>(VideoCodecFlag::Tiles);
    const char* codec = VideoCodecName(frame.codec);
    if (std::strcmp(m_codec, codec) != 0) {
        Log::Write("[QUALITY][CLIENT] codec switch %s -> %s frame=%lu size=%dx%d", m_codec, codec,
                   Ul(frame.frameId), frame.videoWidth, frame.videoHeight);
        ResetDecoder();
        m_codec = codec;
        m_tiles = tiles;
    }
    if (frame.videoWidth != m_streamWidth || frame.videoHeight != m_streamHeight) {
        // The first frame only learns the size; a change later rebuilds the decoder.
        if (m_streamWidth != 0 || m_streamHeight != 0) {
            Log::Write(
                "Client stream size changed %dx%d -> %dx%d, rebuild decoder; RemoteView owns renderer reset",
                m_streamWidth, m_streamHeight, frame.videoWidth, frame.videoHeight);
            m_env.SetChannelState(kChannelVideo, ChannelState::Reconnecting, "stream size changed");
            ResetDecoder();
        }
        m_streamWidth = frame.videoWidth;
        m_streamHeight = frame.videoHeight;
        m_env.SetStreamSize(m_streamWidth, m_streamHeight);
    }
    if (m_decoder)
        return true;
    if (m_tiles) {
        m_decoder = m_decoders.CreateTiles();
    } else {
        const bool known = m_streamWidth > 0 && m_streamHeight > 0;
        m_decoder = m_decoders.CreateH264(known ? m_streamWidth : kDefaultHintWidth,
                                          known ? m_streamHeight : kDefaultHintHeight);
    }
    if (m_decoder)
        return true;
    m_env.SetErrorText("Client decoder init failed");
    Log::Write("Client decoder init failed streamHint=%dx%d; keep waiting for next frame", m_streamWidth,
               m_streamHeight);
    m_clock.Wait(kDecoderRetryMs);
    return false;
}

bool ClientPipeline::DecodeFrame(const ClientVideoFrame& frame, ClientPicture& picture) {
    double decodeMs = 0;
    const ClientDecodeStatus status = m_decoder->Decode(frame, picture, decodeMs);
    if (status == ClientDecodeStatus::Failed) {
        ++m_decodeStreak;
        if (SharedLogDue(kFailureLogMs))
            Log::Write("Client decoder failure streak=%lu frameId=%lu size=%zu; reset threshold=3",
                       Ul(m_decodeStreak), Ul(frame.frameId), frame.payload.size());
        if (m_decodeStreak >= kStreakReset) {
            m_env.SetChannelState(kChannelVideo, ChannelState::Reconnecting,
                                  "decoder reset after decode failures");
            m_env.SetStatus("Decoder reset / waiting next video frame");
            ResetDecoder();
            m_decodeStreak = 0;
        }
        return false;
    }
    m_decodeStreak = 0;
    if (status == ClientDecodeStatus::NeedMore)
        return false;
    ++m_decoded;
    ++m_totalDecoded;
    m_decodeSumMs += decodeMs;
    m_decodeMaxMs = std::max(m_decodeMaxMs, decodeMs);
    return true;
}

bool ClientPipeline::EnsureRenderer(const ClientPicture& picture) {
    if (m_renderer.IsRunning())
        return true;
    if (m_renderer.Start(picture.width, picture.height)) {
        m_rendererStreak = 0;
        return true;
    }
    ++m_rendererStreak;
    if (SharedLogDue(kFailureLogMs))
        Log::Write("Client renderer init failed %dx%d streak=%lu; keep session alive", picture.width,
                   picture.height, Ul(m_rendererStreak));
    m_env.SetChannelState(kChannelVideo, ChannelState::Reconnecting, "renderer init retry");
    m_env.SetStatus("Renderer init retry / waiting next video frame");
    m_clock.Wait(kRendererRetryMs);
    return false;
}

bool ClientPipeline::AcceptSubtype(const ClientPicture& picture) {
    if (m_tiles || picture.nv12) {
        m_subtypeStreak = 0;
        return true;
    }
    ++m_subtypeStreak;
    if (SharedLogDue(kFailureLogMs))
        Log::Write("Client decoded unsupported subtype for NV12-only renderer streak=%lu",
                   Ul(m_subtypeStreak));
    if (m_subtypeStreak >= kStreakReset) {
        m_env.SetChannelState(kChannelVideo, ChannelState::Reconnecting, "decoder output subtype reset");
        ResetDecoder();
        m_subtypeStreak = 0;
    }
    return false;
}

void ClientPipeline::CheckBlack(const ClientPicture& picture) {
    const uint32_t now = m_clock.Now();
    const bool black = m_tiles
                           ? IsBlackFrameBGRA(picture.pixels, picture.width, picture.height, picture.stride)
                           : IsBlackFrameLuma(picture.pixels, picture.width, picture.height);
    const bool locked = m_env.DesktopLockState() == 1 || m_env.IsRemoteLocked();
    if (black && !locked) {
        if (m_blackStart == 0)
            m_blackStart = now != 0 ? now : 1;
    } else {
        m_blackStart = 0;
        m_watch.issued = false;
    }
    if (m_tiles || m_blackStart == 0 || now - m_blackStart < kBlackRestartMs || !m_env.IsInputConnected())
        return;
    if (!ClientClockDue(m_watch.lastRestartRequest, now, kBlackRestartIntervalMs))
        return;
    const bool ok = m_env.IsInputTcpReady() && m_env.SendVideoRestartRequest();
    if (ClientClockDue(m_blackRecoveryLog, now, kFailureLogMs + 1))
        Log::Write(
            "[VIDEO][RECOVERY] decoded black frames persist; request host capture restart black_ms=%lu ok=%d",
            Ul(now - m_blackStart), ok ? 1 : 0);
}

void ClientPipeline::Submit(const ClientVideoFrame& frame, const ClientPicture& picture, double decodeMs) {
    int32_t visibleWidth = picture.width, visibleHeight = picture.height;
    bool ok = false;
    if (m_tiles) {
        ok = m_renderer.SubmitBgra(picture.pixels, picture.width, picture.height, visibleWidth, visibleHeight,
                                   picture.stride);
    } else {
        // The decoder's coded size is rounded up to its macroblocks; the renderer samples the stream's.
        if (frame.videoWidth > 0 && frame.videoHeight > 0) {
            visibleWidth = std::min(frame.videoWidth, picture.width);
            visibleHeight = std::min(frame.videoHeight, picture.height);
        }
        ok =
            m_renderer.SubmitNv12(picture.pixels, picture.width, picture.height, visibleWidth, visibleHeight);
    }
    if (!ok) {
        ++m_submitStreak;
        if (SharedLogDue(kFailureLogMs))
            Log::Write("Client renderer submit failed streak=%lu", Ul(m_submitStreak));
        if (m_submitStreak >= kStreakReset && ClientClockDue(m_submitReset, m_clock.Now(), kSubmitResetMs)) {
            m_env.SetChannelState(kChannelVideo, ChannelState::Reconnecting,
                                  "renderer reset after submit failures");
            m_env.SetStatus("Renderer reset / waiting next video frame");
            m_renderer.Stop();
            m_submitStreak = 0;
        }
        return;
    }
    m_submitStreak = 0;
    ++m_rendered;
    ++m_totalRendered;
    if (!m_firstSubmitted) {
        m_firstSubmitted = true;
        m_env.SetUnifiedState(SessionMode::Controller, "Remote video displayed");
        Log::Write("Client first decoded frame submitted codec=%s to RemoteView %dx%d visible=%dx%d "
                   "mjpeg_decode_ms=%.3f",
                   m_codec, picture.width, picture.height, visibleWidth, visibleHeight,
                   m_tiles ? decodeMs : 0.0);
    }
    m_env.ConfirmFrameMode(m_tiles);
}
