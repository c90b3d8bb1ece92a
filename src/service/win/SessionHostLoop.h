#pragma once

#include <windows.h>

#include "core/win/Handles.h"
#include "service/SessionHost.h"
#include "service/win/SessionSystem.h"

// The six events of the running service: two of its own (unnamed, manual-reset) and the four named ones
// Tessaly signals or waits on.
struct SessionHostEvents {
    UniqueHandle stop;
    UniqueHandle sessionChange;
    UniqueHandle requestUserHost;
    UniqueHandle userHostReady;
    UniqueHandle exitRequested;
    UniqueHandle captureRequest;
};

// Creates all six, all clear; false with the Win32 error of the first one that failed (logged).
bool CreateSessionHostEvents(SessionHostEvents& events, DWORD& error);

// The service loop: maintenance passes every 2 s and on every event, until the stop event is set. The host
// process is left running when it returns; the worker is stopped.
void ServiceLoop(const SessionHostEvents& events, SessionSystem& system, SessionHost& host);
