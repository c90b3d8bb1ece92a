#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The requests of the HTTP file server. One request per connection; only GET of two targets is served:
//   "/manifest" or "/manifest?id=<offer>"             -> the manifest JSON of that offer (no id: the newest)
//   "/file?id=<offer>&path=<percent-coded abs path>"  -> one file of that offer's manifest (no id: the
//   newest)
// Anything else with GET answers 404, another method or a request line without two spaces 405.

// The request head (request line and header lines, up to and including the blank line) may not be larger.
constexpr size_t kRequestHeadMaxBytes = 16 * 1024;

// Collects the request head from as many receive calls as the peer needs, never holding more than
// kRequestHeadMaxBytes. Bytes after the blank line are not kept (requests have no body).
class HttpRequestHeadReader {
public:
    enum class State { NeedMore, Complete, TooLarge };

    // Adds received bytes; once Complete or TooLarge, further bytes change nothing.
    State Feed(std::string_view bytes);
    State Current() const { return m_state; }
    // Complete: the head up to and including "\r\n\r\n". Otherwise the bytes received so far.
    const std::string& Head() const { return m_head; }

private:
    std::string m_head;
    State m_state = State::NeedMore;
};

enum class HttpRouteKind { Manifest, File, NotFound, MethodNotAllowed };

struct HttpRoute {
    HttpRouteKind kind = HttpRouteKind::NotFound;
    bool hasOfferId = false; // false: the newest offer
    uint64_t offerId = 0;
    std::string target;  // the request target as sent (logged)
    std::string rawPath; // file requests: the path value as sent, still percent-coded
    std::string path;    // file requests: the decoded UTF-8 path; may be empty
};

// Decides what a request head asks for. The request line is the text before the first "\r\n" (all of it when
// there is none); the method runs to the first space, the target from there to the second space.
HttpRoute RouteRequest(std::string_view head);
