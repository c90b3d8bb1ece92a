#pragma once

#include <winsock2.h>
#include <windows.h>

// Close routines shared by every network service. None of them throws; each leaves alone a value that is
// already invalid and logs nothing for it.

// Shuts down both directions of a valid socket; the result does not matter to the caller.
void ShutdownSocketQuiet(SOCKET socket);

// Closes a valid socket. A failure other than "not a socket" or "invalid argument" is logged as
// "<label>: closesocket failed wsa=N" (label "socket" when null). The caller resets its own variable.
void CloseSocketLogged(SOCKET socket, const char* label);

// Takes the handle out of the caller's variable (which becomes 0) and closes it unless it was 0 or
// INVALID_HANDLE_VALUE. A failure other than ERROR_INVALID_HANDLE is logged as
// "<label>: CloseHandle failed gle=N" (label "handle" when null).
void CloseHandleLogged(HANDLE& handle, const char* label);
