#include "core/Utf.h"

#include "core/LogLine.h"

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

namespace {

// Decodes text into out, a byte that does not start a well-formed sequence as U+FFFD; whether there was none.
bool DecodeUtf8(std::string_view text, std::u16string& out) {
    bool wellFormed = true;
    out.clear();
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t extra = 0;
        char32_t c = 0;
        char32_t minimum = 0;
        bool malformed = false;
        if (lead < 0x80) {
            c = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1, c = lead & 0x1F, minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2, c = lead & 0x0F, minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3, c = lead & 0x07, minimum = 0x10000;
        } else {
            malformed = true;
        }
        size_t used = 1;
        for (size_t k = 1; k <= extra; ++k) {
            const auto next = i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0;
            if ((next & 0xC0) != 0x80) {
                malformed = true, extra = 0;
                break;
            }
            c = (c << 6) | (next & 0x3F);
            used = k + 1;
        }
        if (extra != 0 && (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)))
            malformed = true;
        if (malformed)
            c = 0xFFFD, wellFormed = false;
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
        i += used;
    }
    return wellFormed;
}

} // namespace

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    DecodeUtf8(text, out);
    return out;
}

std::optional<std::u16string> Utf8ToUtf16Strict(std::string_view text) {
    std::u16string out;
    if (!DecodeUtf8(text, out))
        return std::nullopt;
    return out;
}

std::string_view CutUtf8(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes)
        return text;
    return text.substr(0, Utf8CompleteLength(text.substr(0, maxBytes)));
}

char16_t FoldCase(char16_t c) {
    if (c >= u'A' && c <= u'Z')
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2)
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0x410 && c <= 0x42F)
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0x400 && c <= 0x40F)
        return static_cast<char16_t>(c + 0x50);
    return c;
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    return true;
}

bool ContainsIgnoringCase(std::u16string_view text, std::u16string_view needle) {
    if (needle.size() > text.size())
        return false;
    for (size_t at = 0; at + needle.size() <= text.size(); ++at)
        if (EqualsIgnoringCase(text.substr(at, needle.size()), needle))
            return true;
    return false;
}

std::u16string_view HeadUtf16(std::u16string_view text, size_t maxUnits) {
    if (text.size() <= maxUnits)
        return text;
    size_t len = maxUnits;
    if (len > 0 && text[len - 1] >= 0xD800 && text[len - 1] <= 0xDBFF)
        --len;
    return text.substr(0, len);
}

std::u16string_view TailUtf16(std::u16string_view text, size_t maxUnits) {
    if (text.size() <= maxUnits)
        return text;
    size_t start = text.size() - maxUnits;
    if (text[start] >= 0xDC00 && text[start] <= 0xDFFF)
        ++start;
    return text.substr(start);
}
