#include "media/win/SecureDesktop.h"

#include "core/Log.h"
#include "core/win/Handles.h"

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
    UniqueHandle event(::OpenEventW(EVENT_MODIFY_STATE, FALSE, kSecureDesktopCaptureRequestEvent));
    if (!event) {
        const DWORD error = ::GetLastError();
        Log::Write("[SECURE_VIDEO][WORKER_REQUEST_FAIL] reason=%s error=%lu event=%ls", reason, error,
                   kSecureDesktopCaptureRequestEvent);
        return false;
    }
    const bool ok = ::SetEvent(event.Get()) != FALSE;
    const DWORD error = ok ? 0 : ::GetLastError();
    Log::Write("[SECURE_VIDEO][WORKER_REQUEST] reason=%s ok=%d error=%lu event=%ls", reason, ok ? 1 : 0,
               error, kSecureDesktopCaptureRequestEvent);
    return ok;
}
