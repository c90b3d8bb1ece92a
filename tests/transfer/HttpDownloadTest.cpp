#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScriptedResponseStream.h"
#include "TransferTestLog.h"
#include "transfer/HttpDownload.h"

namespace {

// The temporary file and the final path as plain strings, with every step recorded.
class FakeDownloadFile final : public HttpClient::IDownloadFile {
public:
    bool OpenTemp() override {
        steps.push_back("open");
        if (!canOpen)
            return false;
        tempExists = true;
        temp.clear();
        return true;
    }
    bool Write(const char* data, size_t size) override {
        steps.push_back("write " + std::to_string(size));
        if (failWriteAt >= 0 && writes++ == failWriteAt)
            return false;
        temp.append(data, size);
        return true;
    }
    void CloseTemp() override { steps.push_back("close"); }
    int RemoveTemp() override {
        steps.push_back("remove");
        tempExists = false;
        return 0;
    }
    bool MoveIntoPlace(int& error) override {
        steps.push_back("move");
        if (!canMove) {
            error = 5;
            return false;
        }
        finalFile = temp;
        finalExists = true;
        tempExists = false;
        return true;
    }

    bool canOpen = true, canMove = true;
    int failWriteAt = -1, writes = 0;
    bool tempExists = false, finalExists = false;
    std::string temp, finalFile;
    std::vector<std::string> steps;
};

std::string Header(const std::string& lengthLine) {
    return "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n" + lengthLine +
           "Connection: close\r\n\r\n";
}

std::string Length(size_t n) {
    return "Content-Length: " + std::to_string(n) + "\r\n";
}

class HttpDownloadTest : public TransferLogTest {
protected:
    bool Run(std::deque<std::string> blocks, int last, uint64_t expected,
             HttpClient::ProgressFn progress = {}) {
        ScriptedResponseStream stream(std::move(blocks), last);
        HttpClient::FileDownloadRequest request{"http://10.0.0.2:80/file?path=x", "D:\\in\\x.bin.tsly_part",
                                                "D:\\in\\x.bin", expected};
        bool ok = HttpClient::ReceiveFile(stream, file, request, progress, written, error);
        receiveCalls = stream.calls;
        largestAsk = stream.largestAsk;
        return ok;
    }
    // Whatever failed, nothing is left behind and the final path is untouched.
    void ExpectNothingLeft() {
        EXPECT_FALSE(file.tempExists);
        EXPECT_FALSE(file.finalExists);
    }

    FakeDownloadFile file;
    uint64_t written = 0;
    std::string error;
    int receiveCalls = 0;
    size_t largestAsk = 0;
};

TEST_F(HttpDownloadTest, HeaderRemainderIsWrittenFirstThenTheRest) {
    std::string body(100000, 'x');
    body[0] = 'A';
    body.back() = 'Z';
    ASSERT_TRUE(Run({Header(Length(body.size())) + body.substr(0, 10), body.substr(10)}, 0, body.size()))
        << error;
    EXPECT_EQ(file.finalFile, body);
    EXPECT_EQ(written, body.size());
    EXPECT_EQ(file.steps,
              (std::vector<std::string>{"open", "write 10", "write 65536", "write 34454", "close", "move"}));
    EXPECT_FALSE(file.tempExists);
    EXPECT_EQ(Lines().back(), "[HTTP][DONE] bytes=100000 expected=100000 contentLength=100000 "
                              "temp=D:\\in\\x.bin.tsly_part final=D:\\in\\x.bin");
}

TEST_F(HttpDownloadTest, NeverAsksForMoreThanTheContentLength) {
    ASSERT_TRUE(Run({Header(Length(3)), "abc", "trailing bytes the client must not read"}, 0, 3)) << error;
    EXPECT_EQ(file.finalFile, "abc");
    EXPECT_LE(largestAsk, HttpClient::kHeaderBlockBytes);
    EXPECT_EQ(receiveCalls, 2) << "one header read, one body read of 3 bytes";
}

TEST_F(HttpDownloadTest, ZeroByteFileCompletesWithoutReadingTheBody) {
    ASSERT_TRUE(Run({Header(Length(0))}, -1, 0)) << error;
    EXPECT_EQ(receiveCalls, 1) << "only the header";
    EXPECT_TRUE(file.finalExists);
    EXPECT_EQ(file.finalFile, "");
    EXPECT_EQ(file.steps, (std::vector<std::string>{"open", "close", "move"}));
    EXPECT_EQ(
        CountLogMessages("[HTTP][ZERO] empty file completed without recv url=http://10.0.0.2:80/file?path=x"),
        1u);
}

TEST_F(HttpDownloadTest, WithoutLengthBodyRunsToCloseAndMustMatchTheManifest) {
    ASSERT_TRUE(Run({Header("") + "hello ", "world"}, 0, 11)) << error;
    EXPECT_EQ(file.finalFile, "hello world");
    EXPECT_EQ(CountLogMessages("[ERR]"), 0u) << "a close ends such a body normally";
}

TEST_F(HttpDownloadTest, ProgressReportsEveryBlockAgainstTheGoal) {
    std::vector<std::pair<uint64_t, uint64_t>> calls;
    ASSERT_TRUE(Run({Header(Length(8)) + "ab", "cdef", "gh"}, 0, 8, [&](uint64_t w, uint64_t e) {
        calls.emplace_back(w, e);
        return true;
    }));
    EXPECT_EQ(calls, (std::vector<std::pair<uint64_t, uint64_t>>{{2, 8}, {6, 8}, {8, 8}}));
}

TEST_F(HttpDownloadTest, CancelAfterFirstBlockLeavesNothing) {
    int calls = 0;
    EXPECT_FALSE(
        Run({Header(Length(8)), "abcd", "efgh"}, 0, 8, [&](uint64_t, uint64_t) { return ++calls < 1; }));
    EXPECT_EQ(error, "canceled");
    EXPECT_EQ(calls, 1);
    ExpectNothingLeft();
    EXPECT_EQ(file.steps, (std::vector<std::string>{"open", "write 4", "close", "remove"}));
    EXPECT_EQ(CountLogMessages("[HTTP][CLIENT][CANCEL] progress callback requested cancel written=4/8 "
                               "path=D:\\in\\x.bin"),
              1u);
}

struct FailCase {
    const char* name;
    std::deque<std::string> blocks;
    int last;
    uint64_t expected;
    const char* error;
    bool opened;      // whether the temporary file was created at all
    const char* line; // a line the failure must log
};

class HttpDownloadFailTest : public HttpDownloadTest, public ::testing::WithParamInterface<FailCase> {};

TEST_P(HttpDownloadFailTest, LeavesNothingBehind) {
    const FailCase& c = GetParam();
    EXPECT_FALSE(Run(c.blocks, c.last, c.expected));
    EXPECT_EQ(error, c.error);
    ExpectNothingLeft();
    EXPECT_EQ(!file.steps.empty() && file.steps.front() == "open", c.opened);
    if (c.opened)
        EXPECT_EQ(file.steps.back(), "remove");
    EXPECT_EQ(CountLogMessages(c.line), 1u) << c.line;
}

INSTANTIATE_TEST_SUITE_P(
    Table, HttpDownloadFailTest,
    ::testing::Values(
        FailCase{"NotFound",
                 {"HTTP/1.1 404 Not Found\r\nContent-Length: 14\r\n\r\nfile not found"},
                 0,
                 5,
                 "http status 404",
                 false,
                 "[HTTP][CLIENT][ERR] non-200 file url=http://10.0.0.2:80/file?path=x header=HTTP/1.1 404"},
        FailCase{"LengthDiffersFromManifest",
                 {Header(Length(10)) + "0123456789"},
                 0,
                 12,
                 "size mismatch",
                 false,
                 "[HTTP][CLIENT][ERR] header size mismatch contentLength=10 expected=12 "
                 "url=http://10.0.0.2:80/file?path=x"},
        FailCase{"HugeLength",
                 {Header("Content-Length: 18446744073709551615\r\n")},
                 0,
                 5,
                 "size mismatch",
                 false,
                 "[HTTP][CLIENT][ERR] header size mismatch contentLength=18446744073709551615 expected=5"},
        FailCase{"ShortBodyThenClose",
                 {Header(Length(10)) + "abc"},
                 0,
                 10,
                 "recv file interrupted",
                 true,
                 "[HTTP][CLIENT][ERR] recv file interrupted written=3/10 expectedSize=10 n=0 wsa=0"},
        FailCase{"ShortBodyThenTimeOut",
                 {Header(Length(10)) + "abc"},
                 -1,
                 10,
                 "recv file interrupted",
                 true,
                 "[HTTP][CLIENT][ERR] recv file interrupted written=3/10 expectedSize=10 n=-1 wsa=10060"},
        FailCase{"WithoutLengthShortOfManifest",
                 {Header("") + "abc"},
                 0,
                 10,
                 "size mismatch",
                 true,
                 "[HTTP][FAIL] download size mismatch bytes=3 expected=10 contentLength=10"},
        FailCase{"WithoutLengthLongerThanManifest",
                 {Header("") + "abc", "defg"},
                 0,
                 5,
                 "size mismatch",
                 true,
                 "[HTTP][CLIENT][ERR] body longer than expected written=3 more=3 goal=5"},
        FailCase{"WithoutLengthTimeOut",
                 {Header("") + "abc"},
                 -1,
                 10,
                 "recv file interrupted",
                 true,
                 "[HTTP][CLIENT][ERR] recv file interrupted written=3/10"},
        FailCase{"RemainderLongerThanLength",
                 {Header(Length(2)) + "abc"},
                 0,
                 0,
                 "size mismatch",
                 true,
                 "[HTTP][CLIENT][ERR] body longer than expected written=0 more=3 goal=2"},
        FailCase{"StalledBeforeHeader",
                 {},
                 -1,
                 5,
                 "recv header failed",
                 false,
                 "[HTTP][CLIENT][ERR] recv header failed bytes=0 n=-1 wsa=10060"}),
    [](const ::testing::TestParamInfo<FailCase>& info) { return std::string(info.param.name); });

TEST_F(HttpDownloadTest, OpenFailureTouchesNothing) {
    file.canOpen = false;
    EXPECT_FALSE(Run({Header(Length(3)) + "abc"}, 0, 3));
    EXPECT_EQ(error, "open temp failed");
    EXPECT_EQ(file.steps, std::vector<std::string>{"open"});
    EXPECT_EQ(CountLogMessages("[HTTP][CLIENT][ERR] open temp output failed path=D:\\in\\x.bin.tsly_part"),
              1u);
}

TEST_F(HttpDownloadTest, WriteFailureOfTheRemainderOrALaterBlockRemovesTheTemp) {
    file.failWriteAt = 0;
    EXPECT_FALSE(Run({Header(Length(6)) + "abc", "def"}, 0, 6));
    EXPECT_EQ(error, "write failed");
    ExpectNothingLeft();
    EXPECT_EQ(CountLogMessages("[HTTP][CLIENT][ERR] write initial remain failed bytes=3"), 1u);

    file = FakeDownloadFile();
    file.failWriteAt = 1;
    EXPECT_FALSE(Run({Header(Length(6)) + "abc", "def"}, 0, 6));
    EXPECT_EQ(error, "write failed");
    ExpectNothingLeft();
    EXPECT_EQ(CountLogMessages("[HTTP][CLIENT][ERR] write failed written=3 n=3"), 1u);
}

TEST_F(HttpDownloadTest, FailedMoveRemovesTheTempAndLeavesTheFinalAlone) {
    file.canMove = false;
    EXPECT_FALSE(Run({Header(Length(3)) + "abc"}, 0, 3));
    EXPECT_EQ(error, "rename temp failed");
    ExpectNothingLeft();
    EXPECT_EQ(file.steps, (std::vector<std::string>{"open", "write 3", "close", "move", "remove"}));
    EXPECT_EQ(CountLogMessages("[HTTP][CLIENT][ERR] rename temp failed temp=D:\\in\\x.bin.tsly_part "
                               "final=D:\\in\\x.bin ec=5"),
              1u);
}

} // namespace
