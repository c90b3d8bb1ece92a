#include <windows.h>
#include <sddl.h>

#include <memory>
#include <string>

#include "core/win/TextConvert.h"
#include "service/win/WardletSupport.h"

UniqueHandle CreateServiceEvent(const char16_t* name, const char16_t* sddl, bool manualReset) {
    PSECURITY_DESCRIPTOR raw = nullptr;
    if (sddl != nullptr)
        ::ConvertStringSecurityDescriptorToSecurityDescriptorW(AsWide(sddl).c_str(), SDDL_REVISION_1, &raw,
                                                               nullptr);
    std::unique_ptr<void, LocalFreeDeleter> descriptor(raw);
    SECURITY_ATTRIBUTES security = {sizeof security, raw, FALSE};
    const std::wstring wideName = name != nullptr ? AsWide(name) : std::wstring();
    HANDLE event = ::CreateEventW(raw != nullptr ? &security : nullptr, manualReset ? TRUE : FALSE, FALSE,
                                  name != nullptr ? wideName.c_str() : nullptr);
    // Callers read the error: ERROR_ALREADY_EXISTS on success, the cause on failure. Freeing the descriptor
    // must not change it.
    const DWORD error = ::GetLastError();
    descriptor.reset();
    ::SetLastError(error);
    return UniqueHandle(event);
}
