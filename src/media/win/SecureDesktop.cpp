#include "media/win/SecureDesktop.h"

#include <string>

#include "core/Log.h"
#include "core/win/Handles.h"
#include "core/win/TextConvert.h"
#include "service/WardletShared.h"

bool IsSecureDesktopActive() {
    UniqueDesktop desktop(::OpenInputDesktop(0, FALSE, DESKTOP_READOBJECTS));
    if (desktop.Get() == nullptr)
        return true;
    wchar_t name[256] = {};
    DWORD needed = 0;
    // Room for the terminator is kept, so a name that fills the buffer is still terminated.
    if (!::GetUserObjectInformationW(desktop.Get(), UOI_NAME, name, sizeof name - sizeof name[0], &needed))
        return true;
    return ::CompareStringOrdinal(name, -1, L"Default", -1, TRUE) != CSTR_EQUAL;
}

bool RequestSecureDesktopWorkerFrame(const char* reason) {
    const std::wstring name = AsWide(kSecureCaptureRequestEventName);
    UniqueHandle event(::OpenEventW(EVENT_MODIFY_STATE, FALSE, name.c_str()));
    if (!event) {
        const DWORD error = ::GetLastError();
        Log::Write("[SECURE_VIDEO][WORKER_REQUEST_FAIL] reason=%s error=%lu event=%ls", reason, error,
                   name.c_str());
        return false;
    }
    const bool ok = ::SetEvent(event.Get()) != FALSE;
    const DWORD error = ok ? 0 : ::GetLastError();
    Log::Write("[SECURE_VIDEO][WORKER_REQUEST] reason=%s ok=%d error=%lu event=%ls", reason, ok ? 1 : 0,
               error, name.c_str());
    return ok;
}
