#include "dragdrop/RemoteDragSelection.h"

#include <utility>

#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/Utf.h"

namespace {

constexpr int32_t kVkEscape = 27;
constexpr int32_t kLeftButton = 0;
constexpr uint32_t kConfirmLogMs = 1000;

// Tick 0 means "none" in the gesture state.
uint32_t Stamp(uint32_t now) {
    return now != 0 ? now : 1;
}

uint32_t AgeSince(uint32_t now, uint32_t tick) {
    return tick != 0 ? now - tick : 0;
}

bool IsLeftPress(InjectedPacketKind kind, int32_t data1, int32_t data2) {
    return kind == InjectedPacketKind::MouseButton && data1 == kLeftButton && data2 != 0;
}

bool IsLeftRelease(InjectedPacketKind kind, int32_t data1, int32_t data2) {
    return kind == InjectedPacketKind::MouseButton && data1 == kLeftButton && data2 == 0;
}

bool IsEscDown(InjectedPacketKind kind, int32_t data1, int32_t data2) {
    return kind == InjectedPacketKind::Key && data1 == kVkEscape && data2 != 0;
}

unsigned long long U64(uint64_t value) {
    return static_cast<unsigned long long>(value);
}

unsigned long Ms(uint32_t value) {
    return static_cast<unsigned long>(value);
}

} // namespace

void RemoteDragSelection::OnInputPacket(InjectedPacketKind kind, uint32_t type, int32_t data1,
                                        int32_t data2) {
    if (!m_ports.MonitorRunning() || m_ports.Role() != kRoleControlled)
        return;
    const uint32_t now = m_ports.TickMs();
    const bool press = IsLeftPress(kind, data1, data2);
    const bool release = IsLeftRelease(kind, data1, data2);

    SourceUpGraceClear("input-packet", now);

    bool pending = false, takeover = false;
    {
        std::lock_guard<std::mutex> lock(m_gestureMutex);
        pending = m_pending;
        takeover = m_takeover;
    }
    if ((pending || takeover) && IsEscDown(kind, data1, data2)) {
        Clear("ESC_ACK_CLEAR", "controller-esc-after-drop");
        return;
    }
    if (pending) {
        std::unique_lock<std::mutex> lock(m_gestureMutex);
        if (press && m_sourceUpTick != 0) {
            const uint64_t oldId = m_pendingId;
            lock.unlock();
            Log::Write("[RDRAG][SEL][NEW_DOWN_CLEAR_PENDING] oldId=%llu reason=new-gesture-after-source-up",
                       U64(oldId));
            Clear("NEW_DOWN_CLEAR_PENDING", "new-gesture-after-source-up");
        } else if (release) {
            m_takeover = false;
            m_sourceHeld = false;
            m_sourceUpTick = Stamp(now);
            m_leftHeld.store(false);
            m_published.store(false);
            m_samples.store(0);
            const uint64_t id = m_pendingId;
            const uint32_t age = AgeSince(now, m_pendingTick);
            lock.unlock();
            Log::Write("[RDRAG][SEL][LEFT_UP_KEEP_PENDING] id=%llu age=%lu reason=published-source-left-up",
                       U64(id), Ms(age));
            SwitchDragVisual(m_ports, false, "controlled-rdrag-source-left-up");
            return;
        } else {
            if (m_keepLogTick == 0 || now - m_keepLogTick > kKeepLogMs) {
                m_keepLogTick = Stamp(now);
                Log::Write("[RDRAG][SEL][PENDING_KEEP] packet type=%u button=%d down=%d id=%llu age=%lu",
                           type, data1, data2, U64(m_pendingId), Ms(AgeSince(now, m_pendingTick)));
            }
            return;
        }
    }

    if (press)
        OnLeftPress();
    else if (release)
        OnLeftRelease();
    else if (kind == InjectedPacketKind::MouseMove && m_leftHeld.load() && !m_published.load() &&
             !m_guard.load())
        OnMove();
}

void RemoteDragSelection::SourceUpGraceClear(const char* reason, uint32_t now) {
    uint64_t id = 0;
    uint32_t pendingAge = 0, upAge = 0;
    {
        std::lock_guard<std::mutex> lock(m_gestureMutex);
        if (!m_pending || m_sourceUpTick == 0 || now - m_sourceUpTick < kSourceUpGraceMs)
            return;
        id = m_pendingId;
        pendingAge = AgeSince(now, m_pendingTick);
        upAge = now - m_sourceUpTick;
    }
    Log::Write("[RDRAG][SEL][SOURCE_UP_GRACE_CLEAR] id=%llu pendingAge=%lu upAge=%lu reason=%s", U64(id),
               Ms(pendingAge), Ms(upAge), reason);
    Clear("SOURCE_UP_GRACE_CLEAR", reason);
}

void RemoteDragSelection::OnLeftPress() {
    m_ports.ResetRuntimeDrag();
    m_leftHeld.store(true);
    m_published.store(false);
    m_samples.store(0);
    m_guard.store(false);
    m_press = m_ports.CursorPos();
    const uint64_t id = m_gestureId.fetch_add(1) + 1;
    const bool guard = m_ports.TextEditAt(m_press);
    m_guard.store(guard);
    Log::Write("[RDRAG][SEL] injected left-down id=%llu pt=%d,%d textEditGuard=%d", U64(id), m_press.x,
               m_press.y, guard ? 1 : 0);
    if (guard) {
        ClearStartCache();
        return;
    }
    uint64_t generation = 0;
    {
        std::lock_guard<std::mutex> lock(m_cacheMutex);
        m_cacheValid = false;
        m_fillPending = true;
        m_paths.clear();
        m_rank = kRankNone;
        m_fillTick = 0;
        generation = ++m_generation;
    }
    m_ports.StartSelectionFill(m_press, id, generation);
}

void RemoteDragSelection::OnLeftRelease() {
    const bool published = m_published.load();
    if (m_leftHeld.load())
        Log::Write("[RDRAG][SEL] injected left-up id=%llu published=%d", U64(m_gestureId.load()),
                   published ? 1 : 0);
    if (published) {
        Log::Write("[RDRAG][SEL][LEFT_UP_KEEP] id=%llu published offer kept for controller mouse-up decision",
                   U64(m_gestureId.load()));
        SwitchDragVisual(m_ports, false, "controlled-rdrag-source-left-up");
    }
    m_leftHeld.store(false);
    m_published.store(false);
    m_guard.store(false);
    ClearStartCache();
}

void RemoteDragSelection::OnMove() {
    const DragScreenPoint point = m_ports.CursorPos();
    const int64_t dx = static_cast<int64_t>(point.x) - m_press.x;
    const int64_t dy = static_cast<int64_t>(point.y) - m_press.y;
    const int64_t dist2 = dx * dx + dy * dy;
    if (dist2 < static_cast<int64_t>(kThresholdPx) * kThresholdPx) {
        m_samples.store(0);
        return;
    }
    const uint32_t now = m_ports.TickMs();
    if (m_samples.load() >= kConfirmSamples) {
        Publish(now);
        return;
    }
    const int32_t samples = m_samples.fetch_add(1) + 1;
    if (samples >= kConfirmSamples) {
        Publish(now);
    } else if (samples == 1 && LogThrottle::Allow("rdrag.injected.confirm", kConfirmLogMs)) {
        const int logged = dist2 > INT32_MAX ? INT32_MAX : static_cast<int>(dist2);
        Log::Write("[RDRAG][SEL][CONFIRM] id=%llu dist2=%d threshold=%d sample=%d/%d",
                   U64(m_gestureId.load()), logged, kThresholdPx, samples, kConfirmSamples);
    }
}

void RemoteDragSelection::EndAttempt() {
    std::lock_guard<std::mutex> lock(m_gestureMutex);
    m_inProgress = false;
}

void RemoteDragSelection::Publish(uint32_t now) {
    static constexpr char kReason[] = "injected-drag-confirmed";
    if (m_ports.Role() != kRoleControlled)
        return;
    SourceUpGraceClear(kReason, now);
    const uint64_t id = m_gestureId.load();
    if (m_guard.load()) {
        Log::Write("[RDRAG][SEL][TEXT_EDIT_SKIP] id=%llu reason=%s", U64(id), kReason);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(m_gestureMutex);
        if (m_pending || m_inProgress) {
            if (m_keepLogTick == 0 || now - m_keepLogTick > kKeepLogMs) {
                m_keepLogTick = Stamp(now);
                Log::Write("[RDRAG][SEL][WAIT_ACK] suppress publish while pending/in-progress id=%llu "
                           "pending=%d inProgress=%d age=%lu reason=%s",
                           U64(m_pendingId), m_pending ? 1 : 0, m_inProgress ? 1 : 0,
                           Ms(AgeSince(now, m_pendingTick)), kReason);
            }
            return;
        }
        if (m_published.load())
            return;
        m_inProgress = true;
    }
    if (m_attemptTick != 0 && now - m_attemptTick < kAttemptCooldownMs) {
        EndAttempt();
        return;
    }
    if (m_lastPublishTick != 0 && now - m_lastPublishTick < kPublishCooldownMs) {
        Log::Write("[RDRAG][SEL][SUPPRESS] duplicate publish within cooldown reason=%s age=%lu", kReason,
                   Ms(now - m_lastPublishTick));
        EndAttempt();
        return;
    }
    m_attemptTick = Stamp(now);
    const DragScreenPoint current = m_ports.CursorPos();

    std::vector<std::u16string> paths;
    bool fillPending = false;
    {
        std::lock_guard<std::mutex> lock(m_cacheMutex);
        if (m_cacheValid && !m_paths.empty())
            paths = m_paths;
        fillPending = m_fillPending;
    }
    if (paths.empty()) {
        Log::Write(fillPending ? "[RDRAG][SEL][START_CACHE_PENDING_SKIP] id=%llu reason=%s pt=%d,%d"
                               : "[RDRAG][SEL][NO_START_CACHE_SKIP] id=%llu reason=%s pt=%d,%d",
                   U64(id), kReason, current.x, current.y);
        EndAttempt();
        return;
    }
    Log::Write("[RDRAG][SEL][USE_START_CACHE] id=%llu count=%u first=%s reason=%s currentPt=%d,%d", U64(id),
               static_cast<unsigned>(paths.size()), Utf16ToUtf8(paths.front()).c_str(), kReason, current.x,
               current.y);

    // Pending before the worker starts, so that it finds its own gesture pending; and pending whatever the
    // send gives, so the controller's Esc or release still ends it.
    {
        std::lock_guard<std::mutex> lock(m_gestureMutex);
        if (!m_inProgress)
            return; // a clear (the drag service's stop) came while the selection was read
        m_published.store(true);
        m_pending = true;
        m_takeover = true;
        m_sourceHeld = true;
        m_inProgress = false;
        m_sourceUpTick = 0;
        m_lastPublishTick = Stamp(now);
        m_pendingTick = Stamp(now);
        m_pendingId = id;
    }
    SwitchDragVisual(m_ports, true, "controlled-rdrag-publish");
    m_ports.PublishSelection(std::move(paths), id);
}

bool RemoteDragSelection::OnTakeoverInput(InjectedPacketKind kind, uint32_t type, int32_t data1,
                                          int32_t data2) {
    if (!m_ports.MonitorRunning() || m_ports.Role() != kRoleControlled)
        return false;
    bool pending = false;
    {
        std::lock_guard<std::mutex> lock(m_gestureMutex);
        if (!m_takeover)
            return false;
        pending = m_pending;
    }
    if (!pending && !m_ports.RuntimeShowsRemoteDrag()) {
        Clear("STALE_TAKEOVER_CLEAR", "no-pending-no-runtime-remote-drag");
        return false;
    }
    if (kind == InjectedPacketKind::Key) {
        if (IsEscDown(kind, data1, data2))
            Clear("ESC_ACK_CLEAR", "controller-esc-clear-takeover");
        return false;
    }
    if (kind != InjectedPacketKind::MouseButton && kind != InjectedPacketKind::MouseMove &&
        kind != InjectedPacketKind::MouseWheel)
        return false;
    const uint32_t now = m_ports.TickMs();
    std::lock_guard<std::mutex> lock(m_gestureMutex);
    if (IsLeftRelease(kind, data1, data2) && m_sourceHeld) {
        m_sourceHeld = false;
        m_takeover = false;
        Log::Write("[RDRAG][TAKEOVER][ALLOW_SOURCE_UP_NO_BLOCK] id=%llu", U64(m_pendingId));
        return false;
    }
    if (m_noBlockLogTick == 0 || now - m_noBlockLogTick > kKeepLogMs) {
        m_noBlockLogTick = Stamp(now);
        Log::Write("[RDRAG][TAKEOVER][NO_BLOCK] packet=%u button=%d down=%d id=%llu pending=%d age=%lu", type,
                   data1, data2, U64(m_pendingId), m_pending ? 1 : 0, Ms(AgeSince(now, m_pendingTick)));
    }
    return false;
}

void RemoteDragSelection::Clear(const char* tag, const char* reason) {
    uint64_t id = 0;
    bool pending = false, takeover = false;
    uint32_t age = 0;
    {
        std::lock_guard<std::mutex> lock(m_gestureMutex);
        m_inProgress = false;
        if (!m_pending && !m_takeover)
            return;
        id = m_pendingId;
        pending = m_pending;
        takeover = m_takeover;
        age = AgeSince(m_ports.TickMs(), m_pendingTick);
        m_pending = false;
        m_pendingId = 0;
        m_pendingTick = 0;
        m_takeover = false;
        m_sourceHeld = false;
        m_sourceUpTick = 0;
        m_noBlockLogTick = 0;
        m_leftHeld.store(false);
        m_published.store(false);
        m_samples.store(0);
        m_guard.store(false);
        ClearStartCache();
    }
    const bool hasTag = tag != nullptr && *tag != '\0';
    Log::Write("[RDRAG][SEL][%s] id=%llu pending=%d takeover=%d age=%lu reason=%s", hasTag ? tag : "CLEAR",
               U64(id), pending ? 1 : 0, takeover ? 1 : 0, Ms(age), reason != nullptr ? reason : "");
    SwitchDragVisual(m_ports, false, hasTag ? tag : "controlled-rdrag-clear");
    m_ports.ResetRuntimeDrag();
}

void RemoteDragSelection::ClearStartCache() {
    std::lock_guard<std::mutex> lock(m_cacheMutex);
    m_cacheValid = false;
    m_fillPending = false;
    m_paths.clear();
    ++m_generation;
    m_rank = kRankNone;
    m_fillTick = 0;
}

void RemoteDragSelection::StoreStartSelection(uint64_t gestureId, uint64_t generation, DragScreenPoint point,
                                              std::vector<std::u16string> paths, int32_t rank) {
    const uint32_t now = m_ports.TickMs();
    std::string first;
    size_t count = 0;
    {
        std::lock_guard<std::mutex> lock(m_cacheMutex);
        if (generation != m_generation || gestureId != m_gestureId.load())
            return;
        m_fillPending = false;
        count = paths.size();
        if (count != 0) {
            first = Utf16ToUtf8(paths.front());
            m_paths = std::move(paths);
            m_cacheValid = true;
            m_rank = rank;
            m_fillTick = Stamp(now);
        }
    }
    if (count != 0)
        Log::Write("[RDRAG][SEL][START_CACHE] id=%llu count=%u rank=%d first=%s pt=%d,%d", U64(gestureId),
                   static_cast<unsigned>(count), rank, first.c_str(), point.x, point.y);
    else
        Log::Write("[RDRAG][SEL][START_CACHE][MISS] id=%llu pt=%d,%d", U64(gestureId), point.x, point.y);
}

bool RemoteDragSelection::TakeStartCacheForClipboard(std::vector<std::u16string>& paths) {
    const uint32_t now = m_ports.TickMs();
    std::lock_guard<std::mutex> lock(m_cacheMutex);
    const auto count = static_cast<unsigned>(m_paths.size());
    if (!m_cacheValid || m_paths.empty()) {
        Log::Write("[CLIPFILE][START_CACHE] miss valid=%d pending=%d count=%u", m_cacheValid ? 1 : 0,
                   m_fillPending ? 1 : 0, count);
        return false;
    }
    const uint32_t age = now - m_fillTick;
    if (age > kClipboardCacheMaxAgeMs) {
        Log::Write("[CLIPFILE][START_CACHE] stale age=%lu max=%lu count=%u", Ms(age),
                   Ms(kClipboardCacheMaxAgeMs), count);
        return false;
    }
    paths = m_paths;
    Log::Write("[CLIPFILE][START_CACHE] hit id=%llu age=%lu rank=%d count=%u first=%s",
               U64(m_gestureId.load()), Ms(age), m_rank, count, Utf16ToUtf8(m_paths.front()).c_str());
    return true;
}

bool RemoteDragSelection::IsPendingGesture(uint64_t gestureId) {
    std::lock_guard<std::mutex> lock(m_gestureMutex);
    return m_pending && m_pendingId == gestureId;
}

bool RemoteDragSelection::IsPending() {
    std::lock_guard<std::mutex> lock(m_gestureMutex);
    return m_pending;
}

bool RemoteDragSelection::IsTakeover() {
    std::lock_guard<std::mutex> lock(m_gestureMutex);
    return m_takeover;
}

std::string RemoteDragOfferDetail(const std::string& firstUtf8, size_t count) {
    if (count <= 1)
        return firstUtf8;
    return firstUtf8 + " +" + std::to_string(count - 1);
}
