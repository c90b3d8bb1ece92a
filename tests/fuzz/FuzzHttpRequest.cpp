// The HTTP file server's request side against any bytes a peer may send:
// - the head reader gives the same result however the bytes are split into receives, never holds more than
//   the limit, and a complete head ends at its first blank line;
// - the router never reads outside the head, and what it decodes is what the percent coding gives back;
// - percent coding round-trips for any bytes.
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzChecks.h"
#include "transfer/HttpRequest.h"
#include "transfer/PercentCoding.h"

namespace {

using State = HttpRequestHeadReader::State;

void CheckRoute(const HttpRoute& route) {
    switch (route.kind) {
    case HttpRouteKind::File:
        FuzzCheck(route.path == PercentDecode(route.rawPath), "file path is not the decoded raw path");
        FuzzCheck(route.target.rfind("/file?", 0) == 0, "file route without its target");
        break;
    case HttpRouteKind::Manifest:
        FuzzCheck(route.rawPath.empty() && route.path.empty(), "manifest route with a path");
        if (route.hasOfferId) {
            const std::string_view prefix = "/manifest?id=";
            const std::string_view target = route.target;
            FuzzCheck(target.substr(0, prefix.size()) == prefix && target.size() > prefix.size() &&
                          target.find_first_not_of("0123456789", prefix.size()) == std::string_view::npos,
                      "manifest route for another target");
        } else {
            FuzzCheck(route.target == "/manifest", "manifest route for another target");
        }
        break;
    case HttpRouteKind::NotFound:
    case HttpRouteKind::MethodNotAllowed:
        FuzzCheck(route.path.empty(), "refused route with a path");
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const size_t piece = 1 + data[0] % 64;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    HttpRequestHeadReader whole;
    const State wholeState = whole.Feed(bytes);
    HttpRequestHeadReader split;
    State splitState = State::NeedMore;
    for (size_t at = 0; at < bytes.size(); at += piece)
        splitState = split.Feed(bytes.substr(at, piece));
    if (bytes.empty())
        splitState = split.Feed(bytes);
    FuzzCheck(wholeState == splitState, "state depends on how the bytes were split");
    FuzzCheck(whole.Head() == split.Head(), "head depends on how the bytes were split");
    FuzzCheck(whole.Head().size() <= kRequestHeadMaxBytes, "head larger than the limit");
    if (wholeState == State::Complete) {
        const std::string& head = whole.Head();
        FuzzCheck(head.size() >= 4 && head.compare(head.size() - 4, 4, "\r\n\r\n") == 0,
                  "head not ended by a blank line");
        FuzzCheck(head.find("\r\n\r\n") == head.size() - 4, "head runs past its first blank line");
    }

    CheckRoute(RouteRequest(bytes));
    CheckRoute(RouteRequest(whole.Head()));

    FuzzCheck(PercentDecode(PercentEncode(bytes)) == bytes, "percent coding does not round-trip");
    FuzzCheck(PercentDecode(bytes).size() <= bytes.size(), "percent decoding grew the text");
    return 0;
}
