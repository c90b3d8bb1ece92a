// The persistent GDI capture, used while desktop duplication is unavailable (also under Wine). It streams
// with the same restart, audio, visibility, display and send rules as the main loop; a local lock ends the
// session, since the GDI picture of a secure desktop is not the one the user sees.
#include <utility>

#include "core/Log.h"
#include "core/StateManagerTypes.h"
#include "media/HostPipeline.h"
#include "media/SessionClock.h"

namespace {

constexpr uint32_t kRetryPauseMs = 1000;
constexpr uint32_t kExitPauseMs = 500;
constexpr uint32_t kProbeMs = 500;
constexpr uint32_t kAudioRuleMs = 500;
constexpr uint32_t kFailLogMs = 2000;
constexpr uint32_t kFrameFailureLimit = 60;

unsigned long Ul(uint32_t v) {
    return static_cast<unsigned long>(v);
}

} // namespace

void HostPipeline::RunGdiFallback(Build& build) {
    Log::Write(
        "[CAPTURE][FALLBACK][ENTER] DXGI Desktop Duplication unavailable; start persistent GDI capture path");
    m_env.SetStatus("Host: DXGI unavailable, using compatible GDI capture...", false);
    build.path = "GDI_FALLBACK";

    build.gdi = m_factory.CreateGdiCapture();
    if (!build.gdi || !build.gdi->Init(m_video.maxWidth, m_video.maxHeight)) {
        Log::Write("[CAPTURE][FALLBACK][INIT_FAIL] persistent GDI capture init failed, retry in 1000ms");
        Teardown(build);
        WaitWhileCurrent(kRetryPauseMs);
        return;
    }
    HostFrame first;
    if (!build.gdi->Capture(first)) {
        Log::Write(
            "[CAPTURE][FALLBACK][FIRST_FRAME_FAIL] persistent GDI first frame failed, retry in 1000ms");
        Teardown(build);
        WaitWhileCurrent(kRetryPauseMs);
        return;
    }
    AcceptFrame(build, std::move(first));
    build.gdi->SourceSize(build.desktopWidth, build.desktopHeight);
    if (!CreateEncoder(build, build.cached.width, build.cached.height)) {
        Log::Write("[CAPTURE][FALLBACK][ENCODER_FAIL] codec=%s init failed size=%dx%d", m_codec,
                   build.cached.width, build.cached.height);
        Teardown(build);
        WaitWhileCurrent(kRetryPauseMs);
        return;
    }

    LogStreaming(build, "GDI_PERSISTENT_BGRA", "Host streaming video via GDI fallback");
    Log::Write("[CAPTURE][FALLBACK][ACTIVE] path=GDI_PERSISTENT_BGRA source=%dx%d stream=%dx%d fps=%d",
               build.desktopWidth, build.desktopHeight, build.cached.width, build.cached.height, m_video.fps);
    m_viewHidden = m_env.ControllerViewHidden();
    LogVisibilityPolicy("GDI_FALLBACK");

    build.pacer.Reset(m_clock.Now());
    Step step = Step::Continue;
    while (step == Step::Continue && IsCurrent())
        step = GdiPass(build);
    if (step == Step::EndSession)
        return;
    Log::Write("[CAPTURE][FALLBACK][EXIT] restart capture selection in 500ms");
    Teardown(build);
    WaitWhileCurrent(kExitPauseMs);
}

HostPipeline::Step HostPipeline::GdiPass(Build& build) {
    Step step = TakeRestart(build, "[CAPTURE][FALLBACK][RESTART] host video restart requested");
    if (step != Step::Continue)
        return step;
    if (TickRateLimit(m_audioTick, kAudioRuleMs))
        ApplyAudioAndVisibility(build, "GDI_FALLBACK");

    if (TickRateLimit(m_lockTick, kProbeMs)) {
        const bool locked = m_secure.IsActive();
        if (m_lastLocked != (locked ? 1 : 0) || m_clock.Now() - m_lastNotice >= (locked ? 1000u : 2000u))
            SendDesktopNotice(locked, " path=GDI_FALLBACK");
        if (locked) {
            Log::Write("[LOCK][HOST] local lock/secure desktop detected in GDI fallback; stop video and wait "
                       "controller "
                       "reconnect peer=%s",
                       m_peerIp.c_str());
            const char* reason = "local locked; host video stopped for controller reconnect";
            return EndForReconnect(build, "Local locked / video stopped; waiting controller reconnect",
                                   "Local locked; host video stopped for controller reconnect", reason,
                                   reason);
        }
    }
    if ((step = CheckDisplay(build, true)) != Step::Continue)
        return step;
    if (!WaitUntilDue(build))
        return Step::Continue;

    HostFrame frame;
    if (!build.gdi->Capture(frame)) {
        ++build.frameFailures;
        if (TickRateLimit(m_frameFailLog, kFailLogMs))
            Log::Write("[CAPTURE][FALLBACK][FRAME_FAIL] streak=%lu", Ul(build.frameFailures));
        if (build.frameFailures < kFrameFailureLimit)
            return Step::Continue;
        Log::Write("[CAPTURE][FALLBACK][FRAME_FAIL_LIMIT] rebuild fallback pipeline");
        return Step::Rebuild;
    }
    build.frameFailures = 0;
    ++build.captured;
    const int32_t oldWidth = build.cached.width, oldHeight = build.cached.height;
    AcceptFrame(build, std::move(frame));
    if (build.cached.width != oldWidth || build.cached.height != oldHeight) {
        Log::Write("[CAPTURE][FALLBACK][SIZE_CHANGE] %dx%d -> %dx%d; rebuild", oldWidth, oldHeight,
                   build.cached.width, build.cached.height);
        return Step::Rebuild;
    }
    if ((step = EncodeAndSend(build, "[CAPTURE][FALLBACK][ENCODE_FAIL] rebuild pipeline")) != Step::Continue)
        return step;
    ReportStats(build);
    return Step::Continue;
}
