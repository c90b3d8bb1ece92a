#include "transfer/HttpUrl.h"

#include <string>

#include "core/Log.h"

namespace HttpClient {

namespace {

constexpr std::string_view kScheme = "http://";

bool HasUnsafeByte(std::string_view text) {
    for (unsigned char c : text)
        if (c <= 0x20 || c == 0x7F)
            return true;
    return false;
}

// Decimal digits from the start, like atoi; stops counting once past any valid port.
int32_t LeadingPort(std::string_view text) {
    int32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c - '0');
        if (value > 65535)
            return value;
    }
    return value;
}

} // namespace

bool ParseUrl(std::string_view url, ParsedUrl& parsed) {
    const std::string text(url);
    if (url.substr(0, kScheme.size()) != kScheme || HasUnsafeByte(url)) {
        Log::Write("[HTTP][CLIENT][ERR] invalid url=%s", text.c_str());
        return false;
    }
    std::string_view rest = url.substr(kScheme.size());
    size_t slash = rest.find('/');
    std::string_view hostPort = rest.substr(0, slash);
    ParsedUrl result;
    result.path = slash == std::string_view::npos ? std::string("/") : std::string(rest.substr(slash));
    size_t colon = hostPort.rfind(':');
    if (colon == std::string_view::npos) {
        result.host = std::string(hostPort);
        result.port = 80;
    } else {
        result.host = std::string(hostPort.substr(0, colon));
        result.port = LeadingPort(hostPort.substr(colon + 1));
    }
    if (result.host.empty() || result.port <= 0 || result.port > 65535) {
        Log::Write("[HTTP][CLIENT][ERR] parse url failed url=%s hostPort=%s", text.c_str(),
                   std::string(hostPort).c_str());
        return false;
    }
    parsed = std::move(result);
    return true;
}

bool ItemUrl(std::string_view manifestUrl, std::string_view itemUrl, std::string_view allowedHost,
             std::string& url, std::string& error) {
    if (itemUrl.substr(0, kScheme.size()) == kScheme) {
        ParsedUrl item;
        if (!ParseUrl(itemUrl, item)) {
            error = "invalid url";
            return false;
        }
        if (item.host != allowedHost) {
            Log::Write("[HTTP][CLIENT][ERR] host not allowed host=%s allowed=%s", item.host.c_str(),
                       std::string(allowedHost).c_str());
            error = "host not allowed";
            return false;
        }
        url = std::string(itemUrl);
        return true;
    }
    ParsedUrl manifest;
    if (itemUrl.empty() || itemUrl[0] != '/' || !ParseUrl(manifestUrl, manifest)) {
        Log::Write("[HTTP][CLIENT][ERR] invalid item url=%s manifest=%s", std::string(itemUrl).c_str(),
                   std::string(manifestUrl).c_str());
        error = "invalid url";
        return false;
    }
    url = std::string(kScheme) + manifest.host + ":" + std::to_string(manifest.port) + std::string(itemUrl);
    return true;
}

} // namespace HttpClient
