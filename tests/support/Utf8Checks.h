#pragma once

#include <cstddef>
#include <string_view>

// Structural UTF-8 check: every lead byte is followed by all of its continuation bytes.
inline bool IsCompleteUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t need = c < 0x80             ? 1
                      : (c & 0xE0) == 0xC0 ? 2
                      : (c & 0xF0) == 0xE0 ? 3
                      : (c & 0xF8) == 0xF0 ? 4
                                           : 0;
        if (need == 0 || i + need > text.size())
            return false;
        for (size_t k = 1; k < need; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += need;
    }
    return true;
}
