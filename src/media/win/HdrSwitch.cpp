#include "media/win/HdrSwitch.h"

#include <windows.h>

#include "media/VideoColor.h"

bool IsHdrFrameworkEnabled() {
    // A value that does not fit the 16 bytes counts as not set.
    char value[16] = {};
    DWORD len = ::GetEnvironmentVariableA("TSLY_ENABLE_HDR", value, sizeof value);
    if (len == 0 || len >= sizeof value) {
        return false;
    }
    return IsEnvSwitchOn(value);
}
