#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// A JSON string literal of any bytes, escaped as the sending side writes manifest names: the short escapes
// for backspace, tab, line feed, form feed, carriage return, quote and backslash, "\u00XX" for the other
// control bytes, everything else as it is.
inline std::string JsonQuoted(std::string_view text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\u%04x", c);
                out += hex;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}
