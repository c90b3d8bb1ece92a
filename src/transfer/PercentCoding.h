#pragma once

#include <string>
#include <string_view>

// The percent coding of file paths inside the item URLs of a manifest ("/file?id=...&path=<coded>").

// A-Z, a-z, 0-9, "-", ".", "_", "~" and "/" stay; every other byte becomes "%" and two upper-case hex digits.
std::string PercentEncode(std::string_view text);
// "%" and two hex digits (either case) become that byte; a "%" without two hex digits after it stays as it
// is; "+" becomes a space; other bytes are copied. PercentDecode(PercentEncode(x)) == x for every x.
std::string PercentDecode(std::string_view text);
