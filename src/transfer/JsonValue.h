#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Values of one flat JSON object text, as the manifest's items hold them. Not a general JSON parser: a key
// is found only outside string literals, so a name that quotes a key cannot stand in for it.

// Where the value of "key" starts (the character right after its colon), npos when the key is absent.
size_t JsonFindValue(std::string_view object, std::string_view key);
// Where the string literal that opens at text[open] (a double quote) closes, honouring backslash escapes;
// npos when it does not close.
size_t JsonStringEnd(std::string_view text, size_t open);
// The UTF-8 value of a string member: empty when absent or when the value does not begin right after the
// colon with a double quote. Escapes are undone; \u escapes become UTF-8 (surrogate pairs combined, a lone
// surrogate in its three-byte form).
std::string JsonGetString(std::string_view object, std::string_view key);
// The unsigned decimal value of a number member: 0 when absent, negative or not a number; saturates.
uint64_t JsonGetNumber(std::string_view object, std::string_view key);
