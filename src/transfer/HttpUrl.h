#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The parts of an "http://host[:port][/path]" URL, as the client connects and asks for them.
struct ParsedUrl {
    std::string host;
    int32_t port = 80;
    std::string path = "/";
};

namespace HttpClient {

// Only lower-case "http://" URLs; the port is 1..65535 (80 when none is named) and the path "/" when none
// is given. A URL holding a space or control character is refused, since it would break the request line.
// Failures are logged.
bool ParseUrl(std::string_view url, ParsedUrl& parsed);

// The absolute URL of a manifest item: a server-relative "/..." URL is joined to the manifest's host and
// port; an absolute "http://" URL is used only when it names allowedHost, so a manifest cannot send the
// client to a third machine. False (logged; error "invalid url" or "host not allowed") when it cannot be
// used.
bool ItemUrl(std::string_view manifestUrl, std::string_view itemUrl, std::string_view allowedHost,
             std::string& url, std::string& error);

} // namespace HttpClient
