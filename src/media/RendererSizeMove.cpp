#include "media/RendererSizeMove.h"

#include "core/Log.h"

RendererSizeMove& RendererSizeMove::Instance() {
    static RendererSizeMove* state = new RendererSizeMove();
    return *state;
}

void RendererSizeMove::SetActive(bool active, uint64_t now) {
    bool turnedOn = false;
    bool turnedOff = false;
    uint32_t frames = 0;
    uint32_t resizes = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (active) {
            m_activityTick = now;
            if (!m_active) {
                m_active = true;
                m_startTick = now;
                m_cooldownEnd = 0;
                turnedOn = true;
            }
        } else if (m_active) {
            m_active = false;
            m_startTick = 0;
            m_activityTick = 0;
            m_cooldownEnd = now + kCooldownMs;
            frames = m_skippedFrames;
            resizes = m_skippedResizes;
            m_skippedFrames = 0;
            m_skippedResizes = 0;
            turnedOff = true;
        }
    }
    if (turnedOn)
        Log::Write(
            "[RESIZE-FIX] renderer sizemove ON freeze Render/Present/ResizeBuffers lifecycle=modal-loop");
    if (turnedOff) {
        Log::Write(
            "[RESIZE-FIX] renderer sizemove OFF skippedResizeBuffers=%lu skippedFrames=%lu cooldownMs=%llu",
            static_cast<unsigned long>(resizes), static_cast<unsigned long>(frames),
            static_cast<unsigned long long>(kCooldownMs));
    }
}

bool RendererSizeMove::Active() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_active;
}

RendererSizeMove::Skip RendererSizeMove::ShouldSkipFrame(uint64_t now, bool leftButtonDown) {
    const char* forcedReason = nullptr;
    uint64_t activeMs = 0;
    uint64_t idleMs = 0;
    uint32_t forcedSkipped = 0;
    Skip skip = Skip::None;
    uint32_t count = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_active) {
            activeMs = now > m_startTick ? now - m_startTick : 0;
            idleMs = now > m_activityTick ? now - m_activityTick : 0;
            if (!leftButtonDown && idleMs > kLostExitIdleMs)
                forcedReason = "lost-exit";
            else if (activeMs > kHardStaleActiveMs && idleMs > kHardStaleIdleMs)
                forcedReason = "hard-stale";
            if (forcedReason != nullptr) {
                m_active = false;
                m_startTick = 0;
                m_activityTick = 0;
                m_cooldownEnd = now + kCooldownMs;
                forcedSkipped = m_skippedFrames;
                m_skippedFrames = 0;
                m_skippedResizes = 0;
            }
        }
        if (m_active)
            skip = Skip::Active;
        else if (now < m_cooldownEnd)
            skip = Skip::Cooldown;
        if (skip != Skip::None)
            count = ++m_skippedFrames;
    }
    if (forcedReason != nullptr) {
        Log::Write(
            "[RESIZE-SM][RENDER-WATCHDOG] force renderer sizemove OFF activeMs=%llu idleMs=%llu lbutton=%d "
            "reason=%s cooldownMs=%llu skippedFrames=%lu",
            static_cast<unsigned long long>(activeMs), static_cast<unsigned long long>(idleMs),
            leftButtonDown ? 1 : 0, forcedReason, static_cast<unsigned long long>(kCooldownMs),
            static_cast<unsigned long>(forcedSkipped));
    }
    if (skip != Skip::None && count % 30 == 1) {
        Log::Write("[RESIZE-SM] skip render frame during %s count=%lu",
                   skip == Skip::Active ? "active" : "cooldown", static_cast<unsigned long>(count));
    }
    return skip;
}

RendererSizeMove::Skip RendererSizeMove::Paused(uint64_t now) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_active)
        return Skip::Active;
    return now < m_cooldownEnd ? Skip::Cooldown : Skip::None;
}

uint32_t RendererSizeMove::CountDeferredResize() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return ++m_skippedResizes;
}

uint32_t RendererSizeMove::SkippedFrames() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_skippedFrames;
}

uint32_t RendererSizeMove::SkippedResizes() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_skippedResizes;
}

void RendererSizeMove::Reset() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_active = false;
    m_startTick = 0;
    m_activityTick = 0;
    m_cooldownEnd = 0;
    m_skippedFrames = 0;
    m_skippedResizes = 0;
}
