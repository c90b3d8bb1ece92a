// The VideoQualitySync worker: pushes a pending switch to the peer and watches it until a frame confirms it.
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "link/DiscoveryRun.h"
#include "link/QualitySync.h"
#include "link/VideoSyncPort.h"
#include "link/VideoSyncState.h"

namespace {

constexpr uint32_t kQualityWaitMs = 100;

unsigned long Ul(uint32_t value) {
    return static_cast<unsigned long>(value);
}

} // namespace

QualityTurnPlan PlanQualityTurn(QualitySyncMemory& memory, const std::string& peer,
                                const QualityFacts& facts) {
    QualityTurnPlan plan;
    const bool matches = facts.actual == (facts.desiredUltra ? 1 : 0);
    bool pending = facts.pending;
    if (!pending) {
        if (facts.actual == -1 || matches) {
            memory.peer = peer;
            return plan;
        }
        plan.setPending = true;
        pending = true;
    } else if (matches && facts.ack == facts.seq) {
        memory.watching = false;
        plan.action = QualityTurnAction::Complete;
        return plan;
    }

    if (!memory.watching || memory.watchSeq != facts.seq) {
        memory.watching = true;
        memory.watchSeq = facts.seq;
        memory.watchTick = facts.now;
    }
    const bool acked = facts.ack == facts.seq;
    if (acked && !matches && facts.now - memory.watchTick >= kQualityFrameWaitMs) {
        plan.action = QualityTurnAction::RollBack;
        return plan;
    }

    const uint32_t interval = acked && !matches ? kQualityAckedResendMs : kQualityResendMs;
    if (peer == memory.peer && facts.seq == memory.sentSeq &&
        (!pending || facts.now - memory.sendTick < interval))
        return plan;

    plan.fullRequest = facts.seq != memory.sentSeq || peer != memory.peer;
    memory.peer = peer;
    memory.sentSeq = facts.seq;
    memory.sendTick = facts.now;
    plan.action = QualityTurnAction::Send;
    return plan;
}

void QualitySync::Run(const DiscoveryRun& run) {
    Log::Write("[QUALITY][SYNC_WORKER] start");
    for (;;) {
        Port().Wait(m_state.qualityWake, kQualityWaitMs);
        if (!run.Running())
            break;
        Turn(run);
    }
    Log::Write("[QUALITY][SYNC_WORKER] stop");
}

void QualitySync::Turn(const DiscoveryRun& run) {
    VideoSyncPort& port = Port();
    if (port.Role() != static_cast<int32_t>(RuntimeRole::Controller) || !port.ClientRunning()) {
        m_memory.peer.clear();
        return;
    }
    const std::string peer = port.ActivePeerIp();
    if (peer.empty() || !port.PeerUltraCapability(peer).value_or(false))
        return;

    QualityFacts facts;
    facts.desiredUltra = port.DesiredUltra();
    facts.actual = m_state.actualQuality.load();
    facts.seq = m_state.qualitySeq.load();
    facts.ack = m_state.ackSeq.load();
    facts.pending = m_state.switchPending.load();
    facts.now = port.Now();

    const QualityTurnPlan plan = PlanQualityTurn(m_memory, peer, facts);
    if (plan.setPending)
        m_state.switchPending.store(true);
    switch (plan.action) {
    case QualityTurnAction::None:
        break;
    case QualityTurnAction::Complete:
        m_state.switchPending.store(false);
        break;
    case QualityTurnAction::RollBack:
        OnQualitySwitchFailed(facts.seq, facts.desiredUltra, facts.actual);
        break;
    case QualityTurnAction::Send:
        if (plan.fullRequest)
            port.SendControlRequest(peer);
        SendSwitch(run, peer, facts);
        break;
    }
}

void QualitySync::SendSwitch(const DiscoveryRun& run, const std::string& peer, const QualityFacts& facts) {
    VideoSyncPort& port = Port();
    const char* expected = QualityModeName(facts.desiredUltra);
    bool confirmed = false;
    for (uint32_t attempt = 1; attempt <= kQualityAttempts && run.Running(); ++attempt) {
        if (ActualIsDesired(facts.desiredUltra) ||
            port.SendVideoQuality(peer, facts.desiredUltra, facts.seq, attempt)) {
            confirmed = true;
            break;
        }
        if (attempt < kQualityAttempts && !port.Sleep(run, kQualityAttemptPauseMs))
            break;
    }
    // A stop (program exit, cable removed) is no failed switch: the choice stays saved and pending, and the
    // next run pushes it again.
    if (!confirmed && !run.Running())
        return;
    if (confirmed) {
        m_state.ackSeq.store(facts.seq);
        Log::Write("[QUALITY][ACKED_WAIT_FRAME] peer=%s qualitySeq=%lu expected=%s actual=%s", peer.c_str(),
                   Ul(facts.seq), expected, FrameQualityName(m_state.actualQuality.load()));
        return;
    }
    // The reply may be lost while the frames already show the new mode: they are the better proof.
    const int32_t actual = m_state.actualQuality.load();
    if (ActualIsDesired(facts.desiredUltra)) {
        m_state.ackSeq.store(facts.seq);
        Log::Write(
            "[QUALITY][ACK_LOST_FRAME_CONFIRMED] peer=%s qualitySeq=%lu mode=%s attempts=3 action=accept",
            peer.c_str(), Ul(facts.seq), expected);
        OnQualityFrameConfirmed(actual, 0);
    } else {
        Log::Write("[QUALITY][ACK_FAILED] peer=%s qualitySeq=%lu mode=%s attempts=3 action=rollback",
                   peer.c_str(), Ul(facts.seq), expected);
        OnQualitySwitchFailed(facts.seq, facts.desiredUltra, actual);
    }
    m_memory.watching = false;
}
