#pragma once

#include <string>
#include <string_view>

// UTF-8 of a wide text; null or empty gives "".
std::string WideToUtf8(const wchar_t* text);
// The same for short names and paths, bounded like a 1040-byte buffer: a longer result is cut at a
// character boundary.
std::string WideToUtf8Bounded(const wchar_t* text);
// Windows wide text seen as the core's UTF-16.
std::u16string_view AsUtf16(const wchar_t* text);
std::wstring AsWide(std::u16string_view text);
