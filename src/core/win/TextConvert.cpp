#include "core/win/TextConvert.h"

#include <cstring>

#include "core/LogLine.h"
#include "core/Utf.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide text is UTF-16");

std::u16string_view AsUtf16(const wchar_t* text) {
    return text ? std::u16string_view(reinterpret_cast<const char16_t*>(text)) : std::u16string_view();
}

std::wstring AsWide(std::u16string_view text) {
    return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

std::string WideToUtf8(const wchar_t* text) { return Utf16ToUtf8(AsUtf16(text)); }

std::string WideToUtf8Bounded(const wchar_t* text) {
    constexpr size_t kBufferSize = 1040;
    std::string utf8 = WideToUtf8(text);
    if (utf8.size() >= kBufferSize)
        utf8.resize(Utf8CompleteLength(std::string_view(utf8.data(), kBufferSize - 1)));
    return utf8;
}
