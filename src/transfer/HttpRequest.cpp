#include "transfer/HttpRequest.h"

#include <limits>

#include "transfer/PercentCoding.h"

namespace {

constexpr std::string_view kBlankLine = "\r\n\r\n";

// A decimal offer id: digits only, at least one, no overflow.
bool ParseOfferId(std::string_view text, uint64_t& value) {
    if (text.empty())
        return false;
    constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
    uint64_t number = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        const uint64_t digit = static_cast<uint64_t>(c - '0');
        if (number > (kMax - digit) / 10)
            return false;
        number = number * 10 + digit;
    }
    value = number;
    return true;
}

// The first value of a query parameter "key=value" ("&"-separated); false when the key is absent.
bool QueryValue(std::string_view query, std::string_view key, std::string_view& value) {
    size_t start = 0;
    while (start <= query.size()) {
        size_t end = query.find('&', start);
        std::string_view part =
            query.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (part.size() > key.size() && part.substr(0, key.size()) == key && part[key.size()] == '=') {
            value = part.substr(key.size() + 1);
            return true;
        }
        if (part == key) {
            value = std::string_view();
            return true;
        }
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return false;
}

// Reads the optional "id" of a query into the route; false when one is given but is not a number.
bool ReadOfferId(std::string_view query, HttpRoute& route) {
    std::string_view id;
    if (!QueryValue(query, "id", id))
        return true;
    route.hasOfferId = ParseOfferId(id, route.offerId);
    return route.hasOfferId;
}

HttpRoute RouteManifest(std::string_view query, HttpRoute route) {
    // The only query a manifest request may carry is the offer id.
    if (query.find('&') != std::string_view::npos || !ReadOfferId(query, route) || !route.hasOfferId)
        return route;
    route.kind = HttpRouteKind::Manifest;
    return route;
}

HttpRoute RouteFile(std::string_view query, HttpRoute route) {
    if (!ReadOfferId(query, route))
        return route;
    std::string_view raw;
    if (QueryValue(query, "path", raw)) {
        route.rawPath.assign(raw);
        route.path = PercentDecode(raw);
    }
    route.kind = HttpRouteKind::File;
    return route;
}

} // namespace

HttpRequestHeadReader::State HttpRequestHeadReader::Feed(std::string_view bytes) {
    if (m_state != State::NeedMore)
        return m_state;
    // The blank line may straddle two receives: search from a few bytes before the new ones.
    const size_t searchFrom =
        m_head.size() >= kBlankLine.size() - 1 ? m_head.size() - (kBlankLine.size() - 1) : 0;
    m_head.append(bytes.substr(0, kRequestHeadMaxBytes - m_head.size()));
    const size_t end = m_head.find(kBlankLine, searchFrom);
    if (end != std::string::npos) {
        m_head.resize(end + kBlankLine.size());
        m_state = State::Complete;
    } else if (m_head.size() == kRequestHeadMaxBytes) {
        m_state = State::TooLarge; // the blank line can no longer fit
    }
    return m_state;
}

HttpRoute RouteRequest(std::string_view head) {
    HttpRoute route;
    const size_t lineEnd = head.find("\r\n");
    const std::string_view line = lineEnd == std::string_view::npos ? head : head.substr(0, lineEnd);
    const size_t firstSpace = line.find(' ');
    const size_t secondSpace =
        firstSpace == std::string_view::npos ? firstSpace : line.find(' ', firstSpace + 1);
    if (secondSpace == std::string_view::npos || line.substr(0, firstSpace) != "GET") {
        route.kind = HttpRouteKind::MethodNotAllowed;
        return route;
    }
    const std::string_view target = line.substr(firstSpace + 1, secondSpace - firstSpace - 1);
    route.target.assign(target);
    if (target == "/manifest") {
        route.kind = HttpRouteKind::Manifest;
        return route;
    }
    constexpr std::string_view kManifestQuery = "/manifest?";
    constexpr std::string_view kFileQuery = "/file?";
    if (target.substr(0, kManifestQuery.size()) == kManifestQuery)
        return RouteManifest(target.substr(kManifestQuery.size()), std::move(route));
    if (target.substr(0, kFileQuery.size()) == kFileQuery)
        return RouteFile(target.substr(kFileQuery.size()), std::move(route));
    return route;
}
