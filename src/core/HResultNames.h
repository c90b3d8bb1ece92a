#pragma once

#include <cstddef>
#include <cstdint>

// Symbolic name of a common S_, E_, DXGI_ERROR_ or MF_E_ code, or "" when it is not one of them.
const char* HResultName(int32_t hr);

// "0x%08X %s %s" (code, name, system text), or "0x%08X %s" without system text, into buffer.
void FormatHResultText(char* buffer, size_t capacity, int32_t hr, const char* systemText);
