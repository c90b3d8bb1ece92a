#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "core/win/Handles.h"

// Process and token helpers of the session host.

// Ids of the processes with this executable name (case-insensitive) in the session, in Toolhelp order.
std::vector<uint32_t> ProcessesInSession(const wchar_t* exeName, uint32_t session);

// Enables a privilege in the service process's token; false when the token does not hold it.
bool EnablePrivilege(const wchar_t* name);

// A primary SYSTEM token duplicated from the session's winlogon.exe (the token the prelogin host and the
// capture worker run with); null with `error` set when there is none.
UniqueHandle WinlogonSystemToken(uint32_t session, DWORD& error);

// Milliseconds since the process was created; nullopt when its times cannot be read.
std::optional<uint64_t> ProcessAgeMs(HANDLE process);
