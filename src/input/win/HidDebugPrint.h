#pragma once

#include <cstdio> // before Printf.h: defines the mingw printf flavour it names

#include "core/Printf.h"

// Debugger output of the cable's device layer: "[HKAPP]-<text>" through OutputDebugStringA while the
// environment variable MARLO_ENABLE_OUTPUT_DEBUG_STRING begins with '1'. The text is cut at 1,023 bytes.
void HidDebugPrint(const char* format, ...) TSLY_PRINTF(1, 2);
