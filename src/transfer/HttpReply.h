#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The answers of the HTTP file server. Every answer closes the connection and is never cached:
//   "HTTP/1.1 <code> <reason>\r\nContent-Type: <type>\r\nContent-Length: <n>\r\nCache-Control: no-store\r\n"
//   "Connection: close\r\n\r\n" and the body.

// A whole answer with its body (the manifest, or a text/plain error body).
std::string FormatSmallResponse(int code, std::string_view reason, std::string_view contentType,
                                std::string_view body);
// The header of a file answer (type application/octet-stream); the file's bytes follow.
std::string FormatFileResponseHeader(uint64_t contentLength);

// How much of a file is sent, from the size it had in the offer and the size it has now. A file is sent as
// large as it was offered, never larger, so the receiver's expected size still holds when the source grew.
struct FileSendDecision {
    bool sourceEmptied = false; // offered with bytes, now empty: answered 409 instead
    uint64_t bytes = 0;         // the Content-Length to send
    bool changed = false;       // the sizes differ
    bool grew = false;          // larger now than offered (bytes is the offered size)
};
FileSendDecision DecideFileSend(uint64_t manifestSize, uint64_t actualSize);
