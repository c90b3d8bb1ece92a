#include "input/VirtualKeyName.h"

const char* VirtualKeyName(uint32_t vk) {
    switch (vk) {
    case 9:
        return "TAB";
    case 13:
        return "ENTER";
    case 16:
        return "SHIFT";
    case 17:
        return "CTRL";
    case 18:
        return "ALT";
    case 20:
        return "CAPS";
    case 27:
        return "ESC";
    case 32:
        return "SPACE";
    case 91:
        return "LWIN";
    case 92:
        return "RWIN";
    case 144:
        return "NUM";
    case 145:
        return "SCROLL";
    case 160:
        return "LSHIFT";
    case 161:
        return "RSHIFT";
    case 162:
        return "LCTRL";
    case 163:
        return "RCTRL";
    case 164:
        return "LALT";
    case 165:
        return "RALT";
    default:
        return "";
    }
}
