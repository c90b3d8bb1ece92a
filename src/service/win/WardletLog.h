#pragma once

#include <string>

#include "core/Printf.h"

// Wardlet's log, "secure_probe.log" beside its executable, shared by the service, its capture worker and the
// hand-run diagnostics (each appends under a file lock). The format is printf-style UTF-8; %s takes UTF-8.
void WardletLog(const char* format, ...) TSLY_PRINTF(1, 2);

// The log file's full path (shown by "install").
std::wstring WardletLogPath();
