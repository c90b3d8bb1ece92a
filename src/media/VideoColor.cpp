#include "media/VideoColor.h"

bool IsEnvSwitchOn(const char* value) {
    if (value == nullptr) {
        return false;
    }
    switch (value[0]) {
    case '1':
    case 'T':
    case 't':
    case 'Y':
    case 'y':
        return true;
    default:
        return false;
    }
}
