#include "ui/StateViewToggleGate.h"

bool StateViewToggleGate::Admit(uint32_t now) {
    if (m_toggled && now - m_lastTick < kStateViewToggleDebounceMs)
        return false;
    m_toggled = true;
    m_lastTick = now;
    return true;
}
