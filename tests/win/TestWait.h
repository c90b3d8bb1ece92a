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

// The same for a thread that owns windows: while it waits, its messages are dispatched, so windows the test
// drives keep answering. Nothing is dispatched when done already holds, so what a test has queued stays
// queued until it waits.
template <typename Done> bool PumpUntil(Done done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}
