#include "core/LogLine.h"

#include <cstdio>

size_t FormatLogPrefix(char* buffer, size_t capacity, const LocalTimeStamp& t, uint32_t threadId) {
    int n = std::snprintf(buffer, capacity, "%04u-%02u-%02u %02u:%02u:%02u.%03u tid=%lu ", unsigned(t.year),
                          unsigned(t.month), unsigned(t.day), unsigned(t.hour), unsigned(t.minute), unsigned(t.second),
                          unsigned(t.milliseconds), static_cast<unsigned long>(threadId));
    if (n <= 0 || static_cast<size_t>(n) >= capacity)
        return 0;
    return static_cast<size_t>(n);
}

size_t Utf8CompleteLength(std::string_view text) {
    size_t len = text.size();
    // Walk back over at most three continuation bytes to the lead byte of the last character.
    size_t i = len;
    size_t back = 0;
    while (i > 0 && back < 4) {
        unsigned char c = static_cast<unsigned char>(text[i - 1]);
        if ((c & 0xC0) != 0x80) {
            size_t need = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 1;
            size_t have = len - (i - 1);
            return have < need ? i - 1 : len;
        }
        --i;
        ++back;
    }
    return len;
}

size_t AppendEscapedMessage(char* out, size_t room, std::string_view message) {
    static const char kHex[] = "0123456789abcdef";
    size_t n = 0;
    bool cut = false;
    for (char ch : message) {
        unsigned char c = static_cast<unsigned char>(ch);
        char esc[4];
        size_t len = 0;
        if (c == '\r') {
            esc[0] = '\\', esc[1] = 'r', len = 2;
        } else if (c == '\n') {
            esc[0] = '\\', esc[1] = 'n', len = 2;
        } else if (c < 0x20 && c != '\t') {
            esc[0] = '\\', esc[1] = 'x', esc[2] = kHex[c >> 4], esc[3] = kHex[c & 15], len = 4;
        } else {
            esc[0] = ch, len = 1;
        }
        if (n + len > room) {
            cut = true;
            break;
        }
        for (size_t i = 0; i < len; ++i)
            out[n++] = esc[i];
    }
    if (cut)
        n = Utf8CompleteLength(std::string_view(out, n));
    return n;
}
