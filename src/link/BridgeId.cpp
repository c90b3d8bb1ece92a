#include "link/BridgeId.h"

#include <string>

namespace {

bool StringMatches(std::u16string_view text) {
    // Only ASCII letters can take part in a match, so ASCII upper-casing is the whole rule.
    std::string folded;
    folded.reserve(text.size());
    for (char16_t c : text) {
        if (c == u'{' || c == u'}')
            continue;
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - u'a' + u'A');
        folded.push_back(c < 0x80 ? static_cast<char>(c) : '\x7f');
    }
    return folded.find(kBridgeId) != std::string::npos;
}

} // namespace

bool MatchesBridgeId(std::u16string_view text) {
    while (!text.empty()) {
        size_t end = text.find(u'\0');
        if (StringMatches(text.substr(0, end)))
            return true;
        if (end == std::u16string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return false;
}
