#pragma once

#include <cstdint>

class RendererSizeMove;

// When the swap chain's buffers follow the window's client size. ResizeBuffers stalls the GPU queue and
// recreates the back buffers, so it is never done during the modal move/size loop or its cool-down, and
// outside it only once a requested size has held still for 320 ms. A request deferred by the pause starts
// its 320 ms when the pause is over, so a drag ends with exactly one ResizeBuffers.
//
// Lives on the render thread; times are the caller's monotonic milliseconds.
class RendererResizeRule {
public:
    static constexpr uint64_t kStableMs = 320;
    static constexpr uint64_t kDebounceLogMs = 500;

    enum class Action {
        Refuse, // a size below 1: the draw fails
        Keep,   // buffers already have that size: draw
        Apply,  // ResizeBuffers to the size now, then draw
        Wait,   // a resize is pending: this frame is not drawn
    };

    explicit RendererResizeRule(RendererSizeMove& sizeMove) : m_sizeMove(sizeMove) {}

    // currentW/H: the buffers' size; hasView: a render-target view exists (none before the first draw, which
    // resizes at once).
    Action Decide(int32_t width, int32_t height, int32_t currentW, int32_t currentH, bool hasView,
                  uint64_t now);

    bool Pending() const { return m_pending; }
    // Forgets any pending request (a new device or swap chain).
    void Clear();

private:
    RendererSizeMove& m_sizeMove;
    bool m_pending = false;
    bool m_deferred = false; // the pending request was made during the pause
    int32_t m_requestedW = 0;
    int32_t m_requestedH = 0;
    uint64_t m_requestTick = 0;
    uint64_t m_debounceLogTick = 0;
    bool m_debounceLogged = false;
};
