#include "dragdrop/VirtualCursorMotion.h"

void VirtualCursorMotion::Begin(ScreenPoint remote, RemoteScreenSize size) {
    m_remote = remote;
    m_size = size;
    m_movePending = false;
    m_lastSendTick = 0;
    m_counters = {};
}

void VirtualCursorMotion::Reset() {
    m_movePending = false;
    m_lastSendTick = 0;
}

bool VirtualCursorMotion::IntervalPassed(uint32_t now) const {
    return m_lastSendTick == 0 || now - m_lastSendTick >= kCursorSendIntervalMs;
}

RawMotionResult VirtualCursorMotion::OnRaw(int32_t mode, int32_t dx, int32_t dy, uint32_t ageMs, uint32_t now,
                                           bool inputReady, ICursorSender& sender) {
    if (dx == 0 && dy == 0)
        return RawMotionResult::Ignored;
    ++m_counters.raw;
    if (!inputReady)
        return RawMotionResult::InputLost;
    const int64_t x = static_cast<int64_t>(m_remote.x) + dx;
    const int64_t y = static_cast<int64_t>(m_remote.y) + dy;
    if (IsBackToLocal(mode, x, y, m_size))
        return RawMotionResult::BackToLocal;
    const auto limit = [](int64_t v, int32_t extent) {
        return static_cast<int32_t>(v < 0 ? 0 : (v > extent - 1 ? extent - 1 : v));
    };
    const ScreenPoint next{limit(x, m_size.width), limit(y, m_size.height)};
    if (!(next == m_remote)) {
        if (m_movePending)
            ++m_counters.coalesced;
        m_movePending = true;
        m_remote = next;
    }
    const bool stale = ageMs > kRawStaleMs;
    if (stale)
        ++m_counters.stale;
    if (!stale && m_movePending && IntervalPassed(now))
        Send(now, false, sender);
    return RawMotionResult::Moved;
}

void VirtualCursorMotion::OnTimer(uint32_t now, ICursorSender& sender) {
    if (m_movePending && IntervalPassed(now))
        Send(now, false, sender);
}

bool VirtualCursorMotion::Send(uint32_t now, bool priority, ICursorSender& sender) {
    m_remote = ClampToRemote(m_remote, m_size);
    if (!sender.SendCursor(m_remote, priority))
        return false;
    // 0 means "never": a send at tick 0 counts as tick 1.
    m_lastSendTick = now != 0 ? now : 1;
    ++m_counters.sent;
    m_movePending = false;
    return true;
}
