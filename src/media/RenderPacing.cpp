#include "media/RenderPacing.h"

#include "core/Log.h"

RenderPacing::Verdict RenderPacing::Decide(uint64_t now, bool sizeMoveSkip, const PresentPauseState& pause) {
    if (sizeMoveSkip)
        return Verdict::SizeMove;
    if (pause.active || now < pause.deadlineTick) {
        const uint32_t count = ++m_pauseDrops;
        if (count % 120 == 1) {
            const uint64_t remain = now < pause.deadlineTick ? pause.deadlineTick - now : 0;
            Log::Write("[RENDER][UI-QOS] pause-present active=%d remainMs=%llu count=%lu",
                       pause.active ? 1 : 0, static_cast<unsigned long long>(remain),
                       static_cast<unsigned long>(count));
        }
        return Verdict::PresentPause;
    }
    if (m_drawn && now - m_lastDrawTick < kMinFrameGapMs) {
        const uint32_t count = ++m_paceDrops;
        if (count % 240 == 1) {
            Log::Write("[RENDER][PACE] drop disposable frame waitMs=%llu count=%lu",
                       static_cast<unsigned long long>(kMinFrameGapMs - (now - m_lastDrawTick)),
                       static_cast<unsigned long>(count));
        }
        return Verdict::Pace;
    }
    m_drawn = true;
    m_lastDrawTick = now;
    return Verdict::Draw;
}
