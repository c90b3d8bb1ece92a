#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "transfer/HttpResponse.h"
#include "transfer/ManifestJson.h"

// Reading one HTTP answer from the connection a request went out on. The socket side is behind
// IResponseStream so that every rule here runs (and is tested) without a network.
namespace HttpClient {

constexpr size_t kHeaderBlockBytes = 8192;
constexpr size_t kReceiveBlockBytes = 65536;

class IResponseStream {
public:
    virtual ~IResponseStream() = default;
    // Up to capacity bytes: their count, 0 when the peer closed, negative on an error or a time-out.
    virtual int Receive(char* buffer, size_t capacity) = 0;
    // The error code of the last failed Receive, for the log.
    virtual int LastError() = 0;
};

// Reads until the header's blank line; false (logged, error set) on a receive failure or a header over
// kMaxHeaderBytes.
bool ReceiveHeader(IResponseStream& stream, HeaderReader& reader, std::string& error);

// A whole 200 answer as text (the manifest, so at most kManifestMaxBytes is held in memory). A Content-Length
// is required and within that cap, and the body must have exactly that length. error: a short reason when
// false.
bool ReceiveText(IResponseStream& stream, const std::string& url, std::string& body, std::string& error);

// "http status 404" for an answer that is not 200.
std::string StatusError(std::string_view header);

} // namespace HttpClient
