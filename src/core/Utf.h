#pragma once

#include <optional>
#include <string>
#include <string_view>

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
// UTF-8 to UTF-16; a byte that does not start a well-formed sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
// The same for text that must be exact, such as a path: nothing when any byte is malformed.
std::optional<std::u16string> Utf8ToUtf16Strict(std::string_view text);

// Case-insensitive comparison of UTF-16 texts such as Windows paths and adapter names. One simple folding:
// the capitals of ASCII, Latin-1, Greek and Cyrillic become small letters; anything else compares as it is.
char16_t FoldCase(char16_t c);
bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);
bool ContainsIgnoringCase(std::u16string_view text, std::u16string_view needle);

// The longest start of text of at most maxUnits units that does not split a surrogate pair.
std::u16string_view HeadUtf16(std::u16string_view text, size_t maxUnits);
// The shortest end of text of at most maxUnits units that does not start inside a surrogate pair.
std::u16string_view TailUtf16(std::u16string_view text, size_t maxUnits);

// The longest start of a UTF-8 text that fits in maxBytes without splitting a character.
std::string_view CutUtf8(std::string_view text, size_t maxBytes);
