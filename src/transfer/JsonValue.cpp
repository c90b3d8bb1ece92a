#include "transfer/JsonValue.h"

#include <limits>
#include <string>

#include "core/Utf.h"

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The four hex digits at text[at..at+4) as a number, or -1.
int32_t Hex4(std::string_view text, size_t at) {
    if (at + 4 > text.size())
        return -1;
    int32_t value = 0;
    for (size_t i = 0; i < 4; ++i) {
        int digit = HexValue(text[at + i]);
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

// A lone surrogate keeps its own three-byte form (as the sender's text had it); every other code point is
// UTF-16 turned into UTF-8.
void AppendCodePoint(std::string& out, char32_t c) {
    if (c >= 0xD800 && c <= 0xDFFF) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += Utf16ToUtf8(std::u16string(1, static_cast<char16_t>(c)));
    } else {
        const char16_t pair[2] = {static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)),
                                  static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF))};
        out += Utf16ToUtf8(std::u16string_view(pair, 2));
    }
}

// Reads a \u escape whose "u" stands at text[at]; returns the index after what it consumed.
size_t ReadUnicodeEscape(std::string_view text, size_t at, std::string& out) {
    size_t digits = at + 1;
    if (digits + 4 > text.size())
        return digits; // too short: the backslash and the u are dropped
    int32_t unit = Hex4(text, digits);
    if (unit < 0)
        return digits; // not hex: the four characters are read as text
    size_t next = digits + 4;
    char32_t code = static_cast<char32_t>(unit);
    if (unit >= 0xD800 && unit <= 0xDBFF && next + 6 <= text.size() && text[next] == '\\' &&
        text[next + 1] == 'u') {
        int32_t low = Hex4(text, next + 2);
        if (low >= 0xDC00 && low <= 0xDFFF) {
            code = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                   (static_cast<char32_t>(low) - 0xDC00);
            next += 6;
        }
    }
    AppendCodePoint(out, code);
    return next;
}

} // namespace

size_t JsonStringEnd(std::string_view text, size_t open) {
    for (size_t i = open + 1; i < text.size(); ++i) {
        if (text[i] == '\\')
            ++i;
        else if (text[i] == '"')
            return i;
    }
    return std::string_view::npos;
}

size_t JsonFindValue(std::string_view object, std::string_view key) {
    for (size_t i = 0; i < object.size(); ++i) {
        if (object[i] != '"')
            continue;
        size_t close = JsonStringEnd(object, i);
        if (close == std::string_view::npos)
            return std::string_view::npos;
        if (object.substr(i + 1, close - i - 1) == key && close + 1 < object.size() &&
            object[close + 1] == ':')
            return close + 2;
        i = close;
    }
    return std::string_view::npos;
}

std::string JsonGetString(std::string_view object, std::string_view key) {
    size_t at = JsonFindValue(object, key);
    std::string out;
    if (at == std::string_view::npos || at >= object.size() || object[at] != '"')
        return out;
    for (size_t i = at + 1; i < object.size();) {
        char c = object[i];
        if (c == '"')
            break;
        if (c != '\\') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 >= object.size()) {
            out += c; // a final backslash stays as it is
            break;
        }
        char e = object[i + 1];
        switch (e) {
        case 'b':
            out += '\b';
            break;
        case 'f':
            out += '\f';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 'u':
            i = ReadUnicodeEscape(object, i + 1, out);
            continue;
        default:
            out += e;
            break; // \" \\ \/ and anything else: the character itself
        }
        i += 2;
    }
    return out;
}

uint64_t JsonGetNumber(std::string_view object, std::string_view key) {
    size_t at = JsonFindValue(object, key);
    if (at == std::string_view::npos)
        return 0;
    while (at < object.size() &&
           (object[at] == ' ' || object[at] == '\t' || object[at] == '\r' || object[at] == '\n'))
        ++at;
    if (at < object.size() && object[at] == '+')
        ++at;
    uint64_t value = 0;
    for (; at < object.size() && object[at] >= '0' && object[at] <= '9'; ++at) {
        uint64_t digit = static_cast<uint64_t>(object[at] - '0');
        if (value > (std::numeric_limits<uint64_t>::max() - digit) / 10)
            return std::numeric_limits<uint64_t>::max();
        value = value * 10 + digit;
    }
    return value;
}
