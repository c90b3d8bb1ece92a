// The host's main streaming loop: one pass per call, in the order restart, audio and visibility, lock,
// display, pacing, frame, capture status, black recovery, encode and send, statistics.
#include <algorithm>
#include <utility>

#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/StateManagerTypes.h"
#include "media/FrameChecks.h"
#include "media/HostPipeline.h"
#include "media/SessionClock.h"

namespace {

constexpr uint32_t kForceBgraMs = 8000;
constexpr uint32_t kProbeMs = 500;
constexpr uint32_t kAudioRuleMs = 500;
constexpr uint32_t kLockedNoticeMs = 1000;
constexpr uint32_t kUnlockedNoticeMs = 2000;
constexpr uint32_t kFailLogMs = 2000;
constexpr uint32_t kFrameWaitMs = 100;
constexpr uint32_t kCaptureErrorLimit = 120;
constexpr uint32_t kSendFailureLimit = 60;
constexpr uint32_t kBlackMs = 1500;
constexpr uint32_t kNoFreshMs = 1000;
constexpr uint32_t kHiddenIdleMs = 1000;
constexpr uint32_t kStatMs = 1000;
constexpr uint32_t kStatQuietMs = 10000;

unsigned long Ul(uint32_t v) {
    return static_cast<unsigned long>(v);
}

int32_t ChannelValue(ChannelState state) {
    return static_cast<int32_t>(state);
}

} // namespace

uint32_t HostPipeline::ActiveInterval(const Build& build) const {
    const HostFrameSource source = build.secureSource ? HostFrameSource::Secure
                                   : m_viewHidden     ? HostFrameSource::Hidden
                                                      : HostFrameSource::Normal;
    const uint32_t active = build.gdi ? GdiFrameIntervalMs(m_video.fps) : build.lowBandwidth.activeFrameMs;
    return HostFrameIntervalMs(source, active);
}

HostPipeline::Step HostPipeline::StreamPass(Build& build) {
    Step step = TakeRestart(build, nullptr);
    if (step != Step::Continue)
        return step;
    if (TickRateLimit(m_audioTick, kAudioRuleMs))
        ApplyAudioAndVisibility(build, build.secureSource ? "SECURE_VIDEO" : build.path);
    if ((step = CheckLock(build)) != Step::Continue)
        return step;
    if (!build.secureSource && (step = CheckDisplay(build, false)) != Step::Continue)
        return step;
    if (!WaitUntilDue(build))
        return Step::Continue;

    bool fresh = false;
    if ((step = TakeFrame(build, fresh)) != Step::Continue)
        return step;
    if (!build.secureSource && (step = CheckCaptureStatus(build)) != Step::Continue)
        return step;

    const uint32_t now = m_clock.Now();
    if (build.hasCached && build.blackSince != 0 && now - build.blackSince >= kBlackMs &&
        now - build.lastFresh >= kNoFreshMs) {
        Log::Write(
            "Host black cached frame timeout, rebuild capture/encoder pipeline black_ms=%lu nofresh_ms=%lu",
            Ul(now - build.blackSince), Ul(now - build.lastFresh));
        m_forceBgraUntil = now + kForceBgraMs;
        m_env.SetChannelState(kChannelVideo, ChannelValue(ChannelState::Reconnecting),
                              "black frame recovery rebuild");
        return Step::Rebuild;
    }
    if (!build.hasCached)
        return Step::Continue;
    if (!fresh) {
        if (build.lowBandwidth.enable || m_viewHidden) {
            const uint32_t idle = m_viewHidden ? kHiddenIdleMs : build.lowBandwidth.idleFrameMs;
            if (now - build.lastSend < idle) {
                ++build.idleSkips;
                ReportStats(build);
                return Step::Continue;
            }
        } else {
            ++build.duplicates;
        }
    }
    if ((step = EncodeAndSend(build, "Host encoder failed, rebuild pipeline")) != Step::Continue)
        return step;
    ReportStats(build);
    return Step::Continue;
}

HostPipeline::Step HostPipeline::TakeRestart(Build& build, const char* gdiLine) {
    (void)build;
    if (!m_env.TakeRestartRequest())
        return Step::Continue;
    Log::Write("%s", gdiLine != nullptr
                         ? gdiLine
                         : "Host video restart request consumed, rebuild capture/encoder pipeline");
    if (gdiLine == nullptr)
        m_forceBgraUntil = m_clock.Now() + kForceBgraMs;
    m_env.SetChannelState(kChannelVideo, ChannelValue(ChannelState::Reconnecting),
                          "host video restart requested");
    return Step::Rebuild;
}

void HostPipeline::ApplyAudioAndVisibility(Build& build, const char* path) {
    const bool wanted = m_env.ControllerWantsAudio();
    const bool running = m_env.IsAudioSenderRunning();
    if (wanted && !running) {
        Log::Write("[AUDIO][HOST][REQUEST_APPLY] path=%s old=0 new=1 action=start-loopback peer=%s", path,
                   m_peerIp.c_str());
        m_env.SetChannelState(kChannelAudio, ChannelValue(ChannelState::Listening),
                              "controller requested audio");
        m_env.StartAudioSender(m_peerIp, m_config.audioPort);
    } else if (!wanted && running) {
        Log::Write("[AUDIO][HOST][REQUEST_APPLY] path=%s old=1 new=0 action=stop-loopback peer=%s", path,
                   m_peerIp.c_str());
        m_env.StopAudioSender();
        m_env.SetChannelState(kChannelAudio, ChannelValue(ChannelState::Disabled),
                              "controller disabled audio");
    }
    const bool hidden = m_env.ControllerViewHidden();
    if (hidden != m_viewHidden) {
        m_viewHidden = hidden;
        SetCadence(build);
        LogVisibilityPolicy(path);
    }
}

void HostPipeline::SetCadence(Build& build) {
    const uint32_t interval = m_viewHidden ? 1000 : 0;
    if (interval != m_cadenceMs) {
        Log::Write("[VIDEO][CAPTURE][CADENCE] interval_ms=%lu old_ms=%lu mode=%s", Ul(interval),
                   Ul(m_cadenceMs), m_viewHidden ? "THROTTLED" : "NORMAL");
        m_cadenceMs = interval;
    }
    if (build.duplicator)
        build.duplicator->SetCaptureInterval(m_cadenceMs);
}

void HostPipeline::LogVisibilityPolicy(const char* path) {
    Log::Write("[VIDEO][VISIBILITY][HOST_POLICY] path=%s hidden=%d video=%s audio=%s", path,
               m_viewHidden ? 1 : 0, m_viewHidden ? "HEARTBEAT_1FPS" : "NORMAL",
               m_env.IsAudioSenderRunning() ? "REALTIME" : "DISABLED_BY_CONTROLLER");
}

void HostPipeline::SendDesktopNotice(bool locked, const char* pathSuffix) {
    m_env.SendDesktopState(m_peerIp, locked);
    m_lastLocked = locked ? 1 : 0;
    m_lastNotice = m_clock.Now();
    Log::Write("Host desktop state notify locked=%d peer=%s%s", locked ? 1 : 0, m_peerIp.c_str(), pathSuffix);
}

HostPipeline::Step HostPipeline::CheckLock(Build& build) {
    if (!TickRateLimit(m_lockTick, kProbeMs))
        return Step::Continue;
    const bool locked = m_secure.IsActive();
    const uint32_t since = m_clock.Now() - m_lastNotice;
    if (m_lastLocked != (locked ? 1 : 0) || since >= (locked ? kLockedNoticeMs : kUnlockedNoticeMs))
        SendDesktopNotice(locked, "");

    if (locked && !build.secureSource) {
        m_secure.RequestWorkerFrame("in-session-lock-detect");
        if (build.duplicator)
            build.duplicator->StopCapture();
        EnterSecureSource(build);
        Log::Write(
            "[SECURE_VIDEO][ENTER] local Winlogon/secure desktop detected; keep session and switch capture "
            "source to SYSTEM worker peer=%s",
            m_peerIp.c_str());
        m_env.SetChannelState(kChannelVideo, ChannelValue(ChannelState::Connected),
                              "secure desktop SYSTEM worker video");
    } else if (!locked && build.secureSource) {
        Log::Write(
            "[SECURE_VIDEO][LEAVE] Default desktop restored; rebuild normal DDA pipeline without closing "
            "session peer=%s",
            m_peerIp.c_str());
        m_env.SetChannelState(kChannelVideo, ChannelValue(ChannelState::Reconnecting),
                              "default desktop restore rebuild");
        return Step::Rebuild;
    }
    return Step::Continue;
}

HostPipeline::Step HostPipeline::CheckDisplay(Build& build, bool gdi) {
    if (!TickRateLimit(m_displayTick, kProbeMs))
        return Step::Continue;
    std::string oldText, newText;
    if (!m_hasBaseline) {
        m_hasBaseline = m_display.TakeBaseline(newText);
        if (m_hasBaseline)
            Log::Write("[DISPLAY][HOST][BASELINE_LATE] %s", newText.c_str());
        else if (TickRateLimit(m_displayFailLog, kFailLogMs))
            Log::Write("[DISPLAY][HOST][PROBE_FAIL] display fingerprint query failed while controlled");
        return Step::Continue;
    }
    int32_t width = 0, height = 0;
    switch (m_display.Probe(oldText, newText, width, height)) {
    case IHostDisplayProbe::Result::Same:
        return Step::Continue;
    case IHostDisplayProbe::Result::Failed:
        if (TickRateLimit(m_displayFailLog, kFailLogMs))
            Log::Write("[DISPLAY][HOST][PROBE_FAIL] display fingerprint query failed while controlled");
        return Step::Continue;
    case IHostDisplayProbe::Result::Changed:
        break;
    }
    if (gdi)
        Log::Write(
            "[DISPLAY][HOST][CHANGE] detected in GDI fallback; stop video and wait controller reconnect "
            "old={%s} new={%s}",
            oldText.c_str(), newText.c_str());
    else
        Log::Write(
            "[DISPLAY][HOST][CHANGE] detected while controlled; stop video and wait controller reconnect "
            "old={%s} new={%s}",
            oldText.c_str(), newText.c_str());
    m_env.SetStreamSize(std::max(0, width) & ~1, std::max(0, height) & ~1);
    return EndForReconnect(build, "Display changed / waiting controller reconnect",
                           "Display changed; host video stopped for controller reconnect",
                           "display changed; host video stopped for controller reconnect",
                           "display changed; host session stopping");
}

bool HostPipeline::WaitUntilDue(Build& build) {
    const uint32_t now = m_clock.Now();
    const uint32_t remaining = build.pacer.RemainingMs(now);
    if (remaining == 0) {
        build.pacer.Advance(now, ActiveInterval(build));
        return true;
    }
    const HostFrameSource source = build.secureSource ? HostFrameSource::Secure
                                   : m_viewHidden     ? HostFrameSource::Hidden
                                                      : HostFrameSource::Normal;
    const uint32_t wait = HostFramePacer::WaitMs(source, remaining);
    if (source == HostFrameSource::Secure)
        m_secure.WaitFrameReady(wait);
    else
        m_clock.Wait(wait);
    return false;
}

HostPipeline::Step HostPipeline::TakeFrame(Build& build, bool& fresh) {
    HostFrame frame;
    if (build.secureSource)
        fresh = ReadSecureFrame(build, frame);
    else
        fresh = build.duplicator->LatestFrame(frame, kFrameWaitMs);
    if (!fresh)
        return Step::Continue;
    ++build.consumed;
    ++build.captured;
    const int32_t oldWidth = build.cached.width, oldHeight = build.cached.height;
    AcceptFrame(build, std::move(frame));
    if (build.cached.width == oldWidth && build.cached.height == oldHeight)
        return Step::Continue;
    Log::Write("Host resolution changed %dx%d -> %dx%d, rebuild encoder", oldWidth, oldHeight,
               build.cached.width, build.cached.height);
    return Step::Rebuild;
}

HostPipeline::Step HostPipeline::CheckCaptureStatus(Build& build) {
    const CaptureStatus status = build.duplicator->Status();
    if (status == CaptureStatus::AccessLost || status == CaptureStatus::DeviceLost)
        return ProbeAfterAccessLost(build, status);
    if (status != CaptureStatus::Failed) {
        build.captureErrors = 0;
        return Step::Continue;
    }
    ++build.captureErrors;
    if (TickRateLimit(m_captureErrorLog, kFailLogMs))
        Log::Write("Host capture error streak=%lu, pipeline still running", Ul(build.captureErrors));
    if (build.captureErrors < kCaptureErrorLimit)
        return Step::Continue;
    Log::Write("Host capture error streak exceeded limit, rebuild pipeline");
    return Step::Rebuild;
}

HostPipeline::Step HostPipeline::EncodeAndSend(Build& build, const char* encodeFailLine) {
    std::vector<uint8_t> encoded;
    const double start = NowMs();
    const bool ok = build.encoder && build.encoder->Encode(build.cached, encoded);
    const double took = NowMs() - start;
    if (!ok) {
        Log::Write("%s", encodeFailLine);
        return Step::Rebuild;
    }
    ++build.encoded;
    build.encodeTotalMs += took;
    build.encodeMaxMs = std::max(build.encodeMaxMs, took);
    if (encoded.empty())
        return Step::Continue;

    const bool sent = m_sender.IsConnected() &&
                      m_sender.SendFrame(encoded.data(), encoded.size(), m_frameId + 1, build.cached.width,
                                         build.cached.height, build.desktopWidth, build.desktopHeight,
                                         build.encoder->CodecFlag());
    if (sent) {
        ++m_frameId;
        ++build.sent;
        build.sentBytes += encoded.size();
        build.sendFailures = 0;
        build.lastSend = m_clock.Now();
        return Step::Continue;
    }
    ++build.sendFailures;
    ++build.lost;
    const bool gdi = build.gdi != nullptr;
    if (TickRateLimit(m_sendFailLog, kFailLogMs)) {
        if (gdi)
            Log::Write("[CAPTURE][FALLBACK][SEND_FAIL] streak=%lu", Ul(build.sendFailures));
        else
            Log::Write("Host TCP video send failure streak=%lu", Ul(build.sendFailures));
    }
    if (!m_sender.IsConnected()) {
        // The controller closed or reset the connection: sending on is pointless until it is made again.
        Log::Write(
            "[VIDEO][HOST][CONNECTION_LOST] video connection to peer=%s:%u lost; rebuild sender/pipeline",
            m_peerIp.c_str(), static_cast<unsigned>(m_config.videoPort));
        DropVideoConnection("video connection lost");
        return Step::Rebuild;
    }
    if (build.sendFailures < kSendFailureLimit)
        return Step::Continue;
    if (gdi)
        Log::Write("[CAPTURE][FALLBACK][SEND_FAIL_LIMIT] rebuild sender/pipeline");
    else
        Log::Write("Host TCP video send failure streak exceeded limit, rebuild sender/pipeline");
    DropVideoConnection("video send failures");
    return Step::Rebuild;
}

void HostPipeline::ReportStats(Build& build) {
    if (!TickRateLimit(m_statTick, kStatMs))
        return;
    const int32_t channelIn =
        ChannelValue(m_env.IsInputConnected() ? ChannelState::Connected : ChannelState::Listening);
    m_env.SetChannelState(kChannelInput, channelIn, nullptr);
    const bool audio = m_env.IsAudioSenderRunning();
    m_env.SetChannelState(kChannelAudio,
                          ChannelValue(audio ? ChannelState::Connected : ChannelState::Disabled), nullptr);
    const ChannelState clip = m_config.clipboardEnable == 0  ? ChannelState::Disabled
                              : m_env.IsClipboardConnected() ? ChannelState::Connected
                                                             : ChannelState::Listening;
    m_env.SetChannelState(kChannelClipboard, ChannelValue(clip), nullptr);

    const uint32_t captureFps = build.duplicator ? build.duplicator->CapturedFps() : build.captured;
    const unsigned long long kbps = build.sentBytes * 8 / 1000;
    m_env.SetVideoStats(static_cast<int32_t>(captureFps), static_cast<int32_t>(build.encoded),
                        static_cast<int32_t>(build.sent), static_cast<int32_t>(build.sentBytes / 1024));
    const std::string transfer = m_env.TransferTick();
    if (!transfer.empty())
        m_env.SetStatus(transfer.c_str(), false);

    const double average = build.encoded > 0 ? build.encodeTotalMs / build.encoded : 0.0;
    const char* audioWord = audio ? "REALTIME" : "DISABLED_BY_CONTROLLER";
    const bool verbose = Log::IsDebugCategoryEnabled("media");
    if (build.gdi) {
        if (verbose || LogThrottle::Allow("video.host.gdi.stat", kStatQuietMs))
            Log::Write("host stat path=GDI_FALLBACK codec=%s capture=%lu encode=%lu send=%lu send_kbps=%llu "
                       "encode_avg_ms=%.3f encode_max_ms=%.3f frameId=%lu size=%dx%d controller_hidden=%d "
                       "target_video_fps=%d audio=%s",
                       m_codec, Ul(build.captured), Ul(build.encoded), Ul(build.sent), kbps, average,
                       build.encodeMaxMs, Ul(m_frameId), build.cached.width, build.cached.height,
                       m_viewHidden ? 1 : 0, m_video.fps, audioWord);
    } else if (verbose || LogThrottle::Allow("video.host.main.stat", kStatQuietMs)) {
        Log::Write(
            "host stat codec=%s capture_async=%d consume=%lu duplicate=%lu idleSkip=%lu encode=%lu send=%lu "
            "send_kbps=%llu encode_avg_ms=%.3f encode_max_ms=%.3f lost=%lu frameId=%lu size=%dx%d low_bw=%d "
            "controller_hidden=%d target_video_fps=%d audio=%s secure_video=%d",
            m_codec, static_cast<int>(captureFps), Ul(build.consumed), Ul(build.duplicates),
            Ul(build.idleSkips), Ul(build.encoded), Ul(build.sent), kbps, average, build.encodeMaxMs,
            Ul(build.lost), Ul(m_frameId), build.cached.width, build.cached.height,
            build.lowBandwidth.enable ? 1 : 0, m_viewHidden ? 1 : 0, m_video.fps, audioWord,
            build.secureSource ? 1 : 0);
    }
    build.consumed = build.duplicates = build.idleSkips = build.encoded = build.sent = build.lost = 0;
    build.captured = 0;
    build.sentBytes = 0;
    build.encodeTotalMs = build.encodeMaxMs = 0;
}
