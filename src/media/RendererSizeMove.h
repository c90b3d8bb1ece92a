#pragma once

#include <cstdint>
#include <mutex>

// The renderer's pause around the main window's modal move/size loop. While the loop runs, and for a short
// cool-down after it, frames are not drawn or presented and ResizeBuffers is deferred: presenting into a
// window that DWM is stretching costs the UI thread its smoothness, and a ResizeBuffers per drag step
// thrashes the swap chain.
//
// The modal loop can end without its exit message reaching us (the button released outside the window, a
// lost capture): a watchdog on the render thread forces the pause off when the button is up and the loop
// has been quiet, or when it has lasted implausibly long with no recent activity.
//
// Times are milliseconds of one monotonic clock, passed in by the caller. The UI thread calls SetActive;
// the render thread calls ShouldSkipFrame and the resize helpers. One mutex guards everything; lines are
// logged after it is released.
class RendererSizeMove {
public:
    static constexpr uint64_t kCooldownMs = 240;
    static constexpr uint64_t kLostExitIdleMs = 1500;
    static constexpr uint64_t kHardStaleActiveMs = 60000;
    static constexpr uint64_t kHardStaleIdleMs = 5000;

    // The process-wide state the render thread and the main window share.
    static RendererSizeMove& Instance();

    // true: records activity; turning on records the start and clears any cool-down. false while on: ends the
    // pause with a cool-down and logs the skipped counts (then reset).
    void SetActive(bool active, uint64_t now);
    bool Active() const;

    enum class Skip { None, Active, Cooldown };
    // Runs the watchdog (leftButtonDown: the physical left button as the render thread reads it), then says
    // whether this frame is skipped. Skipped frames are counted.
    Skip ShouldSkipFrame(uint64_t now, bool leftButtonDown);

    // For the resize rule: the pause or its cool-down holds at now. A deferred ResizeBuffers is counted.
    Skip Paused(uint64_t now) const;
    uint32_t CountDeferredResize();

    // Frames and ResizeBuffers calls skipped in the current pause; reported and reset when it ends.
    uint32_t SkippedFrames() const;
    uint32_t SkippedResizes() const;

    // Back to the initial state.
    void Reset();

private:
    mutable std::mutex m_mutex;
    bool m_active = false;
    uint64_t m_startTick = 0;
    uint64_t m_activityTick = 0;
    uint64_t m_cooldownEnd = 0;
    uint32_t m_skippedFrames = 0;
    uint32_t m_skippedResizes = 0;
};
