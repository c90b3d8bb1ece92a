#include "media/RendererResizeRule.h"

#include "core/Log.h"
#include "media/RendererSizeMove.h"

RendererResizeRule::Action RendererResizeRule::Decide(int32_t width, int32_t height, int32_t currentW,
                                                      int32_t currentH, bool hasView, uint64_t now) {
    if (width < 1 || height < 1)
        return Action::Refuse;
    if (hasView && width == currentW && height == currentH) {
        m_pending = false;
        m_deferred = false;
        return Action::Keep;
    }
    if (!hasView) {
        Clear();
        return Action::Apply;
    }

    const RendererSizeMove::Skip pause = m_sizeMove.Paused(now);
    if (pause != RendererSizeMove::Skip::None) {
        m_pending = true;
        m_deferred = true;
        m_requestedW = width;
        m_requestedH = height;
        m_requestTick = now;
        const uint32_t skipped = m_sizeMove.CountDeferredResize();
        if (skipped % 30 == 1) {
            Log::Write("[RESIZE-FIX] defer ResizeBuffers reason=%s requested=%dx%d current=%dx%d skip=%lu",
                       pause == RendererSizeMove::Skip::Active ? "sizemove" : "cooldown", width, height,
                       currentW, currentH, static_cast<unsigned long>(skipped));
        }
        return Action::Wait;
    }

    if (m_pending && !m_deferred && width == m_requestedW && height == m_requestedH) {
        const uint64_t stableMs = now - m_requestTick;
        if (stableMs >= kStableMs) {
            Log::Write("[RESIZE-FIX] apply debounced ResizeBuffers final=%dx%d stableMs=%llu", width, height,
                       static_cast<unsigned long long>(stableMs));
            Clear();
            return Action::Apply;
        }
        return Action::Wait;
    }

    m_pending = true;
    m_deferred = false;
    m_requestedW = width;
    m_requestedH = height;
    m_requestTick = now;
    if (!m_debounceLogged || now - m_debounceLogTick >= kDebounceLogMs) {
        m_debounceLogged = true;
        m_debounceLogTick = now;
        Log::Write("[RESIZE-FIX] debounce ResizeBuffers requested=%dx%d current=%dx%d waitMs=%llu", width,
                   height, currentW, currentH, static_cast<unsigned long long>(kStableMs));
    }
    return Action::Wait;
}

void RendererResizeRule::Clear() {
    m_pending = false;
    m_deferred = false;
    m_requestedW = 0;
    m_requestedH = 0;
    m_requestTick = 0;
}
