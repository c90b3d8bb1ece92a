#pragma once

#include <windows.h>

// Polls done every few milliseconds until it holds or timeoutMs have passed; whether it held. Waits in tests
// are bounded this way rather than by fixed sleeps.
template <typename Done> bool WaitUntil(Done done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(5);
    }
    return true;
}
