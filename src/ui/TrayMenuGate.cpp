#include "ui/TrayMenuGate.h"

TrayUiFlags& TrayFlags() {
    static TrayUiFlags flags;
    return flags;
}

TrayNotifyAction ClassifyTrayNotify(uint32_t event) {
    switch (event) {
    case 0x202: // left button up
    case 0x203: // left double click
    case 0x400: // select
        return TrayNotifyAction::Restore;
    case 0x205: // right button up
    case 0x07B: // context menu
    case 0x401: // key select
        return TrayNotifyAction::RequestMenu;
    default:
        return TrayNotifyAction::Ignore;
    }
}

TrayMenuRequest DecideTrayMenuRequest(const TrayUiFlags& flags, uint32_t now) {
    if (flags.menuOpen)
        return TrayMenuRequest::IgnoredMenuOpen;
    if (flags.menuRequestPending && now - flags.menuRequestTick < kTrayMenuCoalesceMs)
        return TrayMenuRequest::Coalesced;
    return TrayMenuRequest::Post;
}
