#include "ui/ResizeHoverLog.h"

ResizeHoverLog::Line ResizeHoverLog::Observe(int32_t hit, uint64_t now) {
    if (!m_known || hit != m_hit) {
        m_known = true;
        m_hit = hit;
        m_lastLogTick = now;
        return Line::Changed;
    }
    if (now - m_lastLogTick < kKeepIntervalMs)
        return Line::None;
    m_lastLogTick = now;
    return Line::Keep;
}
