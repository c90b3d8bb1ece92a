#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "ScriptedResponseStream.h"
#include "TransferTestLog.h"
#include "transfer/HttpReceive.h"
#include "transfer/HttpResponse.h"

namespace {

using HttpClient::HeaderReader;

TEST(HttpHeaderReaderTest, BlankLineSplitAcrossBlocksCompletesWithBodyRemainder) {
    HeaderReader reader;
    EXPECT_EQ(reader.Add("HTTP/1.1 200 OK\r\nContent-Length: 5\r"), HeaderReader::State::NeedMore);
    EXPECT_EQ(reader.Add("\n\r"), HeaderReader::State::NeedMore);
    EXPECT_EQ(reader.Add("\nhel"), HeaderReader::State::Complete);
    EXPECT_EQ(reader.Header(), "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n");
    EXPECT_EQ(reader.Remainder(), "hel");
    EXPECT_EQ(reader.Add("lo"), HeaderReader::State::Complete) << "later bytes are the caller's";
    EXPECT_EQ(reader.Remainder(), "hel");
}

TEST(HttpHeaderReaderTest, OnlyTheFirstBlankLineEndsTheHeader) {
    HeaderReader reader;
    ASSERT_EQ(reader.Add("HTTP/1.1 200 OK\r\n\r\nbody\r\n\r\nmore"), HeaderReader::State::Complete);
    EXPECT_EQ(reader.Header(), "HTTP/1.1 200 OK\r\n\r\n");
    EXPECT_EQ(reader.Remainder(), "body\r\n\r\nmore");
}

TEST(HttpHeaderReaderTest, LimitIs131072Bytes) {
    const std::string start = "HTTP/1.1 200 OK\r\nX: ";
    HeaderReader fits;
    EXPECT_EQ(fits.Add(start + std::string(HttpClient::kMaxHeaderBytes - start.size() - 4, 'a') + "\r\n\r\n"),
              HeaderReader::State::Complete);

    HeaderReader atLimit;
    EXPECT_EQ(atLimit.Add(std::string(HttpClient::kMaxHeaderBytes, 'a')), HeaderReader::State::NeedMore);
    EXPECT_EQ(atLimit.Add("a"), HeaderReader::State::TooLarge) << "131,073 bytes without a blank line";

    HeaderReader blankLinePastLimit;
    EXPECT_EQ(blankLinePastLimit.Add(std::string(HttpClient::kMaxHeaderBytes - 2, 'a') + "\r\n\r\n"),
              HeaderReader::State::TooLarge);
}

struct StatusCase {
    const char* name;
    const char* header;
    bool ok;
    const char* code;
};

class HttpStatusTest : public ::testing::TestWithParam<StatusCase> {};

TEST_P(HttpStatusTest, Accepted) {
    EXPECT_EQ(HttpClient::IsStatusOk(GetParam().header), GetParam().ok);
    EXPECT_EQ(HttpClient::StatusCode(GetParam().header), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HttpStatusTest,
    ::testing::Values(StatusCase{"Http11", "HTTP/1.1 200 OK\r\n\r\n", true, "200"},
                      StatusCase{"Http10", "HTTP/1.0 200 OK\r\n\r\n", true, "200"},
                      StatusCase{"NoReason", "HTTP/1.1 200\r\n\r\n", true, "200"},
                      StatusCase{"NotFound", "HTTP/1.1 404 Not Found\r\n\r\n", false, "404"},
                      StatusCase{"LongerCode", "HTTP/1.1 2000 X\r\n\r\n", false, "200"},
                      StatusCase{"Http2", "HTTP/2 200 OK\r\n\r\n", false, "???"},
                      StatusCase{"LowerCase", "http/1.1 200 OK\r\n\r\n", false, "???"}),
    [](const ::testing::TestParamInfo<StatusCase>& info) { return std::string(info.param.name); });

struct LengthCase {
    const char* name;
    const char* header;
    std::optional<uint64_t> length;
};

class HttpContentLengthTest : public ::testing::TestWithParam<LengthCase> {};

TEST_P(HttpContentLengthTest, Value) {
    EXPECT_EQ(HttpClient::ContentLength(GetParam().header), GetParam().length);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HttpContentLengthTest,
    ::testing::Values(
        LengthCase{"Plain", "HTTP/1.1 200 OK\r\nContent-Length: 12\r\n\r\n", 12},
        LengthCase{"AnyCaseTabs", "HTTP/1.1 200 OK\r\ncontent-LENGTH:\t 7\r\n\r\n", 7},
        LengthCase{"Zero", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", 0},
        LengthCase{"DigitsUpToNonDigit", "HTTP/1.1 200 OK\r\nContent-Length: 12abc\r\n\r\n", 12},
        LengthCase{"Absent", "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n", std::nullopt},
        LengthCase{"NoDigits", "HTTP/1.1 200 OK\r\nContent-Length: x\r\n\r\n", std::nullopt},
        LengthCase{"Negative", "HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\n", std::nullopt},
        LengthCase{"InsideAnotherValue", "HTTP/1.1 200 OK\r\nX-Note: content-length: 5\r\n\r\n",
                   std::nullopt},
        LengthCase{"Max64", "HTTP/1.1 200 OK\r\nContent-Length: 18446744073709551615\r\n\r\n",
                   std::numeric_limits<uint64_t>::max()},
        LengthCase{"Overflow", "HTTP/1.1 200 OK\r\nContent-Length: 18446744073709551616\r\n\r\n",
                   std::numeric_limits<uint64_t>::max()},
        LengthCase{"FarOverflow", "HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999999999\r\n\r\n",
                   std::numeric_limits<uint64_t>::max()}),
    [](const ::testing::TestParamInfo<LengthCase>& info) { return std::string(info.param.name); });

TEST(HttpReceiveTextTest, BodyArrivesWithHeaderAndAfterIt) {
    ScriptedResponseStream stream({"HTTP/1.1 200 OK\r\nContent-Length: 11\r\n\r\nhello", " world"}, 0);
    std::string body, error;
    ASSERT_TRUE(HttpClient::ReceiveText(stream, "http://h/m", body, error)) << error;
    EXPECT_EQ(body, "hello world");
}

struct TextFailCase {
    const char* name;
    std::deque<std::string> blocks;
    int last;
    const char* error;
    const char* line; // the last line logged
};

class HttpReceiveTextFailTest : public TransferLogTest, public ::testing::WithParamInterface<TextFailCase> {};

TEST_P(HttpReceiveTextFailTest, Refused) {
    const TextFailCase& c = GetParam();
    ScriptedResponseStream stream(c.blocks, c.last);
    std::string body = "old", error;
    EXPECT_FALSE(HttpClient::ReceiveText(stream, "http://h/m", body, error));
    EXPECT_EQ(error, c.error);
    EXPECT_TRUE(body.empty());
    ASSERT_FALSE(Lines().empty());
    EXPECT_EQ(Lines().back(), c.line);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HttpReceiveTextFailTest,
    ::testing::Values(
        TextFailCase{"NoContentLength",
                     {"HTTP/1.1 200 OK\r\n\r\n{\"items\":[]}"},
                     0,
                     "no content length",
                     "[HTTP][CLIENT][ERR] text without content length url=http://h/m"},
        TextFailCase{"LargerThan16MiB",
                     {"HTTP/1.1 200 OK\r\nContent-Length: 16777217\r\n\r\n"},
                     0,
                     "text too large",
                     "[HTTP][CLIENT][ERR] text too large contentLength=16777217 max=16777216 url=http://h/m"},
        TextFailCase{"ShortBody",
                     {"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc"},
                     0,
                     "recv text interrupted",
                     "[HTTP][CLIENT][ERR] recv text interrupted bytes=3/10 n=0 wsa=0"},
        TextFailCase{"TimedOut",
                     {"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc"},
                     -1,
                     "recv text interrupted",
                     "[HTTP][CLIENT][ERR] recv text interrupted bytes=3/10 n=-1 wsa=10060"},
        TextFailCase{"LongerThanLength",
                     {"HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nabc"},
                     0,
                     "size mismatch",
                     "[HTTP][CLIENT][ERR] text size mismatch bytes=3 expected=2"},
        TextFailCase{"NotFound",
                     {"HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found"},
                     0,
                     "http status 404",
                     "[HTTP][CLIENT][ERR] non-200 text url=http://h/m header=HTTP/1.1 404 Not Found\\r\\n"
                     "Content-Length: 9\\r\\n\\r\\n"},
        TextFailCase{"NoHeaderEnd",
                     {"HTTP/1.1 200 OK\r\n"},
                     0,
                     "recv header failed",
                     "[HTTP][CLIENT][ERR] recv header failed bytes=17 n=0 wsa=0"},
        TextFailCase{"HeaderTooLarge",
                     {std::string(HttpClient::kMaxHeaderBytes + 1, 'a')},
                     0,
                     "header too large",
                     "[HTTP][CLIENT][ERR] header too large bytes=131073"}),
    [](const ::testing::TestParamInfo<TextFailCase>& info) { return std::string(info.param.name); });

} // namespace
