#include "dragdrop/RemoteDragOfferText.h"

#include <limits>
#include <utility>

namespace RemoteDragOfferText {

namespace {

// Plain decimal digits only, at most max: strtoull would take "-1" as a huge value and a "+" or spaces.
bool ReadDecimal(std::string_view text, uint64_t max, uint64_t& value) {
    if (text.empty())
        return false;
    uint64_t result = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        const uint64_t digit = static_cast<uint64_t>(c - '0');
        if (digit > max || result > (max - digit) / 10)
            return false;
        result = result * 10 + digit;
    }
    value = result;
    return true;
}

// Takes the line up to the next "\n" (or the end) off the front of rest.
std::string_view TakeLine(std::string_view& rest, bool& ended) {
    const size_t end = rest.find('\n');
    ended = end == std::string_view::npos;
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(ended ? rest.size() : end + 1);
    return line;
}

// A length line, then exactly that many bytes. lastField: nothing need follow the bytes.
bool TakeSized(std::string_view& rest, bool lastField, std::string& out) {
    bool ended = false;
    uint64_t length = 0;
    if (!ReadDecimal(TakeLine(rest, ended), std::numeric_limits<uint32_t>::max(), length) || ended ||
        length > rest.size())
        return false;
    out.assign(rest.substr(0, static_cast<size_t>(length)));
    rest.remove_prefix(static_cast<size_t>(length));
    if (lastField)
        return true;
    if (rest.empty() || rest.front() != '\n')
        return false;
    rest.remove_prefix(1);
    return true;
}

} // namespace

std::string Build(const Fields& fields) {
    std::string text;
    text.reserve(64 + fields.detail.size() + fields.httpPayload.size());
    text += std::to_string(fields.id) + '\n';
    text += std::to_string(fields.count) + '\n';
    text += std::to_string(fields.bytes) + '\n';
    text += fields.folder ? "1\n" : "0\n";
    text += std::to_string(fields.detail.size()) + '\n';
    text += fields.detail + '\n';
    text += std::to_string(fields.httpPayload.size()) + '\n';
    text += fields.httpPayload;
    return text;
}

bool Parse(std::string_view text, Fields& fields) {
    std::string_view rest = text;
    bool ended = false;
    Fields parsed;
    uint64_t count = 0, folder = 0;
    if (!ReadDecimal(TakeLine(rest, ended), std::numeric_limits<uint64_t>::max(), parsed.id) || ended)
        return false;
    if (!ReadDecimal(TakeLine(rest, ended), std::numeric_limits<uint32_t>::max(), count) || ended)
        return false;
    if (!ReadDecimal(TakeLine(rest, ended), std::numeric_limits<uint64_t>::max(), parsed.bytes) || ended)
        return false;
    if (!ReadDecimal(TakeLine(rest, ended), 1, folder))
        return false;
    parsed.count = static_cast<uint32_t>(count);
    parsed.folder = folder != 0;
    if (!ended && (!TakeSized(rest, false, parsed.detail) || !TakeSized(rest, true, parsed.httpPayload)))
        return false;
    if (parsed.count < 1)
        return false;
    fields = std::move(parsed);
    return true;
}

} // namespace RemoteDragOfferText
