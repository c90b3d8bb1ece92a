#include <gtest/gtest.h>

#include <string>

#include "transfer/HttpReply.h"

namespace {

TEST(HttpReplyTest, SmallResponseGolden) {
    EXPECT_EQ(FormatSmallResponse(404, "Not Found", "text/plain", "file not found"),
              "HTTP/1.1 404 Not Found\r\n"
              "Content-Type: text/plain\r\n"
              "Content-Length: 14\r\n"
              "Cache-Control: no-store\r\n"
              "Connection: close\r\n\r\n"
              "file not found");
}

TEST(HttpReplyTest, FileHeaderGolden) {
    EXPECT_EQ(FormatFileResponseHeader(5000000000ull), "HTTP/1.1 200 OK\r\n"
                                                       "Content-Type: application/octet-stream\r\n"
                                                       "Content-Length: 5000000000\r\n"
                                                       "Cache-Control: no-store\r\n"
                                                       "Connection: close\r\n\r\n");
}

struct SendCase {
    const char* name;
    uint64_t manifest, actual;
    bool emptied;
    uint64_t bytes;
    bool changed, grew;
};

class FileSendDecisionTest : public ::testing::TestWithParam<SendCase> {};

TEST_P(FileSendDecisionTest, Decides) {
    const SendCase& c = GetParam();
    const FileSendDecision d = DecideFileSend(c.manifest, c.actual);
    EXPECT_EQ(d.sourceEmptied, c.emptied);
    if (!c.emptied)
        EXPECT_EQ(d.bytes, c.bytes);
    EXPECT_EQ(d.changed, c.changed);
    EXPECT_EQ(d.grew, c.grew);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FileSendDecisionTest,
    ::testing::Values(SendCase{"unchanged", 100, 100, false, 100, false, false},
                      SendCase{"grewSendsOffered", 100, 150, false, 100, true, true},
                      SendCase{"shrankSendsActual", 100, 60, false, 60, true, false},
                      SendCase{"emptiedConflict", 100, 0, true, 0, true, false},
                      SendCase{"offeredEmptyStaysEmpty", 0, 0, false, 0, false, false},
                      SendCase{"offeredEmptySendsActual", 0, 70, false, 70, true, false}),
    [](const ::testing::TestParamInfo<SendCase>& info) { return std::string(info.param.name); });

} // namespace
