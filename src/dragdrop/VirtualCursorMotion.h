#pragma once

#include <cstdint>

#include "dragdrop/VirtualScreenGeometry.h"

// The virtual cursor on the peer while the mouse is there: relative raw motion moves it, and its position
// goes out at most once per 16 ms. Moves in between are coalesced into the next send; motion older than
// 80 ms moves the cursor but never sends by itself (the timer sends what is pending). UI thread only.

inline constexpr uint32_t kCursorSendIntervalMs = 16;
inline constexpr uint32_t kRawStaleMs = 80;

// Sends the cursor position; false when nothing was queued (scope off, input not ready, queue refused).
class ICursorSender {
public:
    virtual ~ICursorSender() = default;
    virtual bool SendCursor(ScreenPoint remote, bool priority) = 0;
};

struct MoveCounters {
    uint64_t raw = 0;
    uint64_t sent = 0;
    uint64_t coalesced = 0;
    uint64_t stale = 0;
};

enum class RawMotionResult {
    Ignored,     // zero motion
    Moved,       // the cursor moved (or stayed); a send may have gone out
    InputLost,   // leave: input not ready
    BackToLocal, // leave: moved back past the near side
};

class VirtualCursorMotion {
public:
    // Entering: the cursor's start and the peer's size; the send tick, the pending move and the counters
    // start again.
    void Begin(ScreenPoint remote, RemoteScreenSize size);
    // One raw motion while on the peer.
    RawMotionResult OnRaw(int32_t mode, int32_t dx, int32_t dy, uint32_t ageMs, uint32_t now, bool inputReady,
                          ICursorSender& sender);
    // The 25 ms timer: sends a pending move once the interval has passed.
    void OnTimer(uint32_t now, ICursorSender& sender);
    // Sends the cursor now (limited to the peer's size); a send stamps the tick, counts and clears pending.
    bool Send(uint32_t now, bool priority, ICursorSender& sender);

    void SetSize(RemoteScreenSize size) { m_size = size; }
    // Leaving: no send tick, nothing pending.
    void Reset();
    void ClearPending() { m_movePending = false; }

    ScreenPoint Remote() const { return m_remote; }
    RemoteScreenSize Size() const { return m_size; }
    bool MovePending() const { return m_movePending; }
    uint32_t LastSendTick() const { return m_lastSendTick; }
    const MoveCounters& Counters() const { return m_counters; }

private:
    bool IntervalPassed(uint32_t now) const;

    ScreenPoint m_remote;
    RemoteScreenSize m_size{1920, 1080};
    bool m_movePending = false;
    uint32_t m_lastSendTick = 0; // 0: never sent
    MoveCounters m_counters;
};
