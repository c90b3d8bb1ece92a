#include "link/VisibilitySync.h"

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "link/DiscoveryRun.h"
#include "link/VideoSync.h"
#include "link/VideoSyncPort.h"
#include "link/VideoSyncState.h"

namespace {

constexpr uint32_t kVisibilityWaitMs = 200;

unsigned long Ul(uint32_t value) {
    return static_cast<unsigned long>(value);
}

} // namespace

uint32_t VisibilityRefreshMs(bool hidden) {
    return hidden ? 2000 : 5000;
}

uint32_t VisibilityRetryDelayMs(uint32_t failures) {
    if (failures < 2)
        return 300;
    if (failures < 5)
        return 1000;
    return 2000;
}

VisibilityTurnPlan PlanVisibilityTurn(const VisibilitySyncMemory& memory, const VisibilityFacts& facts) {
    VisibilityTurnPlan plan;
    plan.refreshMs = VisibilityRefreshMs(facts.hidden);
    plan.retryMs = VisibilityRetryDelayMs(memory.failures);
    const bool samePeer = facts.peer == memory.peer;
    const bool changed = facts.viewSeq != memory.confirmedSeq || facts.hidden != memory.confirmedHidden;
    const bool fresh = memory.confirmed && facts.now - memory.confirmTick < plan.refreshMs;
    if (samePeer && !changed && !facts.unconfirmed && fresh)
        return plan;
    if (memory.attempted && facts.now - memory.attemptTick < plan.retryMs)
        return plan;
    plan.send = true;
    if (!samePeer)
        plan.reason = "peer-change";
    else if (changed)
        plan.reason = "state-change";
    else if (facts.unconfirmed)
        plan.reason = "retry-unconfirmed";
    else
        plan.reason = "periodic-resync";
    return plan;
}

VisibilitySync::VisibilitySync(ControllerVideoSyncState& state, VideoSyncPort* port)
    : m_state(state), m_port(port) {}

VideoSyncPort& VisibilitySync::Port() const {
    return m_port != nullptr ? *m_port : InstalledVideoSyncPort();
}

void VisibilitySync::SetLocalVideoVisibility(bool hidden) {
    VideoSyncPort& port = Port();
    const bool changed = m_state.viewHidden.exchange(hidden) != hidden;
    uint32_t viewSeq = m_state.viewSeq.load();
    if (changed) {
        viewSeq = m_state.viewSeq.fetch_add(1) + 1;
        m_state.visibilityUnconfirmed.store(true);
    }
    Log::Write(changed ? "[VIDEO][VISIBILITY][LOCAL] hidden=%d viewSeq=%lu role=%d clientRunning=%d"
                       : "[VIDEO][VISIBILITY][LOCAL_CONFIRM] hidden=%d viewSeq=%lu role=%d clientRunning=%d",
               hidden ? 1 : 0, Ul(viewSeq), static_cast<int>(port.Role()), port.ClientRunning() ? 1 : 0);
    m_state.visibilityWake.Wake();
}

void VisibilitySync::Run(const DiscoveryRun& run) {
    Log::Write("[VIDEO][VISIBILITY][SYNC_WORKER] start");
    for (;;) {
        Port().Wait(m_state.visibilityWake, kVisibilityWaitMs);
        if (!run.Running())
            break;
        Turn();
    }
    Log::Write("[VIDEO][VISIBILITY][SYNC_WORKER] stop");
}

void VisibilitySync::Turn() {
    VideoSyncPort& port = Port();
    if (port.Role() != static_cast<int32_t>(RuntimeRole::Controller) || !port.ClientRunning()) {
        m_memory.peer.clear();
        m_memory.confirmedSeq = 0;
        return;
    }
    VisibilityFacts facts;
    facts.peer = port.ActivePeerIp();
    if (facts.peer.empty())
        return;
    facts.hidden = m_state.viewHidden.load();
    facts.viewSeq = m_state.viewSeq.load();
    facts.unconfirmed = m_state.visibilityUnconfirmed.load();
    facts.now = port.Now();

    const VisibilityTurnPlan plan = PlanVisibilityTurn(m_memory, facts);
    if (!plan.send)
        return;
    m_memory.attempted = true;
    m_memory.attemptTick = facts.now;
    m_memory.peer = facts.peer;
    const bool confirmed = port.SendVideoVisibility(facts.peer, facts.hidden, facts.viewSeq, plan.reason);
    if (confirmed) {
        m_memory.failures = 0;
        m_memory.confirmed = true;
        m_memory.confirmTick = port.Now();
        m_memory.confirmedSeq = facts.viewSeq;
        m_memory.confirmedHidden = facts.hidden;
        if (m_state.viewSeq.load() == facts.viewSeq && m_state.viewHidden.load() == facts.hidden)
            m_state.visibilityUnconfirmed.store(false);
        Log::Write("[VIDEO][VISIBILITY][SYNCED] peer=%s hidden=%d viewSeq=%lu nextRefreshMs=%lu",
                   facts.peer.c_str(), facts.hidden ? 1 : 0, Ul(facts.viewSeq), Ul(plan.refreshMs));
    } else {
        ++m_memory.failures;
        m_state.visibilityUnconfirmed.store(true);
        Log::Write("[VIDEO][VISIBILITY][SYNC_RETRY] peer=%s hidden=%d viewSeq=%lu retryMs=%lu",
                   facts.peer.c_str(), facts.hidden ? 1 : 0, Ul(facts.viewSeq), Ul(plan.retryMs));
    }
}
