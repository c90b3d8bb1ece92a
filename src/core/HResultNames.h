#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// The code's 32 bits as log lines print it ("hr=0x%08lx").
inline unsigned long HrBits(int32_t hr) {
    return static_cast<unsigned long>(static_cast<uint32_t>(hr));
}

struct HResultNamedCode {
    uint32_t code;
    const char* name;
};

// Symbolic name of a common S_, E_, DXGI_ERROR_ or MF_E_ code, or "" when it is not one of them.
const char* HResultName(int32_t hr);
// Every code HResultName knows, for checks of the table itself.
std::span<const HResultNamedCode> HResultNameTable();

// "0x%08X %s %s" (code, name, system text), or "0x%08X %s" without system text, into buffer.
void FormatHResultText(char* buffer, size_t capacity, int32_t hr, const char* systemText);
