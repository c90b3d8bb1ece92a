#include "link/win/LocalIdentityWin.h"

#include <windows.h>

#include "core/Log.h"
#include "core/win/TextConvert.h"

namespace Discovery {

LocalIdentity ReadLocalIdentity() {
    // The wide call, so that a name outside the ANSI code page reaches the peer and the log as UTF-8.
    wchar_t name[128] = {};
    DWORD length = static_cast<DWORD>(sizeof name / sizeof name[0]);
    if (!::GetComputerNameW(name, &length)) {
        Log::Write("[DISCOVERY][IDENTITY] computer name unavailable gle=%lu; using defaults",
                   static_cast<unsigned long>(::GetLastError()));
        return MakeLocalIdentity("");
    }
    return MakeLocalIdentity(WideToUtf8(name));
}

PrimaryScreenSize ReadPrimaryScreenSize() {
    return PrimaryScreenSize{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

} // namespace Discovery
