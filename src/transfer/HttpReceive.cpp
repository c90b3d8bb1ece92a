#include "transfer/HttpReceive.h"

#include <algorithm>
#include <vector>

#include "core/Log.h"
#include "core/Utf.h"

namespace HttpClient {

namespace {

// The header's first line, at most 80 bytes, for log lines.
std::string FirstLine(std::string_view header) {
    return std::string(CutUtf8(header.substr(0, header.find("\r\n")), 80));
}

} // namespace

std::string StatusError(std::string_view header) {
    return "http status " + StatusCode(header);
}

bool ReceiveHeader(IResponseStream& stream, HeaderReader& reader, std::string& error) {
    char block[kHeaderBlockBytes];
    for (;;) {
        int n = stream.Receive(block, sizeof block);
        if (n < 1) {
            Log::Write("[HTTP][CLIENT][ERR] recv header failed bytes=%llu n=%d wsa=%d",
                       static_cast<unsigned long long>(reader.BufferedBytes()), n, stream.LastError());
            error = "recv header failed";
            return false;
        }
        HeaderReader::State state = reader.Add(std::string_view(block, static_cast<size_t>(n)));
        if (state == HeaderReader::State::TooLarge) {
            Log::Write("[HTTP][CLIENT][ERR] header too large bytes=%llu",
                       static_cast<unsigned long long>(reader.BufferedBytes()));
            error = "header too large";
            return false;
        }
        if (state == HeaderReader::State::Complete)
            break;
    }
    Log::Write("[HTTP][CLIENT] header ok bytes=%llu remain=%llu firstLine=%s",
               static_cast<unsigned long long>(reader.Header().size()),
               static_cast<unsigned long long>(reader.Remainder().size()),
               FirstLine(reader.Header()).c_str());
    return true;
}

bool ReceiveText(IResponseStream& stream, const std::string& url, std::string& body, std::string& error) {
    body.clear();
    HeaderReader reader;
    if (!ReceiveHeader(stream, reader, error))
        return false;
    std::string_view header = reader.Header();
    if (!IsStatusOk(header)) {
        std::string shown(CutUtf8(header, 160));
        Log::Write("[HTTP][CLIENT][ERR] non-200 text url=%s header=%s", url.c_str(), shown.c_str());
        error = StatusError(header);
        return false;
    }
    std::optional<uint64_t> length = ContentLength(header);
    std::string_view remain = reader.Remainder();
    Log::Write("[HTTP][CLIENT] text contentLength=%llu remain=%llu",
               static_cast<unsigned long long>(length.value_or(0)),
               static_cast<unsigned long long>(remain.size()));
    // The length is checked before anything is held, so a peer cannot make the client buffer without end.
    if (!length) {
        Log::Write("[HTTP][CLIENT][ERR] text without content length url=%s", url.c_str());
        error = "no content length";
        return false;
    }
    if (*length > kManifestMaxBytes) {
        Log::Write("[HTTP][CLIENT][ERR] text too large contentLength=%llu max=%llu url=%s",
                   static_cast<unsigned long long>(*length),
                   static_cast<unsigned long long>(kManifestMaxBytes), url.c_str());
        error = "text too large";
        return false;
    }
    if (remain.size() > *length) {
        Log::Write("[HTTP][CLIENT][ERR] text size mismatch bytes=%llu expected=%llu",
                   static_cast<unsigned long long>(remain.size()), static_cast<unsigned long long>(*length));
        error = "size mismatch";
        return false;
    }
    body.reserve(static_cast<size_t>(*length));
    body.assign(remain);
    std::vector<char> block(kReceiveBlockBytes);
    while (body.size() < *length) {
        size_t want = static_cast<size_t>(std::min<uint64_t>(block.size(), *length - body.size()));
        int n = stream.Receive(block.data(), want);
        if (n < 1) {
            Log::Write("[HTTP][CLIENT][ERR] recv text interrupted bytes=%llu/%llu n=%d wsa=%d",
                       static_cast<unsigned long long>(body.size()), static_cast<unsigned long long>(*length),
                       n, stream.LastError());
            error = "recv text interrupted";
            body.clear();
            return false;
        }
        body.append(block.data(), static_cast<size_t>(n));
    }
    return true;
}

} // namespace HttpClient
