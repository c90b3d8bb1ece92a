#include <gtest/gtest.h>

#include <string>

#include "link/ControlMessageText.h"

namespace {

TEST(ControlMessageText, PartsAreCutLikeSnprintfButNeverInsideACharacter) {
    // "中" is three bytes: with 5 bytes of room after "ab", only one of two fits.
    BoundedText<8> text;
    text.Append("ab");
    text.Append("%s", "\xE4\xB8\xAD\xE4\xB8\xAD");
    EXPECT_EQ(text.View(), "ab\xE4\xB8\xAD");
    text.Append("xyz"); // the two bytes left take part of the next part
    EXPECT_EQ(text.View(), "ab\xE4\xB8\xAD"
                           "xy");
    text.Append("more");
    EXPECT_EQ(text.Length(), 7u);
    EXPECT_EQ(std::string(text.CStr()), std::string(text.View()));
}

TEST(ControlMessageText, AppendBoundedKeepsTheBufferTerminated) {
    char buffer[6];
    size_t length = 0;
    auto append = [&](const char* format, ...) {
        va_list args;
        va_start(args, format);
        length = AppendBoundedV(buffer, sizeof buffer, length, format, args);
        va_end(args);
    };
    append("%d", 1234);
    append("%s", "5678");
    EXPECT_EQ(length, 5u);
    EXPECT_STREQ(buffer, "12345");
    append("x");
    EXPECT_EQ(length, 5u);
    EXPECT_STREQ(buffer, "12345");
}

} // namespace
