#pragma once

#include <cstdint>

#include "media/PresentPause.h"

// Which picture the render loop draws. Only the newest frame waits in the queue, so a dropped frame is
// replaced by the next one: drawing closer than 22 ms apart (about 45 per second) would only add GPU and
// present load for pictures nobody sees. Render thread only; times are monotonic milliseconds.
class RenderPacing {
public:
    static constexpr uint64_t kMinFrameGapMs = 22;

    enum class Verdict { Draw, SizeMove, PresentPause, Pace };

    // sizeMoveSkip: the size-move rule skips this frame. Draw records now as the last drawn tick.
    Verdict Decide(uint64_t now, bool sizeMoveSkip, const PresentPauseState& pause);

private:
    bool m_drawn = false;
    uint64_t m_lastDrawTick = 0;
    uint32_t m_pauseDrops = 0;
    uint32_t m_paceDrops = 0;
};
