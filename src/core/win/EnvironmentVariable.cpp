#include "core/win/EnvironmentVariable.h"

#include <windows.h>

std::optional<std::wstring> EnvironmentValue(const wchar_t* name) {
    // Another thread may lengthen the value between the two calls: then ask again, a bounded number of times.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD chars = ::GetEnvironmentVariableW(name, nullptr, 0); // with the terminator, so 0 is unset
        if (chars == 0)
            return std::nullopt;
        std::wstring value(chars, L'\0');
        DWORD got = ::GetEnvironmentVariableW(name, value.data(), chars);
        if (got < chars) {
            value.resize(got);
            return value;
        }
    }
    return std::nullopt;
}
