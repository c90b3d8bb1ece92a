#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Reading the server's answer: the header up to its blank line, the status and the body length.
namespace HttpClient {

// A header that grows past this without its blank line is refused (the peer is not a file server).
constexpr size_t kMaxHeaderBytes = 131072;

// Collects received blocks until the header's blank line. The bytes after it are the first body bytes.
class HeaderReader {
public:
    enum class State { NeedMore, Complete, TooLarge };

    State Add(std::string_view block);
    State Current() const { return m_state; }
    // Valid once Complete: the header up to and including "\r\n\r\n", and what followed it.
    std::string_view Header() const { return std::string_view(m_buffer).substr(0, m_headerBytes); }
    std::string_view Remainder() const { return std::string_view(m_buffer).substr(m_headerBytes); }
    size_t BufferedBytes() const { return m_buffer.size(); }

private:
    std::string m_buffer;
    size_t m_headerBytes = 0;
    State m_state = State::NeedMore;
};

// "HTTP/1.1 200" or "HTTP/1.0 200" at the start, followed by a space or the line end.
bool IsStatusOk(std::string_view header);
// The three status digits for messages ("???" when the status line has none).
std::string StatusCode(std::string_view header);
// The Content-Length header's value (field name in any case, at a line start); nullopt when there is none
// or it holds no digits. A value too large for 64 bits reads as UINT64_MAX, which no bound accepts.
std::optional<uint64_t> ContentLength(std::string_view header);

} // namespace HttpClient
