// The controller's quality state: the user's choice, frames confirming a mode, and the rollback.
#include "link/QualitySync.h"

#include <optional>

#include "core/Log.h"
#include "link/VideoSync.h"
#include "link/VideoSyncPort.h"
#include "link/VideoSyncState.h"

namespace {

constexpr uint32_t kInfoBalloonMs = 3000;
constexpr uint32_t kWarningBalloonMs = 5000;

unsigned long Ul(uint32_t value) {
    return static_cast<unsigned long>(value);
}

int32_t FrameQualityOf(bool ultra) {
    return ultra ? 1 : 0;
}

void NotifySwitched(VideoSyncPort& port, bool ultra) {
    if (ultra)
        port.Notify(u"Ultra quality enabled", u"已进入超清模式", kBalloonInfoIcon, kInfoBalloonMs);
    else
        port.Notify(u"Ultra quality disabled", u"已退出超清模式", kBalloonInfoIcon, kInfoBalloonMs);
}

} // namespace

const char* QualityModeName(bool ultra) {
    return ultra ? "ULTRA" : "H264";
}

const char* FrameQualityName(int32_t frameQuality) {
    return frameQuality == kFrameQualityUnknown ? "UNKNOWN" : QualityModeName(frameQuality != 0);
}

bool QualityFallbackUltra(bool requestedUltra, int32_t actualQuality) {
    return !requestedUltra && actualQuality != 0;
}

QualitySync::QualitySync(ControllerVideoSyncState& state, VideoSyncPort* port)
    : m_state(state), m_port(port) {}

VideoSyncPort& QualitySync::Port() const {
    return m_port != nullptr ? *m_port : InstalledVideoSyncPort();
}

bool QualitySync::ActualIsDesired(bool desiredUltra) const {
    return m_state.actualQuality.load() == FrameQualityOf(desiredUltra);
}

void QualitySync::ApplyLocalQualitySelection(bool ultra) {
    VideoSyncPort& port = Port();
    const std::string peer = port.ActivePeerIp();
    // Only a record that lacks the capability says the peer cannot do ULTRA; an offline peer may well.
    const std::optional<bool> capable = peer.empty() ? std::nullopt : port.PeerUltraCapability(peer);
    if (capable.has_value() && !*capable) {
        if (!ultra) {
            m_state.actualQuality.store(0);
            m_state.switchPending.store(false);
            NotifySwitched(port, false);
            return;
        }
        const bool saved = port.StoreQualityMode(false, "peer lacks ultra-quality capability");
        m_state.switchPending.store(false);
        port.Notify(u"Ultra quality is unsupported by the remote version; restored Default quality",
                    u"超清模式切换失败，远端版本不支持，已回退默认画质", kBalloonWarningIcon,
                    kWarningBalloonMs);
        Log::Write("[QUALITY][UNSUPPORTED] peer=%s requested=ULTRA fallback=H264 saved=%d", peer.c_str(),
                   saved ? 1 : 0);
        return;
    }
    const uint32_t seq = m_state.qualitySeq.fetch_add(1) + 1;
    m_state.ackSeq.store(0);
    m_state.switchPending.store(true);
    Log::Write("[QUALITY][LOCAL] desired=%s actual=%s qualitySeq=%lu action=sync", QualityModeName(ultra),
               FrameQualityName(m_state.actualQuality.load()), Ul(seq));
    m_state.qualityWake.Wake();
}

void QualitySync::OnQualityFrameConfirmed(int32_t mode, uint32_t frame) {
    VideoSyncPort& port = Port();
    const int32_t actual = mode != 0 ? 1 : 0;
    const int32_t old = m_state.actualQuality.exchange(actual);
    const bool desired = port.DesiredUltra();
    const uint32_t seq = m_state.qualitySeq.load();
    if (old != actual)
        Log::Write("[QUALITY][ACTUAL_FRAME] old=%s new=%s desired=%s frame=%lu qualitySeq=%lu ackSeq=%lu",
                   FrameQualityName(old), FrameQualityName(actual), QualityModeName(desired), Ul(frame),
                   Ul(seq), Ul(m_state.ackSeq.load()));
    if (actual != FrameQualityOf(desired)) {
        m_state.switchPending.store(true);
        m_state.qualityWake.Wake();
        return;
    }
    if (m_state.ackSeq.load() != seq) {
        if (!m_state.switchPending.load())
            return;
        m_state.ackSeq.store(seq);
        Log::Write("[QUALITY][FRAME_CONFIRMED_BEFORE_ACK] mode=%s frame=%lu qualitySeq=%lu",
                   QualityModeName(desired), Ul(frame), Ul(seq));
    }
    if (!m_state.switchPending.exchange(false))
        return;
    Log::Write("[QUALITY][SWITCH_COMPLETE] mode=%s frame=%lu qualitySeq=%lu", QualityModeName(desired),
               Ul(frame), Ul(seq));
    if (m_state.announcedSeq.exchange(seq) != seq)
        NotifySwitched(port, desired);
}

void QualitySync::OnQualitySwitchFailed(uint32_t failedSeq, bool requestedUltra, int32_t actual) {
    VideoSyncPort& port = Port();
    uint32_t expected = failedSeq;
    // The repair sequence is taken only from the failed one: a newer choice of the user stands.
    if (!m_state.qualitySeq.compare_exchange_strong(expected, failedSeq + 1))
        return;
    const uint32_t repairSeq = failedSeq + 1;
    const bool fallback = QualityFallbackUltra(requestedUltra, actual);
    const bool saved = port.StoreQualityMode(fallback, "quality switch confirmation failed");
    m_state.ackSeq.store(0);
    m_state.announcedSeq.store(repairSeq);
    m_state.switchPending.store(true);
    if (requestedUltra)
        port.Notify(u"Ultra quality switch failed; restored Default quality",
                    u"超清模式切换失败，已回退默认画质", kBalloonWarningIcon, kWarningBalloonMs);
    else
        port.Notify(u"Failed to exit Ultra quality; Ultra quality remains active",
                    u"退出超清模式失败，仍保持超清模式", kBalloonWarningIcon, kWarningBalloonMs);
    Log::Write(
        "[QUALITY][SWITCH_FAILED] failedSeq=%lu requested=%s actual=%s fallback=%s repairSeq=%lu saved=%d",
        Ul(failedSeq), QualityModeName(requestedUltra), FrameQualityName(actual), QualityModeName(fallback),
        Ul(repairSeq), saved ? 1 : 0);
    m_state.qualityWake.Wake();
}

void QualitySync::ResetQualitySwitch() {
    m_state.actualQuality.store(kFrameQualityUnknown);
    m_state.ackSeq.store(0);
}
