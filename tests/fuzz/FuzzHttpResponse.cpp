// Arbitrary bytes as a server's answer, cut into blocks, and as a URL. Checked:
// - the header reader completes only with a header that ends at its first blank line and lies within
//   131,072 bytes, and header plus remainder are exactly the bytes given;
// - a text answer is accepted only with a 200 status and a Content-Length of at most 16 MiB that the body
//   matches exactly;
// - a parsed URL has a host, a port in 1..65535 and a path that starts with "/" and holds no space or
//   control character.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "transfer/HttpReceive.h"
#include "transfer/HttpResponse.h"
#include "transfer/HttpUrl.h"

#include "FuzzChecks.h"

namespace {

// Hands out the input in blocks whose sizes come from the first byte, then reports a close.
class BytesStream final : public HttpClient::IResponseStream {
public:
    BytesStream(std::string_view bytes, size_t step) : m_bytes(bytes), m_step(step) {}
    int Receive(char* buffer, size_t capacity) override {
        size_t n = std::min({capacity, m_step, m_bytes.size()});
        std::memcpy(buffer, m_bytes.data(), n);
        m_bytes.remove_prefix(n);
        return static_cast<int>(n);
    }
    int LastError() override { return 0; }

private:
    std::string_view m_bytes;
    size_t m_step;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const size_t step = 1 + data[0] * 37;
    std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);

    HttpClient::HeaderReader reader;
    std::string fed;
    for (size_t at = 0; at < input.size() && reader.Current() == HttpClient::HeaderReader::State::NeedMore;
         at += step) {
        std::string_view block = input.substr(at, step);
        fed.append(block);
        reader.Add(block);
    }
    if (reader.Current() == HttpClient::HeaderReader::State::Complete) {
        std::string_view header = reader.Header();
        FuzzCheck(header.size() >= 4 && header.substr(header.size() - 4) == "\r\n\r\n",
                  "header without blank line");
        FuzzCheck(header.find("\r\n\r\n") == header.size() - 4,
                  "header does not end at the first blank line");
        FuzzCheck(header.size() <= HttpClient::kMaxHeaderBytes, "header over the limit");
        FuzzCheck(std::string(header) + std::string(reader.Remainder()) == fed, "bytes lost or added");
        HttpClient::ContentLength(header);
    } else if (reader.Current() == HttpClient::HeaderReader::State::TooLarge) {
        FuzzCheck(fed.size() > HttpClient::kMaxHeaderBytes, "refused a header within the limit");
    }

    BytesStream stream(input, step);
    std::string body, error;
    if (HttpClient::ReceiveText(stream, "http://h/m", body, error)) {
        size_t end = input.find("\r\n\r\n");
        FuzzCheck(end != std::string_view::npos, "text without a header");
        std::string_view header = input.substr(0, end + 4);
        FuzzCheck(HttpClient::IsStatusOk(header), "text accepted without status 200");
        auto length = HttpClient::ContentLength(header);
        FuzzCheck(length && *length == body.size() && *length <= kManifestMaxBytes,
                  "text length not the announced one");
        FuzzCheck(input.substr(end + 4, body.size()) == body, "text differs from the bytes sent");
    } else {
        FuzzCheck(!error.empty(), "failure without a reason");
    }

    ParsedUrl url;
    if (HttpClient::ParseUrl(input, url)) {
        FuzzCheck(!url.host.empty(), "url without host");
        FuzzCheck(url.port >= 1 && url.port <= 65535, "port out of range");
        FuzzCheck(!url.path.empty() && url.path[0] == '/', "path not absolute");
        for (unsigned char c : url.path)
            FuzzCheck(c > 0x20 && c != 0x7F, "request-breaking byte in path");
    }
    return 0;
}
