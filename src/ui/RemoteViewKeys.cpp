#include "ui/RemoteViewKeys.h"

namespace {
constexpr uint32_t kVkF11 = 0x7A;
constexpr uint32_t kVkZero = '0';
} // namespace

bool StateViewDebounce::Accept(uint32_t now) {
    if (m_hasToggled && now - m_lastToggle < kStateViewDebounceMs)
        return false;
    m_hasToggled = true;
    m_lastToggle = now;
    return true;
}

RemoteViewKeyAction DecideRemoteViewKeyDown(uint32_t virtualKey, bool ctrl, bool alt, uint32_t now,
                                            StateViewDebounce& debounce) {
    if (!ctrl || !alt)
        return RemoteViewKeyAction::Send;
    if (virtualKey == kVkF11)
        return RemoteViewKeyAction::ToggleFullscreen;
    if (virtualKey == kVkZero)
        return debounce.Accept(now) ? RemoteViewKeyAction::ToggleStateView
                                    : RemoteViewKeyAction::StateViewDebounced;
    return RemoteViewKeyAction::Send;
}
