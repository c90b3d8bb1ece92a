#pragma once

#include <string>
#include <string_view>

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// The longest start of a UTF-8 text that fits in maxBytes without splitting a character.
std::string_view CutUtf8(std::string_view text, size_t maxBytes);
