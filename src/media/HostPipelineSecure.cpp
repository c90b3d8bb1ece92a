// The secure desktop (logon, lock and elevation screens): the service publishes its frames, the host encodes
// and sends them over the same connection, and returns to desktop duplication once it is unlocked.
#include <algorithm>
#include <utility>

#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/StateManagerTypes.h"
#include "media/HostPipeline.h"
#include "media/SessionClock.h"

namespace {

constexpr uint32_t kAccessLostProbeMs = 1200;
constexpr uint32_t kFrameReadyWaitMs = 100;
constexpr uint32_t kAudioRuleMs = 500;
constexpr uint32_t kLockRecheckMs = 250;
constexpr uint32_t kLockedNoticeMs = 1000;
constexpr uint32_t kWaitLogMs = 2000;
constexpr uint32_t kEncoderRetryMs = 500;
constexpr uint32_t kStatMs = 1000;
constexpr uint32_t kStatQuietMs = 10000;
constexpr int32_t kFallbackWidth = 1920;
constexpr int32_t kFallbackHeight = 1080;

unsigned long Ul(uint32_t v) {
    return static_cast<unsigned long>(v);
}

int32_t ChannelValue(ChannelState state) {
    return static_cast<int32_t>(state);
}

// The source fitted into a maximum (0: none), keeping its aspect, made even and at least 2.
void FitInto(int32_t& width, int32_t& height, int32_t maxWidth, int32_t maxHeight) {
    if (maxWidth >= 1 && maxHeight >= 1 && (width > maxWidth || height > maxHeight)) {
        const double scale =
            std::min(static_cast<double>(maxWidth) / width, static_cast<double>(maxHeight) / height);
        width = static_cast<int32_t>(width * scale);
        height = static_cast<int32_t>(height * scale);
    }
    width = std::max(2, width & ~1);
    height = std::max(2, height & ~1);
}

} // namespace

void HostPipeline::EnterSecureSource(Build& build) {
    // The encoder and the connection stay: the secure frames come at the size already streamed.
    if (build.hasCached)
        m_secure.SetFrameSize(build.cached.width, build.cached.height);
    build.secureSource = true;
    build.pacer.Reset(m_clock.Now());
    m_env.SetStatus("Secure desktop video active / hardware HID control", false);
}

bool HostPipeline::ReadSecureFrame(Build& build, HostFrame& frame) {
    uint64_t sequence = 0;
    if (m_secure.ReadFreshFrame(frame, sequence) && sequence != build.lastSecureSequence) {
        build.lastSecureSequence = sequence;
        Log::Write("[SECURE_VIDEO][FRAME] shared Winlogon frame=%llu size=%dx%d",
                   static_cast<unsigned long long>(sequence), frame.width, frame.height);
        return true;
    }
    if (TickRateLimit(m_secureWaitLog, kWaitLogMs))
        Log::Write("[SECURE_VIDEO][WAIT] no fresh SYSTEM worker frame yet mapping=%s event=%s",
                   m_secure.MappingName().c_str(), m_secure.EventName().c_str());
    return false;
}

HostPipeline::Step HostPipeline::ProbeAfterAccessLost(Build& build, CaptureStatus status) {
    Log::Write(
        "[SECURE_VIDEO][ACCESS_LOST_PROBE] normal DDA lost status=%d; wait up to 1200ms for SYSTEM worker "
        "frame",
        static_cast<int>(status));
    if (m_secure.IsActive())
        m_secure.RequestWorkerFrame("dda-access-lost-secure");
    build.duplicator->StopCapture();

    if (build.hasCached)
        m_secure.SetFrameSize(build.cached.width, build.cached.height);
    const uint32_t start = m_clock.Now();
    HostFrame frame;
    uint64_t sequence = 0;
    bool found = false;
    while (IsCurrent() && m_clock.Now() - start < kAccessLostProbeMs) {
        m_secure.WaitFrameReady(kFrameReadyWaitMs);
        if (m_secure.ReadFreshFrame(frame, sequence) && sequence != build.lastSecureSequence) {
            found = true;
            break;
        }
    }
    if (!found) {
        Log::Write(
            "[SECURE_VIDEO][ACCESS_LOST_MISS] no fresh V2 frame within 1200ms; use existing pipeline rebuild "
            "recovery");
        return Step::Rebuild;
    }
    build.lastSecureSequence = sequence;
    EnterSecureSource(build);
    SendDesktopNotice(true, "");
    m_env.SetChannelState(kChannelVideo, ChannelValue(ChannelState::Connected),
                          "secure desktop V2 frame after DDA access lost");
    Log::Write(
        "[SECURE_VIDEO][ENTER_BY_ACCESS_LOST] V2 frame=%llu size=%dx%d; keep encoder and network session "
        "peer=%s",
        static_cast<unsigned long long>(sequence), frame.width, frame.height, m_peerIp.c_str());
    const int32_t oldWidth = build.cached.width, oldHeight = build.cached.height;
    AcceptFrame(build, std::move(frame));
    if (build.cached.width != oldWidth || build.cached.height != oldHeight) {
        Log::Write("Host resolution changed %dx%d -> %dx%d, rebuild encoder", oldWidth, oldHeight,
                   build.cached.width, build.cached.height);
        return Step::Rebuild;
    }
    return Step::Continue;
}

HostPipeline::SecureStartup HostPipeline::RunSecureStartup(bool ultra) {
    if (!m_secure.IsActive())
        return SecureStartup::NotActive;

    int32_t sourceWidth = m_video.maxWidth, sourceHeight = m_video.maxHeight;
    if (sourceWidth < 1 || sourceHeight < 1) {
        if (!m_display.PrimarySize(sourceWidth, sourceHeight) || sourceWidth < 1 || sourceHeight < 1) {
            sourceWidth = kFallbackWidth;
            sourceHeight = kFallbackHeight;
        }
    }
    int32_t targetWidth = sourceWidth, targetHeight = sourceHeight;
    FitInto(targetWidth, targetHeight, m_video.maxWidth, m_video.maxHeight);
    Log::Write("[SECURE_VIDEO][STARTUP_DETECT] locked=1 peer=%s source=%dx%d target=%dx%d mapping=%s",
               m_peerIp.c_str(), sourceWidth, sourceHeight, targetWidth, targetHeight,
               m_secure.MappingName().c_str());
    m_secure.SetFrameSize(targetWidth, targetHeight);
    m_secure.RequestWorkerFrame("secure-startup-detect");
    m_env.SetStatus("Waiting secure desktop video / hardware HID control", false);
    m_env.SetChannelState(kChannelVideo, ChannelValue(ChannelState::Connecting),
                          "waiting secure desktop SYSTEM worker frame");

    Build build;
    build.secureSource = true;
    build.path = "SECURE_STARTUP_BGRA";
    build.desktopWidth = sourceWidth;
    build.desktopHeight = sourceHeight;
    uint32_t lockTick = 0, statTick = 0, waitLogTick = 0;
    bool locked = true;
    SecureStartup result = SecureStartup::NextBuild;
    while (IsCurrent()) {
        if (TickRateLimit(m_audioTick, kAudioRuleMs))
            ApplyAudioAndVisibility(build, build.path);
        if (TickRateLimit(lockTick, kLockRecheckMs)) {
            locked = m_secure.IsActive();
            if (locked && m_clock.Now() - m_lastNotice >= kLockedNoticeMs)
                SendDesktopNotice(true, "");
        }
        if (!locked) {
            Log::Write("[SECURE_VIDEO][UNLOCK_REBUILD] startup secure stream exit; rebuild normal DDA "
                       "without closing "
                       "session peer=%s",
                       m_peerIp.c_str());
            m_env.SetChannelState(kChannelVideo, ChannelValue(ChannelState::Reconnecting),
                                  "secure startup unlocked; rebuild normal DDA");
            break;
        }
        if (m_env.TakeRestartRequest() || m_env.ControllerRequest().ultra != ultra) {
            Log::Write("[QUALITY][SECURE_STARTUP] quality mode changed; rebuild video codec");
            break;
        }

        m_secure.WaitFrameReady(kFrameReadyWaitMs);
        HostFrame frame;
        uint64_t sequence = 0;
        if (!m_secure.ReadFreshFrame(frame, sequence) || sequence == build.lastSecureSequence) {
            if (TickRateLimit(waitLogTick, kWaitLogMs)) {
                Log::Write(
                    "[SECURE_VIDEO][STARTUP_WAIT] no fresh SYSTEM worker frame yet mapping=%s event=%s "
                    "peer=%s",
                    m_secure.MappingName().c_str(), m_secure.EventName().c_str(), m_peerIp.c_str());
                m_secure.RequestWorkerFrame("secure-startup-wait");
            }
            continue;
        }
        build.lastSecureSequence = sequence;
        const int32_t oldWidth = build.cached.width, oldHeight = build.cached.height;
        AcceptFrame(build, std::move(frame));
        ++build.captured;
        if (build.encoder && (build.cached.width != oldWidth || build.cached.height != oldHeight)) {
            build.encoder->Shutdown();
            build.encoder.reset();
        }
        if (!build.encoder) {
            if (!CreateEncoder(build, build.cached.width, build.cached.height)) {
                Log::Write("[SECURE_VIDEO][STARTUP_ENCODER_FAIL] size=%dx%d; retry while locked",
                           build.cached.width, build.cached.height);
                WaitWhileCurrent(kEncoderRetryMs);
                continue;
            }
            Log::Write("[SECURE_VIDEO][STARTUP_ENTER] frame=%llu source=%dx%d stream=%dx%d peer=%s",
                       static_cast<unsigned long long>(sequence), sourceWidth, sourceHeight,
                       build.cached.width, build.cached.height, m_peerIp.c_str());
            m_env.SetStreamSize(build.cached.width, build.cached.height);
            m_env.SetDesktopSize(sourceWidth, sourceHeight);
            m_env.SetUnifiedState(static_cast<int32_t>(SessionMode::Controlled),
                                  "Host streaming secure desktop video at startup");
            m_env.SetChannelState(kChannelVideo, ChannelValue(ChannelState::Connected),
                                  "secure desktop startup SYSTEM worker video");
            m_env.SetStatus("Secure desktop video active / hardware HID control", false);
        }

        std::vector<uint8_t> encoded;
        const double start = NowMs();
        if (!build.encoder->Encode(build.cached, encoded)) {
            Log::Write("[SECURE_VIDEO][STARTUP_ENCODE_FAIL] rebuild secure encoder size=%dx%d",
                       build.cached.width, build.cached.height);
            build.encoder->Shutdown();
            build.encoder.reset();
            continue;
        }
        const double took = NowMs() - start;
        ++build.encoded;
        build.encodeTotalMs += took;
        build.encodeMaxMs = std::max(build.encodeMaxMs, took);
        if (!encoded.empty()) {
            if (!m_sender.IsConnected() ||
                !m_sender.SendFrame(encoded.data(), encoded.size(), m_frameId + 1, build.cached.width,
                                    build.cached.height, sourceWidth, sourceHeight,
                                    build.encoder->CodecFlag())) {
                Log::Write("[SECURE_VIDEO][STARTUP_SEND_FAIL] peer=%s; stop host session", m_peerIp.c_str());
                result = SecureStartup::StopSession;
                break;
            }
            ++m_frameId;
            ++build.sent;
            build.sentBytes += encoded.size();
        }

        if (TickRateLimit(statTick, kStatMs)) {
            m_env.SetVideoStats(static_cast<int32_t>(build.captured), static_cast<int32_t>(build.encoded),
                                static_cast<int32_t>(build.sent),
                                static_cast<int32_t>(build.sentBytes / 1024));
            if (Log::IsDebugCategoryEnabled("media") ||
                LogThrottle::Allow("video.host.secure.stat", kStatQuietMs))
                Log::Write("host stat path=SECURE_STARTUP_BGRA codec=%s capture=%lu encode=%lu send=%lu "
                           "send_kbps=%llu "
                           "encode_avg_ms=%.3f encode_max_ms=%.3f frame=%llu size=%dx%d target_video_fps=%d "
                           "audio=%s",
                           m_codec, Ul(build.captured), Ul(build.encoded), Ul(build.sent),
                           static_cast<unsigned long long>(build.sentBytes * 8 / 1000),
                           build.encoded > 0 ? build.encodeTotalMs / build.encoded : 0.0, build.encodeMaxMs,
                           static_cast<unsigned long long>(sequence), build.cached.width, build.cached.height,
                           m_video.fps, m_env.IsAudioSenderRunning() ? "REALTIME" : "DISABLED_BY_CONTROLLER");
            build.captured = build.encoded = build.sent = 0;
            build.sentBytes = 0;
            build.encodeTotalMs = build.encodeMaxMs = 0;
        }
    }
    Teardown(build);
    return result;
}
