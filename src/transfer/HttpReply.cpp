#include "transfer/HttpReply.h"

namespace {

std::string Header(int code, std::string_view reason, std::string_view contentType, uint64_t contentLength) {
    std::string out = "HTTP/1.1 ";
    out += std::to_string(code);
    out += ' ';
    out.append(reason);
    out += "\r\nContent-Type: ";
    out.append(contentType);
    out += "\r\nContent-Length: ";
    out += std::to_string(contentLength);
    out += "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n";
    return out;
}

} // namespace

std::string FormatSmallResponse(int code, std::string_view reason, std::string_view contentType,
                                std::string_view body) {
    std::string out = Header(code, reason, contentType, body.size());
    out.append(body);
    return out;
}

std::string FormatFileResponseHeader(uint64_t contentLength) {
    return Header(200, "OK", "application/octet-stream", contentLength);
}

FileSendDecision DecideFileSend(uint64_t manifestSize, uint64_t actualSize) {
    FileSendDecision decision;
    decision.changed = actualSize != manifestSize;
    if (actualSize == 0 && manifestSize != 0) {
        decision.sourceEmptied = true;
        return decision;
    }
    // An offered size of 0 says nothing about the content (a link, a file still being written): send what is
    // there now.
    if (manifestSize != 0 && actualSize > manifestSize) {
        decision.grew = true;
        decision.bytes = manifestSize;
        return decision;
    }
    decision.bytes = actualSize;
    return decision;
}
