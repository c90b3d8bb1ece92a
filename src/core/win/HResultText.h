#pragma once

#include <cstdint>

// "0x%08X NAME system text" for an HRESULT; lives in a per-thread buffer until the thread's next call.
const char* HResultToText(int32_t hr);
