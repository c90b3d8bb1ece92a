#include "transfer/HttpResponse.h"

#include <cstdint>
#include <limits>

namespace HttpClient {

namespace {

constexpr std::string_view kBlankLine = "\r\n\r\n";

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (Lower(text[i]) != prefix[i])
            return false;
    return true;
}

} // namespace

HeaderReader::State HeaderReader::Add(std::string_view block) {
    if (m_state != State::NeedMore)
        return m_state;
    // The blank line may straddle two blocks: search from a little before the new bytes.
    size_t searchFrom =
        m_buffer.size() >= kBlankLine.size() - 1 ? m_buffer.size() - (kBlankLine.size() - 1) : 0;
    m_buffer.append(block);
    size_t end = m_buffer.find(kBlankLine, searchFrom);
    if (end != std::string::npos && end + kBlankLine.size() <= kMaxHeaderBytes) {
        m_headerBytes = end + kBlankLine.size();
        m_state = State::Complete;
    } else if (m_buffer.size() > kMaxHeaderBytes) {
        m_state = State::TooLarge;
    }
    return m_state;
}

bool IsStatusOk(std::string_view header) {
    std::string_view start = header.substr(0, 12);
    if (start != "HTTP/1.1 200" && start != "HTTP/1.0 200")
        return false;
    return header.size() > 12 && (header[12] == ' ' || header[12] == '\r');
}

std::string StatusCode(std::string_view header) {
    if (header.size() >= 12 && header.substr(0, 5) == "HTTP/" && header[8] == ' ') {
        std::string code(header.substr(9, 3));
        if (code.find_first_not_of("0123456789") == std::string::npos)
            return code;
    }
    return "???";
}

std::optional<uint64_t> ContentLength(std::string_view header) {
    constexpr std::string_view kName = "content-length:";
    for (size_t line = header.find("\r\n"); line != std::string_view::npos;
         line = header.find("\r\n", line + 2)) {
        std::string_view rest = header.substr(line + 2);
        if (!StartsWithIgnoringCase(rest, kName))
            continue;
        size_t at = kName.size();
        while (at < rest.size() && (rest[at] == ' ' || rest[at] == '\t'))
            ++at;
        if (at >= rest.size() || rest[at] < '0' || rest[at] > '9')
            return std::nullopt;
        uint64_t value = 0;
        for (; at < rest.size() && rest[at] >= '0' && rest[at] <= '9'; ++at) {
            uint64_t digit = static_cast<uint64_t>(rest[at] - '0');
            if (value > (std::numeric_limits<uint64_t>::max() - digit) / 10)
                return std::numeric_limits<uint64_t>::max();
            value = value * 10 + digit;
        }
        return value;
    }
    return std::nullopt;
}

} // namespace HttpClient
