#include <windows.h>

#include <string>

#include "core/win/TextConvert.h"
#include "service/win/SddlSecurity.h"
#include "service/win/WardletSupport.h"

UniqueHandle CreateServiceEvent(const char16_t* name, const char16_t* sddl, bool manualReset) {
    const std::wstring wideName = name != nullptr ? AsWide(name) : std::wstring();
    DWORD error = 0;
    HANDLE event = nullptr;
    {
        SddlSecurity security(sddl);
        event = ::CreateEventW(security.Get(), manualReset ? TRUE : FALSE, FALSE,
                               name != nullptr ? wideName.c_str() : nullptr);
        error = ::GetLastError();
    }
    // Callers read the error: ERROR_ALREADY_EXISTS on success, the cause on failure. Freeing the descriptor
    // must not change it.
    ::SetLastError(error);
    return UniqueHandle(event);
}
