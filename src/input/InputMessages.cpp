#include "input/InputMessages.h"

using namespace InputMessage;

const char* MouseMessageName(uint32_t msg) {
    switch (msg) {
    case kMouseMove:
        return "WM_MOUSEMOVE";
    case kLButtonDown:
        return "WM_LBUTTONDOWN";
    case kLButtonUp:
        return "WM_LBUTTONUP";
    case kLButtonDblClk:
        return "WM_LBUTTONDBLCLK";
    case kRButtonDown:
        return "WM_RBUTTONDOWN";
    case kRButtonUp:
        return "WM_RBUTTONUP";
    case kRButtonDblClk:
        return "WM_RBUTTONDBLCLK";
    case kMButtonDown:
        return "WM_MBUTTONDOWN";
    case kMButtonUp:
        return "WM_MBUTTONUP";
    case kMButtonDblClk:
        return "WM_MBUTTONDBLCLK";
    default:
        return "WM_MOUSE_UNKNOWN";
    }
}

const char* KeyMessageName(uint32_t msg) {
    switch (msg) {
    case kKeyDown:
        return "WM_KEYDOWN";
    case kKeyUp:
        return "WM_KEYUP";
    case kSysKeyDown:
        return "WM_SYSKEYDOWN";
    case kSysKeyUp:
        return "WM_SYSKEYUP";
    default:
        return "WM_KEY_UNKNOWN";
    }
}

int32_t MouseButtonOfMessage(uint32_t msg) {
    if (msg >= kRButtonDown && msg <= kRButtonDblClk)
        return 1;
    if (msg >= kMButtonDown && msg <= kMButtonDblClk)
        return 2;
    return 0;
}

bool IsMouseButtonPress(uint32_t msg) {
    switch (msg) {
    case kLButtonDown:
    case kLButtonDblClk:
    case kRButtonDown:
    case kRButtonDblClk:
    case kMButtonDown:
    case kMButtonDblClk:
        return true;
    default:
        return false;
    }
}

bool IsKeyDownMessage(uint32_t msg) {
    return msg == kKeyDown || msg == kSysKeyDown;
}

bool IsKeyUpMessage(uint32_t msg) {
    return msg == kKeyUp || msg == kSysKeyUp;
}
