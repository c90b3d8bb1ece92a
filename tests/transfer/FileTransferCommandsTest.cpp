#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "transfer/FileTransferCommands.h"

namespace {

HttpBeginPayload SampleBegin() {
    HttpBeginPayload begin;
    begin.transferId = 2600001;
    begin.direction = 1;
    begin.totalBytes = 12345;
    begin.itemCount = 3;
    begin.httpPort = 50123;
    begin.displayName = "report.txt";
    begin.targetPath = "";
    begin.manifestUrl = "http://10.0.0.2:50123/manifest?id=2600001";
    begin.conflictRename = false;
    return begin;
}

TEST(FileTransferPayloadTest, BeginPayloadGolden) {
    EXPECT_EQ(FormatHttpBeginPayload(SampleBegin()), "mode=http_manifest\n"
                                                     "transferId=2600001\n"
                                                     "direction=1\n"
                                                     "totalBytes=12345\n"
                                                     "itemCount=3\n"
                                                     "httpPort=50123\n"
                                                     "displayName=report.txt\n"
                                                     "targetPath=\n"
                                                     "manifestUrl=http://10.0.0.2:50123/manifest?id=2600001\n"
                                                     "conflict=overwrite");
}

TEST(FileTransferPayloadTest, BeginPayloadEndsWithConflictWordAndNoLineEnd) {
    HttpBeginPayload begin = SampleBegin();
    begin.conflictRename = true;
    const std::string text = FormatHttpBeginPayload(begin);
    const std::string tail = "\nconflict=rename";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST(FileTransferPayloadTest, EscapedTextsKeepTenLinesAndReadBack) {
    HttpBeginPayload begin = SampleBegin();
    begin.displayName = "two\nlines";
    begin.targetPath = "C:\\Users\\a\r\nb";
    begin.manifestUrl = "http://h:1/manifest?id=5\nconflict=rename";
    const std::string text = FormatHttpBeginPayload(begin);

    EXPECT_NE(text.find("displayName=two\\nlines\n"), std::string::npos);
    EXPECT_NE(text.find("targetPath=C:\\\\Users\\\\a\\r\\nb\n"), std::string::npos);
    size_t lines = 1;
    for (char c : text)
        lines += c == '\n' ? 1 : 0;
    EXPECT_EQ(lines, 10u);

    EXPECT_EQ(ReadPayloadText(text, "displayName"), begin.displayName);
    EXPECT_EQ(ReadPayloadText(text, "targetPath"), begin.targetPath);
    EXPECT_EQ(ReadPayloadText(text, "manifestUrl"), begin.manifestUrl);
    // A value that looks like a key line does not change the real key.
    EXPECT_EQ(ReadPayloadText(text, "conflict"), "overwrite");
    EXPECT_EQ(ReadPayloadNumber(text, "transferId"), 2600001u);
    EXPECT_EQ(ReadPayloadNumber(text, "httpPort"), 50123u);
}

TEST(FileTransferPayloadTest, ProgressLinesGolden) {
    FileProgressReport report;
    report.transferId = 7;
    report.doneBytes = 100;
    report.totalBytes = 200;
    report.currentIndex = 1;
    report.itemCount = 2;
    report.currentDoneBytes = 40;
    report.currentTotalBytes = 80;
    report.currentPath = "dir/a\\b.txt";
    EXPECT_EQ(FormatFileProgressPayload(report), "transferId=7\n"
                                                 "doneBytes=100\n"
                                                 "totalBytes=200\n"
                                                 "currentIndex=1\n"
                                                 "itemCount=2\n"
                                                 "currentDoneBytes=40\n"
                                                 "currentTotalBytes=80\n"
                                                 "currentPath=dir/a\\\\b.txt\n");
}

TEST(FileTransferPayloadTest, ResultAndCancelLinesGolden) {
    FileResultReport done;
    done.transferId = 9;
    EXPECT_EQ(FormatFileResultPayload(done), "transferId=9\nerrorCode=0\nmessage=\n");

    FileResultReport error;
    error.transferId = 9;
    error.errorCode = -1;
    error.message = "disk full\r\n";
    const std::string text = FormatFileResultPayload(error);
    EXPECT_EQ(text, "transferId=9\nerrorCode=4294967295\nmessage=disk full\\r\\n\n");
    EXPECT_EQ(static_cast<int32_t>(ReadPayloadNumber(text, "errorCode")), -1);

    EXPECT_EQ(FormatFileCancelPayload(9, "user\\cancel"), "transferId=9\nreason=user\\\\cancel\n");
}

struct CommandCase {
    const char* name;
    CommandMessage message;
    uint32_t type;
    const char* commandName;
    uint64_t correlationId;
    std::string payload;
};

class FileTransferCommandTest : public ::testing::TestWithParam<CommandCase> {};

TEST_P(FileTransferCommandTest, TypeNameCorrelationAndPayload) {
    const CommandCase& c = GetParam();
    EXPECT_EQ(c.message.type, c.type);
    EXPECT_EQ(c.message.name, c.commandName);
    EXPECT_EQ(c.message.correlationId, c.correlationId);
    EXPECT_EQ(c.message.PayloadText(), c.payload);
    EXPECT_EQ(c.message.sequence, 0u); // filled in by the bus
}

FileResultReport Result(const char* message) {
    FileResultReport report;
    report.transferId = 5;
    report.errorCode = 3;
    report.message = message;
    return report;
}

INSTANTIATE_TEST_SUITE_P(
    Builders, FileTransferCommandTest,
    ::testing::Values(CommandCase{"begin", MakeHttpBeginCommand(SampleBegin()), 400, "file.http.begin", 0,
                                  FormatHttpBeginPayload(SampleBegin())},
                      CommandCase{"progress", MakeFileProgressCommand(FileProgressReport{}, 77), 403,
                                  "file.progress", 77, FormatFileProgressPayload(FileProgressReport{})},
                      CommandCase{"done", MakeFileDoneCommand(Result("ok"), 78), 402, "file.done", 78,
                                  "transferId=5\nerrorCode=3\nmessage=ok\n"},
                      CommandCase{"cancel", MakeFileCancelCommand(5, "stop", 79), 401, "file.cancel", 79,
                                  "transferId=5\nreason=stop\n"},
                      CommandCase{"error", MakeFileErrorCommand(Result("bad"), 80), 404, "file.error", 80,
                                  "transferId=5\nerrorCode=3\nmessage=bad\n"}),
    [](const ::testing::TestParamInfo<CommandCase>& info) { return std::string(info.param.name); });

struct NumberCase {
    const char* name;
    const char* payload;
    uint64_t expected;
};

class PayloadNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(PayloadNumberTest, Reads) {
    EXPECT_EQ(ReadPayloadNumber(GetParam().payload, "n"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, PayloadNumberTest,
    ::testing::Values(NumberCase{"plain", "n=42\n", 42}, NumberCase{"carriageReturn", "n=42\r\n", 42},
                      NumberCase{"absent", "m=42\n", 0}, NumberCase{"empty", "n=\n", 0},
                      NumberCase{"word", "n=true\n", 0}, NumberCase{"negative", "n=-5\n", 0},
                      NumberCase{"leadingDigits", "n=12abc\n", 12},
                      NumberCase{"largest", "n=18446744073709551615\n", UINT64_MAX},
                      NumberCase{"saturates", "n=18446744073709551616\n", UINT64_MAX},
                      NumberCase{"farPastRange", "n=99999999999999999999999999\n", UINT64_MAX},
                      NumberCase{"onlyAtLineStart", "xn=5\nn=6\n", 6},
                      NumberCase{"insideValue", "a=1\\nn=7\n", 0}),
    [](const ::testing::TestParamInfo<NumberCase>& info) { return std::string(info.param.name); });

TEST(FileTransferPayloadTest, MissingTextKeyIsEmpty) {
    EXPECT_EQ(ReadPayloadText("a=1\n", "message"), "");
    EXPECT_EQ(ReadPayloadText("message=\n", "message"), "");
}

} // namespace
