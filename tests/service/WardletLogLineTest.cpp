#include <gtest/gtest.h>

#include <string>

#include "service/WardletLogLine.h"
#include "support/Utf8Checks.h"

namespace {

const LocalTimeStamp kTime{2026, 3, 4, 5, 6, 7, 8};

TEST(WardletLogLine, FormatsTheLine) {
    EXPECT_EQ(FormatWardletLogLine(kTime, 4242, 0, 0xFFFFFFFF, "worker entry"),
              "2026-03-04 05:06:07.008 pid=4242 processSession=0 activeSession=4294967295 worker entry\r\n");
}

TEST(WardletLogLine, LongMessagesAreCutWithoutSplittingACharacter) {
    const std::string prefix = FormatWardletLogLine(kTime, 1, 1, 1, "");
    const size_t prefixLength = prefix.size() - 2;
    // "\xE2\x82\xAC" (3 bytes) placed across the 2,048-byte limit.
    const std::string message = std::string(kWardletLogMessageLimit - 1, 'a') + "\xE2\x82\xAC" + "tail";
    const std::string line = FormatWardletLogLine(kTime, 1, 1, 1, message);
    EXPECT_EQ(line.substr(prefixLength), std::string(kWardletLogMessageLimit - 1, 'a') + "\r\n");
    EXPECT_TRUE(IsCompleteUtf8(line));

    const std::string exact(kWardletLogMessageLimit, 'b');
    EXPECT_EQ(FormatWardletLogLine(kTime, 1, 1, 1, exact).substr(prefixLength), exact + "\r\n");
}

TEST(WardletLogLine, TruncationDecision) {
    struct Case {
        const char* name;
        uint64_t fileSize;
        uint64_t lineSize;
        bool truncate;
    };
    const Case cases[] = {
        {"empty file", 0, 100, false},
        {"10,485,700 + 61 passes the cap", 10'485'700, 61, true},
        {"10,485,700 + 60 reaches it exactly", 10'485'700, 60, false},
        {"file at the cap, any line", kWardletLogCapBytes, 1, true},
        {"file at the cap, nothing to add", kWardletLogCapBytes, 0, false},
        {"file already above the cap", kWardletLogCapBytes + 1, 0, true},
        {"huge file", UINT64_MAX, 10, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WardletLogMustTruncate(c.fileSize, c.lineSize), c.truncate) << c.name;
}

} // namespace
