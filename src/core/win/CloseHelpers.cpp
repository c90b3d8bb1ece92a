#include "core/win/CloseHelpers.h"

#include <utility>

#include "core/Log.h"

// mingw's g++ has no __try/__except, so a structured exception raised inside these calls cannot be caught
// here; the calls are made directly. Outside a debugger a stale or foreign value does not raise one anyway:
// Winsock answers it with WSAENOTSOCK and CloseHandle with ERROR_INVALID_HANDLE, and neither is logged.

void ShutdownSocketQuiet(SOCKET socket) {
    if (socket != INVALID_SOCKET)
        ::shutdown(socket, SD_BOTH);
}

void CloseSocketLogged(SOCKET socket, const char* label) {
    if (socket == INVALID_SOCKET || ::closesocket(socket) == 0)
        return;
    int wsa = ::WSAGetLastError();
    if (wsa != WSAEINVAL && wsa != WSAENOTSOCK)
        Log::Write("%s: closesocket failed wsa=%d", label ? label : "socket", wsa);
}

void CloseHandleLogged(HANDLE& handle, const char* label) {
    HANDLE h = std::exchange(handle, nullptr);
    if (h == nullptr || h == INVALID_HANDLE_VALUE || ::CloseHandle(h))
        return;
    DWORD error = ::GetLastError();
    if (error != ERROR_INVALID_HANDLE)
        Log::Write("%s: CloseHandle failed gle=%lu", label ? label : "handle",
                   static_cast<unsigned long>(error));
}
